#pragma once
// Drives the engine from the Qt event loop: the idle pass on a single-shot
// timer set for the tick the engine asks for, the 55 ms timer, and every
// other handler through dispatch(). An idle pass never runs while a handler
// is on the stack (a blocking operation pumping messages, a modal box): it
// waits until control is back in the outer loop.

#include <QTimer>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

namespace veskar {

class Engine;
class Clock;

class EngineDriver {
public:
    // `reportError` shows an error that escaped a handler; the engine goes on.
    EngineDriver(Engine& engine, Clock& clock, std::function<void(const std::string&)> reportError);

    // Starts the 55 ms timer (the first idle pass waits for startIdle()).
    void startTimer();
    // Schedules the first idle pass.
    void startIdle();
    // No handler runs from the timers after this (the window has closed).
    void stop();

    template <class F>
    void dispatch(F&& handler) {
        ++depth_;
        try {
            handler(engine_);
        } catch (const std::exception& e) {
            reportError_(e.what());
        } catch (...) {
            reportError_("unknown error");
        }
        leave();
    }

    // Handles pending events for a blocking engine operation.
    void processMessages();

    int idlePasses() const { return idlePasses_; }

private:
    void leave();
    void runIdle();
    void scheduleIdle(std::uint32_t due);

    Engine& engine_;
    Clock& clock_;
    std::function<void(const std::string&)> reportError_;
    QTimer idle_;
    QTimer tick_;
    int depth_ = 0;  // engine handlers on the stack
    int nested_ = 0; // processMessages() calls on the stack
    bool idleDeferred_ = false;
    bool stopped_ = false;
    int idlePasses_ = 0;
};

} // namespace veskar
