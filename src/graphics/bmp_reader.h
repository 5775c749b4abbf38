#pragma once
// Uncompressed Windows BMP files of 8 (palette), 24 and 32 bits a pixel: the
// panic picture beside the game and pictures handed to the authoring tool.

#include <cstdint>
#include <expected>
#include <span>
#include <string>

#include "core/picture.h"

namespace veskar {

// Bottom-up (positive height) and top-down (negative height) files with a
// BITMAPINFOHEADER or a later version of it. Every size and offset is
// checked against the bytes given; compressed files, other depths and
// palette indexes past the palette are refused.
std::expected<Picture, std::string> ReadBmp(std::span<const std::uint8_t> bytes);

} // namespace veskar
