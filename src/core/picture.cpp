#include "core/picture.h"

#include <algorithm>
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
    // Clip against the source, then against this picture.
    if (srcX < 0) {
        width += srcX;
        dstX -= srcX;
        srcX = 0;
    }
    if (srcY < 0) {
        height += srcY;
        dstY -= srcY;
        srcY = 0;
    }
    if (dstX < 0) {
        width += dstX;
        srcX -= dstX;
        dstX = 0;
    }
    if (dstY < 0) {
        height += dstY;
        srcY -= dstY;
        dstY = 0;
    }
    width = std::min({width, source.width_ - srcX, width_ - dstX});
    height = std::min({height, source.height_ - srcY, height_ - dstY});
    if (width <= 0 || height <= 0) return;
    for (int y = 0; y < height; ++y)
        std::memmove(row(dstY + y) + dstX * 3, source.row(srcY + y) + srcX * 3,
                     static_cast<std::size_t>(width) * 3);
}

} // namespace veskar
