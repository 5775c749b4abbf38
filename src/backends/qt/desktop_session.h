#pragma once
// One game in a desktop window: the engine with the Qt host, a steady clock
// and the given settings store, wired to the main window and the event loop.
// runDesktop() runs one; tests run one with answered message boxes.

#include <functional>
#include <memory>

#include "backends/qt/desktop_audio_device.h"
#include "backends/qt/engine_driver.h"
#include "backends/qt/main_window.h"
#include "backends/qt/qt_host.h"
#include "backends/qt/run_desktop.h"
#include "backends/qt/steady_clock.h"
#include "shell/engine.h"

namespace veskar {

class SettingsStore;

class DesktopSession {
public:
    DesktopSession(const DesktopOptions& options, SettingsStore& store, MessageBoxAnswerer answerer = {});
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // Creates the form (the start-up sequence), shows the window and starts
    // the timer and the idle passes. The caller then runs an event loop.
    void start();
    // After the window has closed: stops the timers and destroys the form.
    void finish();
    bool closed() const { return window_.isClosed(); }

    // The window has closed: the caller's event loop should end.
    std::function<void()> onClosed;

    MainWindow& window() { return window_; }
    QtHost& host() { return host_; }
    Engine& engine() { return engine_; }
    EngineDriver& driver() { return driver_; }

private:
    void wire();

    SteadyClock clock_;
    NoAudioDevice noAudio_;
    MainWindow window_;
    QtHost host_;
    Engine engine_;
    EngineDriver driver_;
    bool finished_ = false;
};

} // namespace veskar
