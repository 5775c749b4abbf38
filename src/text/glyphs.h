#pragma once
// Story text is drawn one character at a time as a 32 x 35 coverage cell with
// a soft shadow. Cells come from the platform's grey rasters through the
// engine's own tone curve and are cached (up to 1000, never evicted).

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/picture.h"
#include "platform/font_source.h"

namespace veskar {

class Engine;

constexpr int kGlyphCellWidth = 32;
constexpr int kGlyphCellHeight = 35;
constexpr int kGlyphCellBytes = kGlyphCellWidth * kGlyphCellHeight;

// Coverage 0 (empty) ... 255 (full), rows from the top.
using GlyphCell = std::array<std::uint8_t, kGlyphCellBytes>;

constexpr std::uint8_t& cellAt(GlyphCell& cell, int row, int column) {
    return cell[static_cast<std::size_t>(row * kGlyphCellWidth + column)];
}
constexpr std::uint8_t cellAt(const GlyphCell& cell, int row, int column) {
    return cell[static_cast<std::size_t>(row * kGlyphCellWidth + column)];
}

// The one character drawn from the `sys_gaiji` picture instead of the font.
constexpr std::uint16_t kGaijiCode = 0x9B95;
constexpr int kGaijiSize = 24;

// The face, pixel size and weight glyphs are rendered with.
struct GlyphFont {
    std::string faceName; // Shift-JIS, as the settings hold it
    int pixelSize = 25;
    bool bold = false;
};

// Points to the pixel em height: FONTSIZE x 96 / 72, to the nearest pixel.
int glyphPixelSize(int pointSize);

// Shift-JIS lead bytes (0x81-0x9F, 0xE0-0xFC).
constexpr bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The code of the character at the start of `bytes`: lead * 256 + trail for a
// two-byte character, else the first byte alone. Empty text gives 0.
std::uint16_t glyphCode(std::string_view bytes);

// Bytes the character starting at `bytes` occupies when a string is walked:
// a byte of 0x80 or more takes the next byte with it when there is one.
std::size_t glyphByteLength(std::string_view bytes);

// The tone curve from raster levels (0-64) to coverage: 0 stays 0, any other
// level g becomes min(255, 3g + 90), so faint edges still show.
constexpr std::uint8_t toneCurve(int level) {
    if (level <= 0) return 0;
    const int v = 3 * level + 90;
    return static_cast<std::uint8_t>(v > 255 ? 255 : v);
}
const std::array<std::uint8_t, 65>& toneCurveTable();

// A raster of this many bytes or more is not a glyph for a cell.
constexpr std::size_t kMaxRasterBytes = kGlyphCellBytes;
std::size_t rasterBytes(const GlyphRaster& raster);

// Places a raster in a cell: black-box row i goes to cell row
// i + (ascent - originY) + 2, column j to originX + j; pixels outside the cell
// are dropped. Nothing for an empty raster or one of kMaxRasterBytes or more.
std::optional<GlyphCell> cellFromRaster(const GlyphRaster& raster, int ascent);

// Selects the font (the size again on every call), reads the ascent and
// renders `code`; nothing when the font has no raster for it.
std::optional<GlyphCell> renderGlyphCell(FontSource& fonts, const GlyphFont& font, std::uint16_t code);

// The gaiji cell: the top-left 24 x 24 pixels of the picture (blue byte as
// coverage) two pixels right of and below the cell's corner. A missing or
// small picture leaves the rest empty.
GlyphCell gaijiCell(const Picture& gaiji);

// The shadow: each pixel the average of its four neighbours (not itself),
// moved down one row; the border rows and columns stay empty.
GlyphCell shadowCell(const GlyphCell& cell);

// A cell as a 24-bit mask picture whose three bytes per pixel are equal.
void cellToMask(const GlyphCell& cell, Picture& mask);

// The codes rendered when the cache is rebuilt, in order: hiragana, katakana,
// full-width digits and common punctuation.
std::span<const std::uint16_t> preRenderedCodes();

// Where string drawing puts the character whose first byte is at 1-based
// byte position p: one pitch per byte, so a two-byte character takes two.
int textCharX(int x0, int bytePosition, int pitchX);
int centredTextCharX(int cx, int bytePosition, int byteLength, int pitchX);

// Up to 1000 cells in insertion order; when full, further cells are not kept.
class GlyphCache {
public:
    static constexpr int kCapacity = 1000;

