#include "shell/engine.h"

#include "core/sjis.h"
#include "platform/clock.h"
#include "platform/host.h"
#include "platform/settings_store.h"
#include "script/registers.h"

namespace veskar {

Engine::Engine(Platform platform, EngineOptions opts)
    : host(platform.host), clock(platform.clock), settingsStore(platform.settingsStore),
      audio(platform.audio), fonts(platform.fonts), movies(platform.movies), options(std::move(opts)),
      diagnostics(platform.diagnosticsOut), interp(*this), frameTimer(clock, host), scene(*this),
      screen(*this), glyphs(*this), window(*this), layout(*this) {
    diagnostics.setScriptLocation([this] { return interp.location(); });
}

Engine::~Engine() = default;

void Engine::FormCreate() {
    run.QuitRequested = false;
    runStartupSequence();
    host.setCaption(definition.TITLE);
}

void Engine::showGameDataError(const std::string& reason) {
    diagnostics.report("cannot start the game: " + reason);
    host.messageBox(sjisText("ゲームデータを読み込めません。"), "Error!", MessageIcon::Error,
                    MessageButtons::Ok);
    run.QuitRequested = true;
    gameDataMissing_ = true;
}

bool Engine::askToQuit() {
    return host.messageBox(sjisText("ゲームを終了しますか？"), sjisText("確認"), MessageIcon::Question,
                           MessageButtons::OkCancel) == MessageAnswer::Ok;
}

bool Engine::namesChanged() const {
    return interp.stringSlot(0) != definition.DEFAULT_NAME ||
           interp.stringSlot(1) != definition.DEFAULT_NAME2;
}

void Engine::PBPaint() {
    // PENDING(map): the map paints itself.
    if (run.ScreenMode == screen_mode::kMap) return;
    const Picture& shown =
        run.ScreenMode == screen_mode::kWindowHidden ? pictures.sceneBuffer : pictures.nextScreen;
    screen.showAt(shown, 0, 0);
    sound.ApplyVolumes();
}

bool Engine::FormCloseQuery() {
    if (run.QuitRequested) return true;
    // PENDING(saves): the global data are saved here.
    if (run.InEffect) {
        run.EffectInterrupt = 2;
        return false;
    }
    if (run.Busy) return false;
    run.ScriptRunning = false;
    if (!askToQuit()) {
        run.ScriptRunning = true;
        return false;
    }
    run.EffectInterrupt = 1;
    run.ScriptRunning = true;
    // The window closes now; a blocking wait that is running must not outlast it.
    run.QuitRequested = true;
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

} // namespace veskar
