#include "alpha_mask.h"

namespace vsktool {

veskar::Picture withAlphaMask(std::span<const std::uint8_t> bgra, int width, int height, MaskSide side) {
    const bool right = side == MaskSide::Right;
    veskar::Picture out(right ? width * 2 : width, right ? height : height * 2);
    const auto bytes = out.bytes();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t from = (static_cast<std::size_t>(y) * width + x) * 4;
            const std::size_t colour =
                static_cast<std::size_t>(y) * out.rowBytes() + static_cast<std::size_t>(x) * 3;
            const std::size_t mask = right ? colour + static_cast<std::size_t>(width) * 3
                                           : colour + static_cast<std::size_t>(height) * out.rowBytes();
            for (int c = 0; c < 3; ++c) {
                bytes[colour + c] = bgra[from + c];
                bytes[mask + c] = bgra[from + 3];
            }
        }
    }
    return out;
}

} // namespace vsktool
