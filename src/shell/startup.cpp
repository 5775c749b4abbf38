// The start-up sequence, run when the main window is created, and the first
// main-loop pass, which starts the game.

#include <ctime>
#include <filesystem>
#include <string>

#include "core/sjis.h"
#include "platform/audio_device.h"
#include "platform/host.h"
#include "script/registers.h"
#include "shell/engine.h"
#include "shell/settings_registers.h"

namespace veskar {

namespace {
// Why an archive the game needs could not be opened, for stderr.
std::string missingArchiveReason(const std::filesystem::path& gameDir, std::string_view fileName) {
    std::error_code ec;
    if (!std::filesystem::is_directory(gameDir, ec))
        return "the game folder " + gameDir.string() + " does not exist";
    const auto path = gameDir / fileName;
    if (std::filesystem::exists(path, ec)) return path.string() + " is damaged";
    return path.string() + " is missing";
}
} // namespace

void Engine::runStartupSequence() {
    random.seed(options.seed ? *options.seed : static_cast<std::uint32_t>(std::time(nullptr)));
    for (int i = 0; i < reg::kStartupCleared; ++i)
        vars.S(i) = 0;
    run.HasWaveOut = audio.hasOutput();

    if (!archives.scriptArchiveExists()) {
        showGameDataError(missingArchiveReason(options.gameDir, "vk_data.vsk"));
        // Nothing else can be read; the first pass closes the window.
        run.StartPending = true;
        return;
    }

    archives.LoadScriptIndexes();
    if (archives.index(ArchiveSet::Scripts, 1).path.empty()) {
        showGameDataError((options.gameDir / "vk_data.vsk").string() + " is damaged");
        run.StartPending = true;
        return;
    }
    if (!archives.FindEntry(search::kScripts, "main"))
        diagnostics.report((options.gameDir / "vk_data.vsk").string() + " holds no script 'main'");
    if (!readDefinition()) {
        // The game must not start with a partly read definition.
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
    if (!archives.firstPictureArchiveExists())
        showGameDataError(missingArchiveReason(options.gameDir, "vk_gra.vsk"));

    pictures.loadSystemPictures(definition);
    glyphs.SetupTextFont(pictures.sys_gaiji);

    run.ClickWaitKind = click_wait::kNone;
    run.WaitTicks = 0;
    run.ChoiceMode = 0;

    vars.clearAll();
    copySettingsToRegisters(settings, definition, vars);
    for (int i = 0; i < 10; ++i)
        vars.G(i) = settings.GV[i];
    vars.S(reg::kClearCount) = settings.Clear;

    // PENDING(saves, backlog): the global data file and the backlog.

    vars.S(reg::kSaveLoadRestriction) = 3;
    vars.S(reg::kCurrentMusic) = 0;
    vars.S(reg::kMenuState) = 8;
    input.UpdateCommandAvailability();
    vars.S(reg::kOverlayOrder) = 250;
    vars.S(reg::kOverlayX) = 550;
    vars.S(reg::kLastAutoLevel) = 5;
    vars.S(reg::kSymbolX) = 520;
    vars.S(reg::kSymbolY) = 30;
    vars.S(reg::kTextColour) = 16777215;

    // PENDING(effects): the effect state.
    run.WindowShown = false;
    layout.markPageEmpty();
    window.BuildWindowPicture();
    window.ComposeMessageWindow();
    run.ConfirmKind = 0;
    run.BacklogOpen = false;
    run.InEffect = false;
    run.EffectInterrupt = 0;
    for (int i = reg::kFullScreenText; i <= reg::kRecollectionMark; ++i)
        vars.S(i) = 0;

    interp.clearStringSlots();
    interp.setStringSlot(0, settings.PlayerName);
    interp.setStringSlot(1, settings.PlayerName2);
    vars.S(reg::kPageRecorded) = 0;
    run.StartPending = true;

    // PENDING(extras): screen objects, the scene and gallery lists, the
    // selection tree, the recollection lists and the map.
    scene.reset();
    scene.ReadSpriteSets();
    // PENDING(effects): the sprite movers' INIT sets the line-up; until then the scene does.
    scene.resetLineUp();
}

bool Engine::readDefinition() {
    if (!scripts.LoadDefinition("_config")) return true; // every key keeps its initial value
    auto parsed = parseGameDefinition(scripts.definitionText());
    if (!parsed) {
        diagnostics.report("cannot start the game: _config: " + cp932ToUtf8(parsed.error().message));
        host.messageBox(parsed.error().message, "Error!", MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    definition = std::move(*parsed);
    for (const std::string& note : definition.notes)
        diagnostics.report(note);
    return true;
}

void Engine::readAllSettings() {
    settingsSection =
        std::make_unique<SettingsSection>(settingsStore, definition.MAKER_REG, definition.GAME_ID);
    settings = ReadSettings(*settingsSection, definition, host.screenSize().x);
    host.setWindowPosition(windowStartPosition(settings, host.screenSize(), host.windowSize()));
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
    interp.state().callDepth = 0;
    interp.state().currentScript = "main";
    interp.loadMainScript("main");
    sound.InitSound();
}

} // namespace veskar
