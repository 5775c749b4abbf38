#pragma once
// The millisecond frame timer that paces every blocking animation: periods
// advance the time base in whole steps, and a late caller learns how many
// periods it has to make up.

#include <cstdint>

namespace veskar {

class Clock;
class Host;

class FrameTimer {
public:
    FrameTimer(Clock& clock, Host& host) : clock_(clock), host_(host) {}

    void FrameTimerStart();
    // Handles pending messages, then waits for the end of the current period
    // of `period` ms; returns the number of periods elapsed (at least 1).
    std::uint32_t FrameTimerWait(std::uint32_t period);
    // Sleeps until the tick count reaches `deadline`, then handles messages.
    void WaitUntilTick(std::uint32_t deadline);

private:
    Clock& clock_;
    Host& host_;
    std::uint32_t base_ = 0;
};

} // namespace veskar
