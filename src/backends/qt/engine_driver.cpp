#include "backends/qt/engine_driver.h"

#include <QCoreApplication>

#include "platform/clock.h"
#include "shell/engine.h"

namespace veskar {

EngineDriver::EngineDriver(Engine& engine, Clock& clock, std::function<void(const std::string&)> reportError)
    : engine_(engine), clock_(clock), reportError_(std::move(reportError)) {
    idle_.setSingleShot(true);
    idle_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&idle_, &QTimer::timeout, [this] { runIdle(); });
    tick_.setInterval(55);
    tick_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick_, &QTimer::timeout, [this] {
        if (!stopped_) dispatch([](Engine& e) { e.Timer1Timer(); });
    });
}

void EngineDriver::startTimer() {
    if (!stopped_) tick_.start();
}

void EngineDriver::startIdle() {
    if (!stopped_) idle_.start(0);
}

void EngineDriver::stop() {
    stopped_ = true;
    idle_.stop();
    tick_.stop();
}

void EngineDriver::leave() {
    --depth_;
    if (depth_ == 0 && nested_ == 0 && idleDeferred_ && !stopped_) {
        // Back in the outer loop: the pass that came due meanwhile runs now.
        idleDeferred_ = false;
        idle_.start(0);
    }
}

void EngineDriver::processMessages() {
    ++nested_;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --nested_;
}

void EngineDriver::runIdle() {
    if (stopped_) return;
    if (depth_ > 0 || nested_ > 0) {
        idleDeferred_ = true;
        return;
    }
    ++idlePasses_;
    std::uint32_t due = clock_.tickCount();
    dispatch([&due](Engine& e) { due = e.AppIdle(); });
    scheduleIdle(due);
}

void EngineDriver::scheduleIdle(std::uint32_t due) {
    if (stopped_) return;
    const auto wait = static_cast<std::int32_t>(due - clock_.tickCount());
    idle_.start(wait > 0 ? wait : 0);
}

} // namespace veskar
