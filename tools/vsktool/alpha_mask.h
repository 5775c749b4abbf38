#pragma once
// PNG pictures with transparency, as authors draw them, turned into the
// picture-plus-mask layout the engine draws: the colours on one half, the
// alpha as a grey mask (255 shows the picture, 0 hides it) on the other.

#include <cstdint>
#include <span>

#include "core/picture.h"

namespace vsktool {

enum class MaskSide {
    Right,  // sprites and overlays: picture left, mask right (twice as wide)
    Bottom, // the message windows: picture on top, mask below (twice as high)
};

// `bgra` holds width x height pixels, 4 bytes each (blue, green, red, alpha), rows from the top.
veskar::Picture withAlphaMask(std::span<const std::uint8_t> bgra, int width, int height, MaskSide side);

} // namespace vsktool
