#pragma once
// A font source whose glyphs are plain boxes sized by the pixel size, so
// tests can tell which size and code a cell was rendered from.

#include <cstdint>
#include <set>
#include <string>

#include "platform/font_source.h"

namespace veskar::testing {

class FakeFontSource : public FontSource {
public:
    void selectFace(const std::string& faceName, int pixelSize, bool bold) override {
        face = faceName;
        size = pixelSize;
        this->bold = bold;
        ++selects;
    }
    FontMetrics metrics() override { return {size - 3, 3, size}; }
    GlyphRaster glyph(std::uint16_t code) override {
        ++glyphCalls;
        lastCode = code;
        GlyphRaster r;
        r.advance = size;
        if (code == 0x8140 || code == 0x20 || missing.contains(code)) return r;
        // A box a quarter of the size wide and a third high, one level per
        // pixel of the box so every pixel is told apart; bold adds a column.
        r.width = size / 4 + (bold ? 1 : 0);
        r.height = size / 3;
        r.originX = 1;
        r.originY = size - 6;
        r.levels.resize(static_cast<std::size_t>(r.width * r.height));
        for (std::size_t i = 0; i < r.levels.size(); ++i)
            r.levels[i] = static_cast<std::uint8_t>(1 + (i + code) % 64);
        return r;
    }

    std::string face;
    int size = 0;
    bool bold = false;
    int selects = 0;
    int glyphCalls = 0;
    std::uint16_t lastCode = 0;
    std::set<std::uint16_t> missing;
};

} // namespace veskar::testing
