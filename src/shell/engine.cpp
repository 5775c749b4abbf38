#include "shell/engine.h"

#include <ctime>
#include <iostream>

#include "core/sjis.h"
#include "platform/audio_device.h"
#include "platform/clock.h"
#include "platform/host.h"
#include "platform/settings_store.h"

namespace veskar {

Engine::Engine(Platform platform, EngineOptions opts)
    : host(platform.host), clock(platform.clock), settingsStore(platform.settingsStore),
      audio(platform.audio), fonts(platform.fonts), movies(platform.movies), options(std::move(opts)),
      archives(options.gameDir), vars(*this), interp(*this), scripts(*this), frameTimer(clock, host),
      scene(*this), screen(*this), glyphs(*this), window(*this), layout(*this) {}

Engine::~Engine() = default;

void Engine::FormCreate() {
    run.QuitRequested = false;
    runStartupSequence();
    host.setCaption(definition.TITLE);
}

void Engine::showGameDataError() {
    host.messageBox(sjisText("ゲームデータを読み込めません。"), "Error!", MessageIcon::Error,
                    MessageButtons::Ok);
    run.QuitRequested = true;
    gameDataMissing_ = true;
}

void Engine::runStartupSequence() {
    random.seed(options.seed ? *options.seed : static_cast<std::uint32_t>(std::time(nullptr)));
    for (int i = 0; i < 200; ++i)
        vars.S(i) = 0;
    run.HasWaveOut = audio.hasOutput();

    if (!archives.scriptArchiveExists()) {
        showGameDataError();
        // Nothing else can be read; the first pass closes the window.
        run.StartPending = true;
        return;
    }

    archives.LoadScriptIndexes();
    if (!readDefinition()) {
        // The definition could not be read; the game must not start with a
        // partly read one.
        run.QuitRequested = true;
        gameDataMissing_ = true;
        run.StartPending = true;
        return;
    }

    readAllSettings();

    pictures.createScreenPictures();
    host.windowPicture().fill(0);
    host.present();

    archives.OpenArchives(definition.archives, settings.CDDir);
    if (!archives.firstPictureArchiveExists()) showGameDataError();

    pictures.loadSystemPictures(definition);
    glyphs.SetupTextFont(pictures.sys_gaiji);

    run.ClickWaitKind = 0;
    run.WaitTicks = 0;
    run.ChoiceMode = 0;

    vars.clearAll();
    for (int i = 0; i < 10; ++i)
        vars.G(i) = settings.GV[i];
    vars.S(100) = settings.Clear;

    // The global data file and the backlog arrive with saving and the backlog view.

    vars.S(0) = 3;
    vars.S(5) = 0;
    vars.S(8) = 8;
    // Tool-strip and menu availability arrives with input handling.
    vars.S(20) = 250;
    vars.S(21) = 550;
    vars.S(27) = 5;
    vars.S(32) = 520;
    vars.S(33) = 30;
    vars.S(37) = 16777215;

    // Effect state arrives with the effect subsystem.
    run.WindowShown = false;
    layout.pageEmpty = true;
    window.BuildWindowPicture();
    window.ComposeMessageWindow();
    run.ConfirmKind = 0;
    run.BacklogOpen = false;
    run.InEffect = false;
    run.EffectInterrupt = 0;
    for (int i = 150; i <= 153; ++i)
        vars.S(i) = 0;

    for (auto& slot : interp.stringTable)
        slot.clear();
    interp.stringTable[0] = cutText(settings.PlayerName, 63);
    interp.stringTable[1] = cutText(settings.PlayerName2, 63);
    vars.S(31) = 0;
    run.StartPending = true;

    // Screen objects, the scene and gallery lists, the selection tree, the
    // recollection lists and the map arrive with the extras.
    scene.reset();
    scene.ReadSpriteSets();
    // The sprite movers' INIT sets the line-up; until the effects exist the scene does it.
    scene.resetLineUp();
}

bool Engine::readDefinition() {
    if (!scripts.LoadScript("_config", ScriptKind::Definition))
        return true; // every key keeps its initial value
    auto parsed = parseGameDefinition(scripts.definitionText());
    if (!parsed) {
        host.messageBox(parsed.error().message, "Error!", MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    definition = std::move(*parsed);
    return true;
}

void Engine::readAllSettings() {
    settingsSection =
        std::make_unique<SettingsSection>(settingsStore, definition.MAKER_REG, definition.GAME_ID);
    settings = ReadSettings(*settingsSection, definition, host.screenSize().x);
    vars.S(6) =
        (settings.PlayerName != definition.DEFAULT_NAME || settings.PlayerName2 != definition.DEFAULT_NAME2)
            ? 1
            : 0;
    const Point screen = host.screenSize();
    const Point window = host.windowSize();
    if (settings.hasStoredPosition)
        host.setWindowPosition({settings.Left, settings.Top});
    else
        host.setWindowPosition({(screen.x - window.x) / 2, (screen.y - window.y) / 2});
}

void Engine::firstPass() {
    if (run.QuitRequested) {
        host.requestClose();
        return;
    }
    host.windowPicture().fill(0);
    pictures.nextScreen = host.windowPicture();
    host.present();
    if (settings.SMode != 0) enterFullScreen();
    interp.callDepth = 0;
    interp.currentScript = "main";
    scripts.LoadScript("main", ScriptKind::Main);
    sound.InitSound();
}

std::uint32_t Engine::AppIdle() {
    const std::uint32_t t0 = clock.tickCount();
    ++run.FrameCounter;
    if (run.ClickGuard > 0) --run.ClickGuard;

    const auto pace = [&] { return t0 + 20; };
    if (run.BacklogOpen || run.ConfirmKind != 0) return pace();

    if (run.ScreenMode != 0) {
        // Mode 4 (map) and mode 6 (gallery) run their per-pass steps here once
        // the extras exist; the background animation arrives with the effects.
        return pace();
    }

    if (run.StartPending) {
        firstPass();
        run.StartPending = false;
        return pace();
    }
    if (run.Busy) return pace();

    random.next();
    if (run.QuitRequested) host.requestClose();

    if (options.holdSkip) run.SkipActive = true;
    if (run.SkipActive) {
        if (run.ClickWaitKind == 1 || run.ClickWaitKind == 4 || run.ClickWaitKind == 5)
            interp.releaseClickWait();
        run.ClickWaitKind = 0;
    }
    if (run.ChoiceMode != 0 || run.WaitTicks != 0 || run.ClickWaitKind != 0 || run.WaitVoice) {
        // Background animation arrives with the effects.
        return pace();
    }
    if (run.WaitPasses != 0) {
        if (run.WaitPasses > 0) --run.WaitPasses;
        return pace();
    }
    if (run.ScriptRunning) interp.runStep();
    if (vars.S(26) != 0) return t0 + 4u * static_cast<std::uint32_t>(vars.S(26)) + 15u;
    return pace();
}

void Engine::Timer1Timer() {
    ++run.TickCounter;
    music.MusicTick();
    if (movie.tick()) return;
    // The effect tick arrives with the effects.
    if (run.ScreenMode == 8) return; // the recollection tick arrives with the recollection menu
    if (run.BacklogOpen || run.Busy || run.ScreenMode != 0) return;
    if (run.ChoiceMode != 0 && run.ConfirmKind == 0) return; // the choice tick arrives with choices

    const bool voicePlaying = sound.IsVoicePlaying();
    if (!voicePlaying) run.WaitVoice = false;
    if (run.WaitTicks > 0) {
        --run.WaitTicks;
        return;
    }
    // Hover tracking of the quick-button bar arrives with the bar.
    music.deferredMusicTick();
    if (run.ClickWaitKind == 0 || run.Busy || run.ScreenMode != 0) return;
    if (vars.S(26) == 0) {
        // A page end without a wait marker (kind 5) shows no icon.
        if (run.ClickWaitKind != 5) window.AnimateClickWait();
        return;
    }
    if (run.AutoCountdown > 0) {
        --run.AutoCountdown;
        if (run.AutoCountdown == 0 && voicePlaying) run.AutoCountdown = 1;
    } else if (voicePlaying) {
        run.AutoCountdown = 1;
    }
    if (run.AutoCountdown != 0) return;
    if (run.ClickWaitKind == 1 || run.ClickWaitKind == 4 || run.ClickWaitKind == 5) {
        if (run.WindowShown) interp.releaseClickWait();
    }
    run.ClickWaitKind = 0;
}

void Engine::PBPaint() {
    // The map paints itself in ScreenMode 4 once it exists.
    if (run.ScreenMode == 4) return;
    const Picture& shown = run.ScreenMode == 1 ? pictures.sceneBuffer : pictures.nextScreen;
    host.windowPicture().copyFrom(shown, 0, 0, shown.width(), shown.height(), 0, 0);
    host.present();
    sound.ApplyVolumes();
}

bool Engine::FormCloseQuery() {
    if (run.QuitRequested) return true;
    // The global data are saved here once saving exists.
    if (run.InEffect) {
        run.EffectInterrupt = 2;
        return false;
    }
    if (run.Busy) return false;
    run.ScriptRunning = false;
    const MessageAnswer answer = host.messageBox(sjisText("ゲームを終了しますか？"), sjisText("確認"),
                                                 MessageIcon::Question, MessageButtons::OkCancel);
    if (answer != MessageAnswer::Ok) {
        run.ScriptRunning = true;
        return false;
    }
    run.EffectInterrupt = 1;
    run.ScriptRunning = true;
    return true;
}

void Engine::FormDestroy() {
    music.PlayMusicNumber(0);
    sound.ReleaseSound();
    leaveFullScreen();
}

void Engine::enterFullScreen() {
    if (run.FullScreenState != 0 || settings.SMode == 0) return;
    restorePosition_ = host.windowPosition();
    if (host.enterFullScreen(settings.SMode) && settings.SMode == 1) run.FullScreenState = 1;
}

void Engine::leaveFullScreen() {
    if (run.FullScreenState == 0) return;
    host.leaveFullScreen();
    run.FullScreenState = 0;
    host.setWindowPosition(restorePosition_);
}

// Input handling arrives with the play modes.
void Engine::mouseDown(MouseButton button, Point) {
    // A click on the movie panel ends the movie.
    if (movie.active()) {
        movie.EndMovie();
        return;
    }
    // A click cuts a running transition or effect short; the rest of the click
    // handling arrives with the play modes.
    if (button == MouseButton::Left) sound.stopVoiceForClick();
    if (run.InEffect && button == MouseButton::Left) run.EffectInterrupt = 1;
}
void Engine::mouseUp(MouseButton, Point) {}
void Engine::mouseMove(Point) {}
void Engine::wheel(int, Point) {}
void Engine::keyDown(int) {}
void Engine::keyUp(int) {}

// Until the tool-strip menu arrives with input handling, "終了" closes the
// window through the usual close question.
void Engine::toolQuit() { host.requestClose(); }
void Engine::toolLoad() {}   // the load screen arrives with input handling
void Engine::toolSave() {}   // the save screen arrives with input handling
void Engine::toolConfig() {} // the configuration screens arrive with input handling

} // namespace veskar
