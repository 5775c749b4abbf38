#pragma once
// Wall-clock milliseconds for the desktop: the steady clock, so that changing
// the system time never stalls or rushes the game.

#include <chrono>
#include <cstdint>
#include <thread>

#include "platform/clock.h"

namespace veskar {

class SteadyClock : public Clock {
public:
    std::uint32_t tickCount() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        // Truncated like a 32-bit tick count; the engine compares with wrap-around.
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    void sleep(std::uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

} // namespace veskar
