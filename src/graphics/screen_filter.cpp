#include "graphics/screen_filter.h"

#include <algorithm>
#include <utility>

namespace veskar {

namespace {

constexpr int kSceneWidth = 800, kSceneHeight = 600;

template <typename PerPixel>
void forEachPixel(Picture& picture, int width, int height, PerPixel perPixel) {
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = picture.row(y);
        for (int x = 0; x < width; ++x, p += 3)
            perPixel(p);
    }
}

void sepiaPixel(std::uint8_t* p) {
    const int g = (p[0] + p[1] + p[2]) / 3;
    p[0] = static_cast<std::uint8_t>(g >> 2);
    p[1] = static_cast<std::uint8_t>((3 * g) >> 2);
    p[2] = static_cast<std::uint8_t>(g);
}

} // namespace

void applyScreenFilter(Picture& scene, int filter, int factor) {
    const int width = std::min(scene.width(), kSceneWidth);
    const int height = std::min(scene.height(), kSceneHeight);
    switch (filter) {
    case kFilterBrightness:
        forEachPixel(scene, width, height, [factor](std::uint8_t* p) {
            for (int i = 0; i < 3; ++i)
                p[i] = static_cast<std::uint8_t>((p[i] * factor) >> 4);
        });
        break;
    case kFilterSepia:
        forEachPixel(scene, width, height, sepiaPixel);
        break;
    case kFilterGrey:
        forEachPixel(scene, width, height, [](std::uint8_t* p) {
            const auto g = static_cast<std::uint8_t>((p[0] + p[1] + p[2]) / 3);
            p[0] = p[1] = p[2] = g;
        });
        break;
    case kFilterRotate:
        // Pixel (x, y) trades places with (799 - x, 599 - y); the top half of
        // the rows covers every pair once.
        if (width != kSceneWidth || height != kSceneHeight) break;
        for (int y = 0; y < kSceneHeight / 2; ++y) {
            std::uint8_t* top = scene.row(y);
            std::uint8_t* bottom = scene.row(kSceneHeight - 1 - y);
            for (int x = 0; x < kSceneWidth; ++x)
                std::swap_ranges(top + x * 3, top + x * 3 + 3, bottom + (kSceneWidth - 1 - x) * 3);
        }
        break;
    default:
        break;
    }
}

void makeSepia(Picture& picture) { forEachPixel(picture, picture.width(), picture.height(), sepiaPixel); }

} // namespace veskar
