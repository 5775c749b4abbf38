#pragma once
// A 24-bit engine picture: rows from the top, each row width * 3 bytes
// (blue, green, red), no padding and no alpha.

#include <cstdint>
#include <span>
#include <vector>

namespace veskar {

// A colour held as a number: 0x00BBGGRR (red in the low byte).
using Colour = std::uint32_t;

constexpr Colour makeColour(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

class Picture {
public:
    Picture() = default;
    Picture(int width, int height) { resize(width, height); }

    // Sizes below zero are treated as zero; contents become black.
    void resize(int width, int height);
    void fill(Colour colour);

    int width() const { return width_; }
    int height() const { return height_; }
    int rowBytes() const { return width_ * 3; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    std::uint8_t* row(int y) { return bytes_.data() + static_cast<std::size_t>(y) * rowBytes(); }
    const std::uint8_t* row(int y) const { return bytes_.data() + static_cast<std::size_t>(y) * rowBytes(); }
    std::span<std::uint8_t> bytes() { return bytes_; }
    std::span<const std::uint8_t> bytes() const { return bytes_; }

    // Pixel access for tests and slow paths; no bounds check beyond debug builds.
    Colour pixel(int x, int y) const;
    void setPixel(int x, int y, Colour colour);

    // Copies a rectangle of another picture, clipped to both pictures.
    void copyFrom(const Picture& source, int srcX, int srcY, int width, int height, int dstX, int dstY);

    bool operator==(const Picture&) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> bytes_;
};

} // namespace veskar