    GlyphCache();
    const GlyphCell* find(std::uint16_t code) const;
    // False when the cache is full.
    bool add(std::uint16_t code, const GlyphCell& cell);
    void clear() { count_ = 0; }
    int count() const { return count_; }
    std::uint16_t codeAt(int index) const { return static_cast<std::uint16_t>(entries_->at(index).code); }

private:
    struct Entry {
        std::uint32_t code = 0;
        GlyphCell cell{};
    };
    std::unique_ptr<std::array<Entry, kCapacity>> entries_;
    int count_ = 0;
};

// The glyph machinery without the engine: the cache, the working cell and the
// two masks of the glyph last prepared, for one font.
class GlyphRenderer {
public:
    // `fonts` may be null: every glyph is then empty (except the gaiji).
    explicit GlyphRenderer(FontSource* fonts);

    GlyphFont font;
    GlyphCell gaiji{};

    // Empties the cache, stores the gaiji and renders the common codes.
    void RebuildGlyphCache();
    // Makes the masks show `code`, from the cache or freshly rendered.
    void RenderGlyph(std::uint16_t code);
    void PrepareGlyph(std::string_view bytes) { RenderGlyph(glyphCode(bytes)); }

    const GlyphCell& workingCell() const { return working_; }
    const GlyphCell& glyphCell() const { return glyphMaskCell_; }
    const GlyphCell& shadowMaskCell() const { return shadowMaskCell_; }
    const GlyphCache& cache() const { return cache_; }

private:
    FontSource* fonts_;
    GlyphCache cache_;
    GlyphCell working_{};
    GlyphCell glyphMaskCell_{};
    GlyphCell shadowMaskCell_{};
};

// The engine's text glyphs: the font from the settings, the gaiji, the masks
// and colour tiles the drawing blends through.
class Glyphs {
public:
    explicit Glyphs(Engine& engine);

    // Start-up, once `sys_gaiji` is loaded (an empty picture gives an empty gaiji).
    void SetupTextFont(const Picture& gaiji);
    // Takes face, size and weight from the settings and rebuilds the cache.
    void RebuildGlyphCache();
    void PrepareGlyph(std::string_view bytes);

    // n = 0: the engine's text colour (S037); otherwise palette entry n AND 7.
    // The text tile is refilled only when the colour changes.
    void SetTextColour(int n);
    // The engine's text colour (S037) back to white, and selected.
    void resetTextColour();

    // Drawing (glyph_drawing.cpp, built with the pixel kernels).
    void DrawGlyph(Picture& picture, int x, int y);
    void DrawTextString(std::string_view text, int x0, Picture& picture, int colourNumber, int y);
    void DrawTextCentred(std::string_view text, int cx, Picture& picture, int colourNumber, int y);

    // Colours for colour numbers 1-7 (n AND 7; 0 is white).
    static const std::array<Colour, 8>& palette();

    GlyphRenderer renderer;
    Picture glyphMask{kGlyphCellWidth, kGlyphCellHeight};
    Picture shadowMask{kGlyphCellWidth, kGlyphCellHeight};
    Picture textTile{kGlyphCellWidth, kGlyphCellHeight};
    Picture shadowTile{kGlyphCellWidth, kGlyphCellHeight};
    Colour LastTileColour = 0;
    int tileFills = 0; // how often the text tile was refilled

private:
    void syncFontSize();

    Engine& engine_;
};

} // namespace veskar
