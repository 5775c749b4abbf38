#include "text/plain_text.h"

#include <algorithm>

#include "text/glyphs.h"

namespace veskar {

namespace {

template <typename PerGlyph>
void walk(FontSource& fonts, const PlainTextStyle& style, std::string_view text, PerGlyph&& perGlyph) {
    fonts.selectFace(style.faceName, style.pixelSize, style.bold);
    const std::size_t end = std::min(text.size(), text.find('\0'));
    for (std::size_t i = 0; i < end;) {
        const std::size_t length = glyphByteLength(text.substr(i, end - i));
        perGlyph(fonts.glyph(glyphCode(text.substr(i, length))));
        i += length;
    }
}

std::uint8_t mix(int over, int under, int level) {
    return static_cast<std::uint8_t>((over * level + under * (64 - level) + 32) / 64);
}

} // namespace

int measurePlainText(FontSource& fonts, const PlainTextStyle& style, std::string_view text) {
    int width = 0;
    walk(fonts, style, text, [&](const GlyphRaster& raster) { width += raster.advance; });
    return width;
}

void drawPlainText(FontSource& fonts, const PlainTextStyle& style, std::string_view text, Picture& picture,
                   int x, int y) {
    fonts.selectFace(style.faceName, style.pixelSize, style.bold);
    const long long baseline = static_cast<long long>(y) + fonts.metrics().ascent;
    const int blue = (style.colour >> 16) & 0xFF, green = (style.colour >> 8) & 0xFF,
              red = style.colour & 0xFF;
    long long pen = x;
    walk(fonts, style, text, [&](const GlyphRaster& raster) {
        if (raster.levels.size() >=
            static_cast<std::size_t>(std::max(0, raster.width) * std::max(0, raster.height)))
            for (int i = 0; i < raster.height; ++i) {
                const long long py = baseline - raster.originY + i;
                if (py < 0 || py >= picture.height()) continue;
                std::uint8_t* row = picture.row(static_cast<int>(py));
                for (int j = 0; j < raster.width; ++j) {
                    const long long px = pen + raster.originX + j;
                    const int level =
                        std::min<int>(64, raster.levels[static_cast<std::size_t>(i * raster.width + j)]);
                    if (px < 0 || px >= picture.width() || level == 0) continue;
                    std::uint8_t* p = row + px * 3;
                    p[0] = mix(blue, p[0], level);
                    p[1] = mix(green, p[1], level);
                    p[2] = mix(red, p[2], level);
                }
            }
        pen += raster.advance;
    });
}

} // namespace veskar
