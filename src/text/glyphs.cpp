#include "text/glyphs.h"

#include <algorithm>
#include <climits>

#include "shell/engine.h"

namespace veskar {

int glyphPixelSize(int pointSize) {
    // Rounded half away from zero, as the platform's MulDiv rounds.
    const long long n = static_cast<long long>(pointSize) * 96;
    const long long px = n >= 0 ? (n + 36) / 72 : -((-n + 36) / 72);
    return static_cast<int>(std::clamp<long long>(px, INT_MIN, INT_MAX));
}

std::uint16_t glyphCode(std::string_view bytes) {
    if (bytes.empty()) return 0;
    const auto first = static_cast<unsigned char>(bytes[0]);
    if (!isLeadByte(first)) return first;
    const auto second = bytes.size() > 1 ? static_cast<unsigned char>(bytes[1]) : 0;
    return static_cast<std::uint16_t>(first * 256 + second);
}

std::size_t glyphByteLength(std::string_view bytes) {
    if (bytes.empty()) return 0;
    return static_cast<unsigned char>(bytes[0]) >= 0x80 && bytes.size() > 1 ? 2 : 1;
}

const std::array<std::uint8_t, 65>& toneCurveTable() {
    static constexpr auto table = [] {
        std::array<std::uint8_t, 65> t{};
        for (int g = 0; g <= 64; ++g)
            t[static_cast<std::size_t>(g)] = toneCurve(g);
        return t;
    }();
    return table;
}

std::size_t rasterBytes(const GlyphRaster& raster) {
    if (raster.width <= 0 || raster.height <= 0) return 0;
    return static_cast<std::size_t>(raster.width) * static_cast<std::size_t>(raster.height);
}

std::optional<GlyphCell> cellFromRaster(const GlyphRaster& raster, int ascent) {
    const std::size_t size = rasterBytes(raster);
    if (size == 0 || size >= kMaxRasterBytes || raster.levels.size() < size) return std::nullopt;
    GlyphCell cell{};
    // 64-bit so that absurd metrics from a broken font cannot overflow.
    const long long top = static_cast<long long>(ascent) - raster.originY + 2;
    for (int i = 0; i < raster.height; ++i) {
        const long long row = top + i;
        if (row < 0 || row >= kGlyphCellHeight) continue;
        for (int j = 0; j < raster.width; ++j) {
            const long long column = static_cast<long long>(raster.originX) + j;
            if (column < 0 || column >= kGlyphCellWidth) continue;
            const int g = raster.levels[static_cast<std::size_t>(i * raster.width + j)];
            cellAt(cell, static_cast<int>(row), static_cast<int>(column)) = toneCurve(g);
        }
    }
    return cell;
}

std::optional<GlyphCell> renderGlyphCell(FontSource& fonts, const GlyphFont& font, std::uint16_t code) {
    fonts.selectFace(font.faceName, font.pixelSize, font.bold);
    const int ascent = fonts.metrics().ascent;
    return cellFromRaster(fonts.glyph(code), ascent);
}

GlyphCell gaijiCell(const Picture& gaiji) {
    GlyphCell cell{};
    const int rows = std::min(kGaijiSize, gaiji.height());
    const int columns = std::min(kGaijiSize, gaiji.width());
    for (int r = 0; r < rows; ++r) {
        const std::uint8_t* row = gaiji.row(r);
        for (int c = 0; c < columns; ++c)
            cellAt(cell, r + 2, c + 2) = row[c * 3];
    }
    return cell;
}

GlyphCell shadowCell(const GlyphCell& cell) {
    GlyphCell shadow{};
    for (int y = 1; y <= kGlyphCellHeight - 2; ++y)
        for (int x = 1; x <= kGlyphCellWidth - 2; ++x) {
            const int sum = cellAt(cell, y - 1, x) + cellAt(cell, y, x - 1) + cellAt(cell, y, x + 1) +
                            cellAt(cell, y + 1, x);
            cellAt(shadow, y + 1, x) = static_cast<std::uint8_t>(sum / 4);
        }
    return shadow;
}

void cellToMask(const GlyphCell& cell, Picture& mask) {
    if (mask.width() != kGlyphCellWidth || mask.height() != kGlyphCellHeight)
        mask.resize(kGlyphCellWidth, kGlyphCellHeight);
    for (int r = 0; r < kGlyphCellHeight; ++r) {
        std::uint8_t* row = mask.row(r);
        for (int c = 0; c < kGlyphCellWidth; ++c) {
            const std::uint8_t v = cellAt(cell, r, c);
            row[c * 3] = v;
            row[c * 3 + 1] = v;
            row[c * 3 + 2] = v;
        }
    }
}

namespace {

constexpr std::array<std::uint16_t, 14> kPunctuation{0x8140, 0x8175, 0x8176, 0x8169, 0x816A, 0x8163, 0x8142,
                                                     0x8141, 0x8145, 0x8149, 0x8148, 0x93FA, 0x8177, 0x8178};

constexpr auto kPreRendered = [] {
    constexpr int count = (0x82F1 - 0x829F + 1) + (0x8396 - 0x8340 + 1) + (0x8258 - 0x824F + 1) + 14;
    std::array<std::uint16_t, count> codes{};
    std::size_t n = 0;
    for (int c = 0x829F; c <= 0x82F1; ++c)
        codes[n++] = static_cast<std::uint16_t>(c);
    for (int c = 0x8340; c <= 0x8396; ++c)
        codes[n++] = static_cast<std::uint16_t>(c);
    for (int c = 0x824F; c <= 0x8258; ++c)
        codes[n++] = static_cast<std::uint16_t>(c);
    for (std::uint16_t c : kPunctuation)
        codes[n++] = c;
    return codes;
}();

} // namespace

std::span<const std::uint16_t> preRenderedCodes() { return kPreRendered; }

GlyphCache::GlyphCache() : entries_(std::make_unique<std::array<Entry, kCapacity>>()) {}

const GlyphCell* GlyphCache::find(std::uint16_t code) const {
    for (int i = 0; i < count_; ++i)
        if ((*entries_)[static_cast<std::size_t>(i)].code == code)
            return &(*entries_)[static_cast<std::size_t>(i)].cell;
    return nullptr;
}

bool GlyphCache::add(std::uint16_t code, const GlyphCell& cell) {
    if (count_ >= kCapacity) return false;
    auto& entry = (*entries_)[static_cast<std::size_t>(count_++)];
    entry.code = code;
    entry.cell = cell;
    return true;
}

GlyphRenderer::GlyphRenderer(FontSource* fonts) : fonts_(fonts) {}

void GlyphRenderer::RebuildGlyphCache() {
    cache_.clear();
    working_ = gaiji;
    cache_.add(kGaijiCode, working_);
    for (std::uint16_t code : preRenderedCodes())
        RenderGlyph(code);
}

void GlyphRenderer::RenderGlyph(std::uint16_t code) {
    glyphMaskCell_.fill(0);
    shadowMaskCell_.fill(0);
    if (const GlyphCell* cached = cache_.find(code)) {
        working_ = *cached;
    } else {
        if (fonts_ == nullptr) return;
        std::optional<GlyphCell> cell = renderGlyphCell(*fonts_, font, code);
        if (!cell) return; // drawn as nothing, asked again next time
        working_ = *cell;
        cache_.add(code, working_);
    }
    glyphMaskCell_ = working_;
    shadowMaskCell_ = shadowCell(working_);
}

// --- Glyphs ------------------------------------------------------------------

Glyphs::Glyphs(Engine& engine) : renderer(engine.fonts), engine_(engine) {}

void Glyphs::syncFontSize() { renderer.font.pixelSize = glyphPixelSize(engine_.settings.FONTSIZE); }

void Glyphs::SetupTextFont(const Picture& gaiji) {
    renderer.gaiji = gaijiCell(gaiji);
    shadowTile.fill(makeColour(0, 0, 0));
    RebuildGlyphCache();
    SetTextColour(1);
    SetTextColour(0);
}

void Glyphs::RebuildGlyphCache() {
    renderer.font.faceName = engine_.settings.FontName;
    renderer.font.bold = engine_.settings.FONTBold != 0;
    syncFontSize();
    renderer.RebuildGlyphCache();
}

void Glyphs::PrepareGlyph(std::string_view bytes) {
    syncFontSize();
    renderer.PrepareGlyph(bytes);
    cellToMask(renderer.glyphCell(), glyphMask);
    cellToMask(renderer.shadowMaskCell(), shadowMask);
}

void Glyphs::SetTextColour(int n) {
    const Colour colour = n == 0 ? static_cast<Colour>(engine_.vars.S(37)) & 0xFFFFFF
                                 : palette()[static_cast<std::size_t>(n & 7)];
    if (colour == LastTileColour) return;
    textTile.fill(colour);
    LastTileColour = colour;
    ++tileFills;
}

void Glyphs::resetTextColour() {
    engine_.vars.S(37) = static_cast<std::int32_t>(makeColour(255, 255, 255));
    SetTextColour(0);
}

int textCharX(int x0, int bytePosition, int pitchX) { return x0 + bytePosition * pitchX; }

int centredTextCharX(int cx, int bytePosition, int byteLength, int pitchX) {
    // The half width truncates toward zero, as the original arithmetic did.
    return cx + bytePosition * pitchX - (byteLength * pitchX) / 2;
}

const std::array<Colour, 8>& Glyphs::palette() {
    static constexpr std::array<Colour, 8> colours{
        makeColour(255, 255, 255), makeColour(0, 128, 0), makeColour(255, 0, 0),   makeColour(128, 0, 128),
        makeColour(255, 255, 0),   makeColour(0, 0, 255), makeColour(0, 255, 255), makeColour(192, 192, 192),
    };
    return colours;
}

} // namespace veskar
