#include "backends/qt/desktop_session.h"

#include "backends/qt/game_view.h"

namespace veskar {

DesktopSession::DesktopSession(const DesktopOptions& options, SettingsStore& store,
                               MessageBoxAnswerer answerer)
    : host_(window_, std::move(answerer)),
      engine_(Platform{host_, clock_, store, options.audio ? *options.audio : noAudio_, options.fonts,
                       options.movies},
              EngineOptions{options.gameDir,
                            options.seed ? std::optional<std::uint32_t>(*options.seed) : std::nullopt}),
      driver_(engine_, clock_, [this](const std::string& message) { host_.showError(message); }) {
    host_.attach(driver_);
    wire();
}

DesktopSession::~DesktopSession() { finish(); }

void DesktopSession::wire() {
    auto& d = driver_;
    window_.onQuit = [&d] { d.dispatch([](Engine& e) { e.toolQuit(); }); };
    window_.onLoad = [&d] { d.dispatch([](Engine& e) { e.toolLoad(); }); };
    window_.onSave = [&d] { d.dispatch([](Engine& e) { e.toolSave(); }); };
    window_.onConfig = [&d] { d.dispatch([](Engine& e) { e.toolConfig(); }); };
    window_.onKeyDown = [&d](int key) { d.dispatch([key](Engine& e) { e.keyDown(key); }); };
    window_.onKeyUp = [&d](int key) { d.dispatch([key](Engine& e) { e.keyUp(key); }); };
    window_.onCloseQuery = [&d] {
        bool allowed = false; // a query that failed keeps the game running
        d.dispatch([&allowed](Engine& e) { allowed = e.FormCloseQuery(); });
        return allowed;
    };
    // Sounds started while the game is in the background are dropped, music is put off.
    window_.onActiveChanged = [&d](bool active) {
        d.dispatch([active](Engine& e) { e.sound.setWindowActive(active); });
    };
    window_.onClosed = [this] {
        driver_.stop();
        if (onClosed) onClosed();
    };

    GameView& view = window_.gameView();
    view.onPaint = [&d] { d.dispatch([](Engine& e) { e.PBPaint(); }); };
    view.onMouseDown = [&d](MouseButton b, Point p) { d.dispatch([=](Engine& e) { e.mouseDown(b, p); }); };
    view.onMouseUp = [&d](MouseButton b, Point p) { d.dispatch([=](Engine& e) { e.mouseUp(b, p); }); };
    view.onMouseMove = [&d](Point p) { d.dispatch([=](Engine& e) { e.mouseMove(p); }); };
    view.onWheel = [&d](int delta, Point p) { d.dispatch([=](Engine& e) { e.wheel(delta, p); }); };
}

void DesktopSession::start() {
    // The timer runs from the form's creation, as the window's timer does.
    driver_.startTimer();
    driver_.dispatch([](Engine& e) { e.FormCreate(); });
    window_.show();
    window_.activateWindow();
    window_.setFocus();
    driver_.startIdle();
}

void DesktopSession::finish() {
    if (finished_) return;
    finished_ = true;
    driver_.stop();
    driver_.dispatch([](Engine& e) { e.FormDestroy(); });
    window_.hide();
}

} // namespace veskar
