#pragma once
// Virtual time for headless runs: it moves only when the engine sleeps or the
// runner advances it, so a run is the same on every machine.

#include <cstdint>

#include "platform/clock.h"

namespace veskar {

class VirtualClock : public Clock {
public:
    std::uint32_t tickCount() override { return now_; }
    void sleep(std::uint32_t milliseconds) override { now_ += milliseconds; }
    void advanceTo(std::uint32_t when) {
        if (static_cast<std::int32_t>(when - now_) > 0) now_ = when;
    }

private:
    std::uint32_t now_ = 0;
};

} // namespace veskar
