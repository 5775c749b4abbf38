// Transitions that copy strips, blocks and spans of the new picture onto the
// window, which keeps what was copied earlier.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "graphics/pictures.h"
#include "graphics/transitions.h"
#include "platform/clock.h"
#include "platform/host.h"
#include "shell/engine.h"

namespace veskar {

namespace {
constexpr int kWidth = 800, kHeight = 600;
}

bool Transitions::blinds() {
    for (int f = 0; f < 70; ++f) {
        const std::uint32_t deadline = deadlineIn(row_.n);
        for (int k = 0; k < 16; ++k) {
            const int c = f + k - 15;
            if (c >= 0 && c < 80) copyToWindow(next_, 16 * c, 0, 16 - k, kHeight);
        }
        present();
        if (cutShort()) return false;
        waitUntil(deadline);
    }
    return true;
}

bool Transitions::circle() {
    const int radiusEnd =
        std::max(std::abs(engine_.vars.S(20) - 400), std::abs(engine_.vars.S(21) - 300)) + 500;
    const auto span = [&](int row, int halfWidth) {
        const int h = std::min(halfWidth, 400);
        copyToWindow(next_, 400 - h, row, 2 * h + 1, 1);
    };
    for (int r = 5; r < radiusEnd; r += 10) {
        const std::uint32_t deadline = deadlineIn(row_.n);
        int x = r, y = 0, d = r;
        while (x >= y) {
            if (y <= 300) {
                span(300 - y, x);
                span(300 + y, x);
            }
            if (x <= 300) {
                span(300 - x, y);
                span(300 + x, y);
            }
            d -= 2 * y - 1;
            ++y;
            if (d < 0) {
                d += 2 * (x - 1);
                --x;
            }
        }
        present();
        if (cutShort()) return false;
        waitUntil(deadline);
    }
    return true;
}

bool Transitions::rows() {
    for (int r = 0; r < kHeight;) {
        const std::uint32_t deadline = deadlineIn(row_.n / 2);
        for (int i = 0; i < 5; ++i, r += 2) {
            copyToWindow(next_, 0, r, kWidth, 1);
            copyToWindow(next_, 0, kHeight - 1 - r, kWidth, 1);
        }
        present();
        if (cutShort()) return false;
        waitUntil(deadline);
    }
    return true;
}

bool Transitions::columns() {
    for (int c = 0; c < kWidth;) {
        const std::uint32_t deadline = deadlineIn(row_.n / 3);
        for (int i = 0; i < 5; ++i, c += 2) {
            copyToWindow(next_, c, 0, 1, kHeight);
            copyToWindow(next_, kWidth - 1 - c, 0, 1, kHeight);
        }
        present();
        if (cutShort()) return false;
        waitUntil(deadline);
    }
    return true;
}

bool Transitions::squares() {
    for (int f = 0; f <= 56; ++f) {
        const std::uint32_t deadline = deadlineIn(row_.n);
        for (int k = 0; k < 32; ++k) {
            const int h = 32 - k;
            for (int j = 0; j < 10; ++j) {
                const int i = f + k - 32 - j;
                if (i >= 0 && i < 25) copyToWindow(next_, 64 * i + 32 - h, 64 * j + 32 - h, 2 * h, 2 * h);
            }
        }
        present();
        if (cutShort()) return false;
        waitUntil(deadline);
    }
    return true;
}

bool Transitions::halfRows() {
    std::array<int, kHeight> widths{};
    for (int& w : widths)
        w = engine_.random.next() % kHeight + 20;
    std::vector<int> entries(2 * kHeight);
    for (int i = 0; i < kHeight; ++i) {
        entries[static_cast<std::size_t>(2 * i)] = i;
        entries[static_cast<std::size_t>(2 * i + 1)] = i + kHeight;
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
        std::swap(entries[i], entries[static_cast<std::size_t>(2 * (engine_.random.next() % kHeight))]);
    for (std::size_t group = 0; group < entries.size(); group += 24) {
        for (std::size_t e = group; e < group + 24; ++e) {
            const int v = entries[e];
            if (v < kHeight) {
                copyToWindow(next_, 0, v, widths[static_cast<std::size_t>(v)], 1);
            } else {
                const int w = widths[static_cast<std::size_t>(v - kHeight)];
                copyToWindow(next_, w, v - kHeight, kWidth - w, 1);
            }
        }
        present();
        if (cutShort()) return false;
        engine_.clock.sleep(static_cast<std::uint32_t>(row_.n));
        engine_.host.processMessages();
    }
    return true;
}

bool Transitions::slantedBlinds() {
    for (int f = 0; f < 95; ++f) {
        const std::uint32_t deadline = deadlineIn(row_.n);
        for (int k = 0; k < 20; ++k) {
            const int w = 20 - k, c = f + k - 19;
            for (int r = 0; r < kHeight; ++r) {
                const int x = 20 * c - r;
                if (x + w < 0 || x >= kWidth) continue;
                const int from = std::max(x, 0), to = std::min(x + w, kWidth);
                prev_.copyFrom(next_, from, r, to - from, 1, from, r);
            }
        }
        if (f % 2 == 1) {
            show(prev_);
            waitUntil(deadline);
        }
        if (cutShort()) return false;
    }
    // The last frame is even and not shown by the loop.
    show(next_);
    return true;
}

bool Transitions::closingHalves() {
    engine_.frameTimer.FrameTimerStart();
    for (int w = 32; w <= 400;) {
        window_.copyFrom(next_, 400 - w, 0, w, kHeight, 0, 0);
        window_.copyFrom(next_, 400, 0, w, kHeight, kWidth - w, 0);
        present();
        if (cutShort()) return false;
        w += 32 * static_cast<int>(wait(2 * row_.n));
    }
    show(next_);
    return true;
}

} // namespace veskar
