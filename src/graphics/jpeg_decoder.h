#pragma once
// Baseline JPEG pictures (the JPEG archive's entries, animation frames) into
// engine pictures.

#include <cstdint>
#include <expected>
#include <span>
#include <string>

#include "core/picture.h"

namespace veskar {

// Decodes a whole JPEG file held in memory. Anything the decoder rejects
// (garbage, a cut-off file, an unsupported colour space, a picture too large
// to hold) gives the decoder's message.
std::expected<Picture, std::string> DecodeJpeg(std::span<const std::uint8_t> bytes);

} // namespace veskar
