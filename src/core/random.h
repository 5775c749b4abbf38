#pragma once
// The engine's pseudo-random generator: a linear congruential generator
// (state * 22695477 + 1) whose result is bits 16-30 of the new state.

#include <cstdint>

namespace veskar {

class Random {
public:
    explicit Random(std::uint32_t seed = 0) : state_(seed) {}

    void seed(std::uint32_t seed) { state_ = seed; }
    std::uint32_t state() const { return state_; }

    // 0 ... 32767
    int next() {
        state_ = state_ * 22695477u + 1u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

    // 0 ... bound - 1; a bound below 1 gives 0.
    int below(int bound) {
        if (bound < 1) return 0;
        // Wider than 15 bits for bounds up to 7 digits.
        const std::uint32_t wide =
            (static_cast<std::uint32_t>(next()) << 15) | static_cast<std::uint32_t>(next());
        return static_cast<int>(wide % static_cast<std::uint32_t>(bound));
    }

private:
    std::uint32_t state_;
};

} // namespace veskar
