#pragma once
// Milliseconds and sleeping. The desktop uses the steady clock; headless runs
// use virtual time that only moves when someone sleeps or the host advances it.

#include <cstdint>

namespace veskar {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps like a 32-bit tick count.
    virtual std::uint32_t tickCount() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
};

} // namespace veskar
