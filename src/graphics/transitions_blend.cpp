// Transitions that blend the old and the new picture: the rule wipe, random
// tiles, the soft-edged wipe, the colour morph and the dithered cross-fade.

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
constexpr int kTiles = 100;
constexpr int kRampEntries = 288;
} // namespace

bool Transitions::ruleWipe() {
    const Picture& mask = engine_.pictures.wipeMask;
    const int s = row_.s;
    // Bright pixels of the rule picture turn first.
    for (int c = 256 - s; c > 0;) {
        SubtractConstant(mask, fx_, c);
        MaskBlendScreen(prev_, next_, fx_, fx_);
        show(fx_);
        if (cutShort()) return false;
        c -= s * static_cast<int>(wait(row_.p));
    }
    for (int c = 0; c < 256;) {
        AddConstant(mask, fx_, c);
        MaskBlendScreen(prev_, next_, fx_, fx_);
        show(fx_);
        if (cutShort()) return false;
        c += s * static_cast<int>(wait(row_.p));
    }
    show(next_);
    return true;
}

bool Transitions::tiles() {
    fx_ = prev_;
    std::array<int, kTiles> order{};
    for (int i = 0; i < kTiles; ++i)
        order[static_cast<std::size_t>(i)] = i;
    for (int i = 0; i < kTiles; ++i)
        std::swap(order[static_cast<std::size_t>(i)],
                  order[static_cast<std::size_t>(engine_.random.next() % kTiles)]);

    const auto drawTile = [&](int index, int weight) {
        if (index < 0 || index >= kTiles) return;
        const int t = order[static_cast<std::size_t>(index)];
        const int x = (t % 10) * kFadeBlockWidth, y = (t / 10) * kFadeBlockHeight;
        CrossFadeBlock(prev_, next_, x, y, weight, fx_);
        copyToWindow(fx_, x, y, kFadeBlockWidth, kFadeBlockHeight);
    };
    for (int f = 0; f < 116;) {
        // Tiles whose last frames were skipped are finished first.
        if (f >= 4)
            for (int k = -3; k <= 0; ++k)
                drawTile(f - 16 + k, 0);
        for (int k = 0; k <= 16; ++k)
            drawTile(f - 16 + k, 16 * k);
        present();
        if (cutShort()) return false;
        f += static_cast<int>(wait(row_.n));
    }
    return true;
}

bool Transitions::softWipe() {
    // 32 entries of pure new picture, then a 256-pixel ramp towards the old one.
    std::array<std::uint8_t, kRampEntries * 3> ramp{};
    for (int i = 32; i < kRampEntries; ++i)
        std::fill_n(ramp.begin() + i * 3, 3, static_cast<std::uint8_t>(i - 32));
    fx_ = prev_;
    for (int c = -280; c < 800;) {
        int x = c, groups = 108, rampStart = 0;
        if (c < 0) {
            x = 0;
            groups = 3 * (c + kRampEntries) / 8;
            rampStart = -c;
        } else if (c > 512) {
            groups = 3 * (kWidth - c) / 8;
        }
        for (int r = 0; r < kHeight; ++r)
            MaskBlendRow(next_.row(r) + x * 3, prev_.row(r) + x * 3, ramp.data() + rampStart * 3, groups,
                         fx_.row(r) + x * 3);
        show(fx_);
        if (cutShort()) return false;
        c += 8 * static_cast<int>(wait(row_.n));
    }
    // A late frame may have jumped past part of the edge: end on the new picture.
    show(next_);
    return true;
}

bool Transitions::colourMorph() {
    for (int b = -124; b < 664; b += 8) {
        const std::uint32_t deadline = deadlineIn(row_.n);
        for (int r = std::max(b, 0); r < std::min(b + 128, kHeight); ++r) {
            std::uint8_t* o = prev_.row(r);
            const std::uint8_t* t = next_.row(r);
            for (int i = 0; i < kWidth * 3; ++i) {
                if (o[i] < t[i])
                    o[i] = static_cast<std::uint8_t>(std::min(o[i] + 16, static_cast<int>(t[i])));
                else if (o[i] > t[i])
                    o[i] = static_cast<std::uint8_t>(std::max(o[i] - 16, static_cast<int>(t[i])));
            }
        }
        show(prev_);
        if (cutShort()) return false;
        waitUntil(deadline);
    }
    return true;
}

bool Transitions::ditheredFade() {
    const int s16 = engine_.vars.S(16);
    const int steps = s16 >= 1 && s16 <= 128 ? s16 : 16;
    fx_ = prev_;
    for (int q = 1; q <= steps; ++q) {
        for (int phase = 0; phase < 4; ++phase) {
            const std::uint32_t deadline = deadlineIn(2 * row_.n);
            const int firstPixel = (phase == 0 || phase == 3) ? 0 : 1;
            for (int r = phase & 1; r < kHeight; r += 2) {
                std::uint8_t* out = fx_.row(r);
                const std::uint8_t* nw = next_.row(r);
                const std::uint8_t* old = prev_.row(r);
                for (int x = firstPixel; x < kWidth; x += 2)
                    for (int i = x * 3; i < x * 3 + 3; ++i)
                        out[i] = static_cast<std::uint8_t>((nw[i] * q + old[i] * (steps - q)) / steps);
            }
            show(fx_);
            if (engine_.run.EffectInterrupt != 0) {
                // Cut short, but this mode leaves S019 alone.
                show(next_);
                return true;
            }
            waitUntil(deadline);
        }
    }
    return true;
}

} // namespace veskar
