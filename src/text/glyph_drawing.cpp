// Blending prepared glyphs into pictures with the masked-row kernel: a group
// whose 8 mask bytes are all 0 keeps the picture under it, any other byte
// becomes min(255, under * (255 - m) / 256 + glyph * m / 256).

#include <algorithm>
#include <array>
#include <cstring>

#include "graphics/kernels.h"
#include "shell/engine.h"
#include "text/glyphs.h"

namespace veskar {

namespace {

constexpr int kRowBytes = kGlyphCellWidth * 3; // 96 bytes, 12 groups of 8
constexpr int kRowGroups = kRowBytes / 8;

// Blends one 32-pixel row at pixel x of `row`. A row that would reach past
// either side of the picture is blended through a scratch copy and only its
// visible part written back, so a badly placed glyph cannot write outside
// the picture, and what is visible looks as it would unclipped.
void blendCellRow(std::uint8_t* row, int pictureWidth, int x, const std::uint8_t* tile,
                  const std::uint8_t* mask) {
    if (x >= 0 && x + kGlyphCellWidth <= pictureWidth) {
        std::uint8_t* at = row + x * 3;
        MaskBlendRow(at, tile, mask, kRowGroups, at);
        return;
    }
    const int first = std::max(0, -x);
    const int last = std::min(kGlyphCellWidth, pictureWidth - x); // exclusive
    if (first >= last) return;
    std::array<std::uint8_t, kRowBytes> scratch{};
    const std::size_t offset = static_cast<std::size_t>(first) * 3;
    const std::size_t bytes = static_cast<std::size_t>(last - first) * 3;
    std::memcpy(scratch.data() + offset, row + (x + first) * 3, bytes);
    MaskBlendRow(scratch.data(), tile, mask, kRowGroups, scratch.data());
    std::memcpy(row + (x + first) * 3, scratch.data() + offset, bytes);
}

} // namespace

void Glyphs::DrawGlyph(Picture& picture, int x, int y) {
    // Colour number 0 is whatever the text colour is now: the tile follows
    // every change of S037, also those made since the colour was selected.
    if (selectedColour_ == 0) SetTextColour(0);
    // Shadow one pixel to the right (its mask is already one row down), then
    // the glyph on top.
    for (int r = 0; r < kGlyphCellHeight && y + r < picture.height(); ++r) {
        if (y + r < 0) continue;
        blendCellRow(picture.row(y + r), picture.width(), x + 1, shadowTile.row(r), shadowMask.row(r));
    }
    for (int r = 0; r < kGlyphCellHeight && y + r < picture.height(); ++r) {
        if (y + r < 0) continue;
        blendCellRow(picture.row(y + r), picture.width(), x, textTile.row(r), glyphMask.row(r));
    }
}

void Glyphs::DrawTextString(std::string_view text, int x0, Picture& picture, int colourNumber, int y) {
    SetTextColour(colourNumber);
    const int pitch = engine_.definition.TX_PITCH_X;
    // The text may come from a fixed buffer: it ends at the first zero byte.
    const std::size_t end = std::min(text.size(), text.find('\0'));
    for (std::size_t i = 0; i < end;) {
        const std::size_t length = glyphByteLength(text.substr(i, end - i));
        PrepareGlyph(text.substr(i, length));
        DrawGlyph(picture, textCharX(x0, static_cast<int>(i) + 1, pitch), y);
        i += length;
    }
}

void Glyphs::DrawTextCentred(std::string_view text, int cx, Picture& picture, int colourNumber, int y) {
    SetTextColour(colourNumber);
    const int pitch = engine_.definition.TX_PITCH_X;
    const std::size_t end = std::min(text.size(), text.find('\0'));
    const int length = static_cast<int>(end);
    for (std::size_t i = 0; i < end;) {
        const std::size_t n = glyphByteLength(text.substr(i, end - i));
        PrepareGlyph(text.substr(i, n));
        DrawGlyph(picture, centredTextCharX(cx, static_cast<int>(i) + 1, length, pitch), y);
        i += n;
    }
}

} // namespace veskar
