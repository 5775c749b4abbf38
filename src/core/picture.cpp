#include "core/picture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace veskar {

void Picture::resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    bytes_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3, 0);
}

void Picture::fill(Colour colour) {
    const std::uint8_t b = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, r = colour & 0xFF;
    for (std::size_t i = 0; i + 2 < bytes_.size(); i += 3) {
        bytes_[i] = b;
        bytes_[i + 1] = g;
        bytes_[i + 2] = r;
    }
}

Colour Picture::pixel(int x, int y) const {
    const std::uint8_t* p = row(y) + x * 3;
    return makeColour(p[2], p[1], p[0]);
}

void Picture::setPixel(int x, int y, Colour colour) {
    std::uint8_t* p = row(y) + x * 3;
    p[0] = (colour >> 16) & 0xFF;
    p[1] = (colour >> 8) & 0xFF;
    p[2] = colour & 0xFF;
}

void Picture::copyFrom(const Picture& source, int srcX, int srcY, int width, int height, int dstX, int dstY) {
    // Clip against the source, then against this picture, in a width where
    // no position or size a caller passes can overflow.
    std::int64_t sx = srcX, sy = srcY, w = width, h = height, dx = dstX, dy = dstY;
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    w = std::min({w, std::int64_t{source.width_} - sx, std::int64_t{width_} - dx});
    h = std::min({h, std::int64_t{source.height_} - sy, std::int64_t{height_} - dy});
    if (w <= 0 || h <= 0) return;
    for (std::int64_t y = 0; y < h; ++y)
        std::memmove(row(static_cast<int>(dy + y)) + dx * 3, source.row(static_cast<int>(sy + y)) + sx * 3,
                     static_cast<std::size_t>(w) * 3);
}

} // namespace veskar
