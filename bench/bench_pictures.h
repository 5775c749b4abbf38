#pragma once
// Pictures the benchmarks work on: screen-sized, with the mix of smooth
// areas and detail that game pictures have.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>

#include "core/picture.h"

namespace veskar::bench {

inline Picture scenery(int w, int h, std::uint32_t seed) {
    Picture p(w, h);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* px = p.row(y) + x * 3;
            const int noise = static_cast<int>(random() % 9) - 4;
            px[0] = static_cast<std::uint8_t>(std::clamp(x * 255 / w + noise, 0, 255));
            px[1] = static_cast<std::uint8_t>(std::clamp(y * 255 / h + noise, 0, 255));
            px[2] = static_cast<std::uint8_t>(((x / 40 + y / 30) % 2) ? 200 : 60);
        }
    return p;
}

// A sprite mask: transparent beside the figure, opaque inside, a soft edge.
inline Picture figureMask(int w, int h) {
    Picture m(w, h);
    for (int y = 0; y < h; ++y) {
        const int half = w / 4 + (y % 97) / 4;
        for (int x = 0; x < w; ++x) {
            const int d = std::abs(x - w / 2) - half;
            const std::uint8_t v = d > 8 ? 0 : d < -8 ? 255 : static_cast<std::uint8_t>((8 - d) * 255 / 16);
            m.row(y)[x * 3] = m.row(y)[x * 3 + 1] = m.row(y)[x * 3 + 2] = v;
        }
    }
    return m;
}

} // namespace veskar::bench
