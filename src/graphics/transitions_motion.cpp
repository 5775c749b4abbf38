// Transitions that move or resample whole pictures: the mosaic, the push,
// the zoom and the two slides.

#include <algorithm>
#include <array>
#include <vector>

#include "graphics/kernels.h"
#include "graphics/pictures.h"
#include "graphics/transitions.h"
#include "shell/engine.h"

namespace veskar {

namespace {
constexpr int kWidth = 800, kHeight = 600;
constexpr std::array<int, 10> kMosaicSizes = {2, 3, 4, 6, 8, 12, 16, 20, 28, 40};

// Every a x a block of `out` takes the pixel of `source` at its top-left corner.
void mosaicOf(const Picture& source, int a, Picture& out) {
    for (int y0 = 0; y0 < kHeight; y0 += a)
        for (int x0 = 0; x0 < kWidth; x0 += a) {
            const std::uint8_t* p = source.row(y0) + x0 * 3;
            const int w = std::min(a, kWidth - x0), h = std::min(a, kHeight - y0);
            for (int y = y0; y < y0 + h; ++y) {
                std::uint8_t* o = out.row(y) + x0 * 3;
                for (int x = 0; x < w; ++x, o += 3)
                    std::copy_n(p, 3, o);
            }
        }
}
} // namespace

bool Transitions::mosaic() {
    for (int i = 0; i <= 9;) {
        mosaicOf(prev_, kMosaicSizes[static_cast<std::size_t>(i)], fx_);
        show(fx_);
        if (cutShort()) return false;
        i += static_cast<int>(wait(3 * row_.n));
    }
    for (int i = 9; i >= 0;) {
        mosaicOf(next_, kMosaicSizes[static_cast<std::size_t>(i)], fx_);
        show(fx_);
        if (cutShort()) return false;
        i -= static_cast<int>(wait(3 * row_.n));
    }
    show(next_);
    return true;
}

bool Transitions::push() {
    engine_.frameTimer.FrameTimerStart();
    for (int x = 0; x < kWidth;) {
        window_.copyFrom(next_, kWidth - x, 0, x, kHeight, 0, 0);
        window_.copyFrom(prev_, 0, 0, kWidth - x, kHeight, x, 0);
        present();
        if (cutShort()) return false;
        x += 20 * static_cast<int>(wait(row_.n));
    }
    show(next_);
    return true;
}

bool Transitions::zoom() {
    engine_.frameTimer.FrameTimerStart();
    std::array<int, kWidth> sourceX{};
    std::array<std::uint8_t, kWidth * 3> line{};
    for (int a = 8; a < 256;) {
        // A magnification by (a + 300) / 300 about the centre; C++ division
        // truncates toward zero as the sampling wants.
        const auto q = [a](int v) { return (v * 76800 / (a + 300)) / 256; };
        for (int x = 0; x < kWidth; ++x)
            sourceX[static_cast<std::size_t>(x)] = 400 + q(x - 400);
        for (int r = 0; r < kHeight; ++r) {
            const std::uint8_t* src = prev_.row(std::clamp(300 + q(r - 300), 0, kHeight - 1));
            for (int x = 0; x < kWidth; ++x)
                std::copy_n(src + std::clamp(sourceX[static_cast<std::size_t>(x)], 0, kWidth - 1) * 3, 3,
                            line.data() + x * 3);
            CrossFadeRow(next_.row(r), line.data(), a, kWidth * 3 / 8, fx_.row(r));
        }
        show(fx_);
        if (cutShort()) return false;
        a += 8 * static_cast<int>(wait(row_.n));
    }
    show(next_);
    return true;
}

bool Transitions::slide(bool toLeft) {
    engine_.frameTimer.FrameTimerStart();
    std::array<std::uint8_t, kWidth * 3> oldLine{}, newLine{};
    // Pixel x of `line` shows pixel x + shift of `row`; outside is black.
    const auto moved = [](const std::uint8_t* row, int shift, std::uint8_t* line) {
        std::fill_n(line, kWidth * 3, 0);
        const int from = std::max(0, -shift), to = std::min(kWidth, kWidth - shift);
        if (to > from) std::copy_n(row + (from + shift) * 3, (to - from) * 3, line + from * 3);
    };
    for (int a = 8; a < 256;) {
        const int oldShift = toLeft ? a : -a;
        const int newShift = toLeft ? a - 256 : 256 - a;
        for (int r = 0; r < kHeight; ++r) {
            moved(prev_.row(r), oldShift, oldLine.data());
            moved(next_.row(r), newShift, newLine.data());
            CrossFadeRow(newLine.data(), oldLine.data(), a, kWidth * 3 / 8, fx_.row(r));
        }
        show(fx_);
        if (cutShort()) return false;
        a += 8 * static_cast<int>(wait(row_.n));
    }
    show(next_);
    return true;
}

} // namespace veskar
