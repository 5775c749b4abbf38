#pragma once
// Glyph rasters for the text renderer: a face looked up by name, glyphs of
// Shift-JIS codes in 65 grey levels (0-64) with their black box and origin.

#include <cstdint>
#include <string>
#include <vector>

namespace veskar {

struct GlyphRaster {
    int width = 0; // black box
    int height = 0;
    int originX = 0;                  // left of the black box from the pen position
    int originY = 0;                  // top of the black box above the baseline
    int advance = 0;                  // pen advance in pixels
    std::vector<std::uint8_t> levels; // width * height bytes, 0 ... 64, rows from the top
};

struct FontMetrics {
    int ascent = 0;
    int descent = 0;
    int height = 0;
};

class FontSource {
public:
    virtual ~FontSource() = default;
    // Selects the face (Shift-JIS name, for example a Windows face name) and
    // pixel size; a missing face falls back to an installed Japanese face.
    virtual void selectFace(const std::string& faceName, int pixelSize, bool bold) = 0;
    virtual FontMetrics metrics() = 0;
    // `code` is a one-byte character or lead * 256 + trail of a two-byte one.
    virtual GlyphRaster glyph(std::uint16_t code) = 0;
};

} // namespace veskar
