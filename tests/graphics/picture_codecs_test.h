#pragma once
// Files the graphics tests make for themselves: JPEG through libjpeg, BMP by hand.

#include <cstdint>
#include <vector>

#include "core/picture.h"

namespace veskar::test {

std::vector<std::uint8_t> encodeJpeg(const Picture& picture, int quality = 95);
// A progressive JPEG (libjpeg's standard scan script), full-resolution colour.
std::vector<std::uint8_t> encodeProgressiveJpeg(const Picture& picture);
// The same file with other dimensions written into its frame header: the
// scans then hold far less data than the header promises.
std::vector<std::uint8_t> withJpegDimensions(std::vector<std::uint8_t> jpeg, int width, int height);
// A 24-bit BMP, rows padded to 4 bytes; top-down files store a negative height.
std::vector<std::uint8_t> encodeBmp(const Picture& picture, bool topDown = false);

} // namespace veskar::test
