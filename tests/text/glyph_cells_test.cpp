#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "text/glyphs.h"

namespace veskar {
namespace {

int nonZero(const GlyphCell& cell) {
    return static_cast<int>(std::count_if(cell.begin(), cell.end(), [](std::uint8_t v) { return v != 0; }));
}

TEST(GlyphPixelSize, PointsToPixelsRoundToNearest) {
    struct Case {
        int points, pixels;
    };
    for (auto [points, pixels] : {Case{18, 24}, Case{19, 25}, Case{20, 27}, Case{21, 28}, Case{22, 29},
                                  Case{23, 31}, Case{24, 32}, Case{0, 0}, Case{-19, -25}}) {
        EXPECT_EQ(glyphPixelSize(points), pixels) << points;
    }
    // A stored size far out of range must not overflow.
    EXPECT_GT(glyphPixelSize(2000000000), 0);
}

TEST(ToneCurve, FaintEdgesShowAndUpperLevelsSaturate) {
    const auto& table = toneCurveTable();
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[1], 93);
    EXPECT_EQ(table[20], 150);
    EXPECT_EQ(table[54], 252);
    EXPECT_EQ(table[55], 255);
    EXPECT_EQ(table[64], 255);
    EXPECT_TRUE(std::is_sorted(table.begin(), table.end()));
}

TEST(GlyphCode, FormedWithTheLeadByteTest) {
    struct Case {
        std::string_view bytes;
        std::uint16_t code;
        std::size_t length;
    };
    const Case cases[] = {
        {"A", 0x41, 1},
        {"\x82\xA0", 0x82A0, 2},
        {"\xE0\x40", 0xE040, 2},
        {"\xB1\x41", 0xB1, 2}, // half-width katakana takes its neighbour along but draws alone
        {"\x82", 0x8200, 1},   // a lead byte at the end of the text stands alone
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(glyphCode(c.bytes), c.code) << std::hex << c.code;
        EXPECT_EQ(glyphByteLength(c.bytes), c.length) << std::hex << c.code;
    }
}

TEST(TextPositions, OnePitchPerByte) {
    // Three two-byte characters centred on 400 with a pitch of 13.
    EXPECT_EQ(centredTextCharX(400, 1, 6, 13), 374);
    EXPECT_EQ(centredTextCharX(400, 3, 6, 13), 400);
    EXPECT_EQ(centredTextCharX(400, 5, 6, 13), 426);
    // The half width truncates toward zero.
    EXPECT_EQ(centredTextCharX(0, 1, 3, 13), 13 - 19);
    EXPECT_EQ(centredTextCharX(0, 1, 3, -13), -13 + 19);
    EXPECT_EQ(textCharX(100, 3, 13), 139);
}

GlyphRaster boxRaster(int width, int height, int originX, int originY, std::uint8_t level) {
    GlyphRaster r;
    r.width = width;
    r.height = height;
    r.originX = originX;
    r.originY = originY;
    r.levels.assign(static_cast<std::size_t>(width * height), level);
    return r;
}

TEST(CellFromRaster, PlacesTheBlackBoxBelowTheAscent) {
    GlyphRaster r = boxRaster(2, 3, 5, 10, 64);
    r.levels[1] = 0; // row 0, column 1 stays empty
    r.levels[2] = 1; // row 1, column 0 is the faintest level
    const auto cell = cellFromRaster(r, 22);
    ASSERT_TRUE(cell);
    // Top row: ascent - originY + 2 = 14.
    EXPECT_EQ(cellAt(*cell, 14, 5), 255);
    EXPECT_EQ(cellAt(*cell, 14, 6), 0);
    EXPECT_EQ(cellAt(*cell, 15, 5), 93);
    EXPECT_EQ(cellAt(*cell, 16, 6), 255);
    EXPECT_EQ(nonZero(*cell), 5);
}

TEST(CellFromRaster, DropsPixelsOutsideTheCell) {
    struct Case {
        const char* name;
        GlyphRaster raster;
        int ascent;
        int expected;
    };
    const Case cases[] = {
        {"left", boxRaster(3, 2, -1, 10, 64), 22, 4},
        {"right", boxRaster(3, 2, 31, 10, 64), 22, 2},
        {"above", boxRaster(2, 4, 0, 30, 64), 22, 0}, // rows -6 ... -3
        {"below", boxRaster(2, 4, 0, 0, 64), 30, 6},  // rows 32 ... 35: three fit
        {"absurd", boxRaster(2, 2, 2000000000, -2000000000, 64), 2000000000, 0},
    };
    for (const auto& c : cases) {
        const auto cell = cellFromRaster(c.raster, c.ascent);
        ASSERT_TRUE(cell) << c.name;
        EXPECT_EQ(nonZero(*cell), c.expected) << c.name;
    }
}

TEST(CellFromRaster, RefusesEmptyAndOversizedRasters) {
    EXPECT_FALSE(cellFromRaster(boxRaster(0, 0, 0, 0, 0), 20));
    EXPECT_FALSE(cellFromRaster(boxRaster(5, 0, 0, 0, 0), 20));
    EXPECT_FALSE(cellFromRaster(boxRaster(32, 35, 0, 20, 64), 20)); // 1120 bytes
    EXPECT_FALSE(cellFromRaster(boxRaster(40, 28, 0, 20, 64), 20));
    EXPECT_TRUE(cellFromRaster(boxRaster(33, 33, 0, 20, 64), 20)); // 1089 bytes
    GlyphRaster shortLevels = boxRaster(4, 4, 0, 10, 64);
    shortLevels.levels.resize(10);
    EXPECT_FALSE(cellFromRaster(shortLevels, 20));
}

TEST(ShadowCell, NeighboursAveragedAndMovedDownOneRow) {
    GlyphCell cell{};
    cellAt(cell, 10, 10) = 255;
    const GlyphCell shadow = shadowCell(cell);
    // Each neighbour of (10, 10) sees a quarter of it, one row lower; the
    // pixel itself does not count.
    EXPECT_EQ(cellAt(shadow, 10, 10), 63); // from (9, 10)
    EXPECT_EQ(cellAt(shadow, 12, 10), 63); // from (11, 10)
    EXPECT_EQ(cellAt(shadow, 11, 9), 63);  // from (10, 9)
    EXPECT_EQ(cellAt(shadow, 11, 11), 63); // from (10, 11)
    EXPECT_EQ(cellAt(shadow, 11, 10), 0);
    EXPECT_EQ(nonZero(shadow), 4);
}

TEST(ShadowCell, BorderStaysEmpty) {
    GlyphCell full;
    full.fill(255);
    const GlyphCell shadow = shadowCell(full);
    for (int r = 0; r < kGlyphCellHeight; ++r)
        for (int c = 0; c < kGlyphCellWidth; ++c) {
            const bool inside = r >= 2 && c >= 1 && c <= 30;
            EXPECT_EQ(cellAt(shadow, r, c), inside ? 255 : 0) << r << "," << c;
        }
}

TEST(GaijiCell, BlueBytesOfTheTopLeft24x24) {
    Picture gaiji(30, 28);
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 30; ++x)
            gaiji.setPixel(x, y, makeColour(7, 9, y * 8 + x));
    const GlyphCell cell = gaijiCell(gaiji);
    EXPECT_EQ(cellAt(cell, 2, 2), 0);
    EXPECT_EQ(cellAt(cell, 2, 3), 1);
    EXPECT_EQ(cellAt(cell, 25, 25), 23 * 8 + 23);
    EXPECT_EQ(cellAt(cell, 26, 25), 0); // picture row 24 is not used
    EXPECT_EQ(cellAt(cell, 25, 26), 0);
    EXPECT_EQ(cellAt(cell, 1, 2), 0);
    EXPECT_EQ(nonZero(cell), 24 * 24 - 1);
}

TEST(GaijiCell, MissingOrSmallPicture) {
    EXPECT_EQ(nonZero(gaijiCell(Picture())), 0);
    Picture small(3, 2);
    small.fill(makeColour(0, 0, 200));
    const GlyphCell cell = gaijiCell(small);
    EXPECT_EQ(nonZero(cell), 6);
    EXPECT_EQ(cellAt(cell, 3, 4), 200);
}

TEST(CellToMask, ThreeEqualBytesPerPixel) {
    GlyphCell cell{};
    cellAt(cell, 0, 0) = 1;
    cellAt(cell, 34, 31) = 200;
    Picture mask;
    cellToMask(cell, mask);
    ASSERT_EQ(mask.width(), 32);
    ASSERT_EQ(mask.height(), 35);
    EXPECT_EQ(mask.pixel(0, 0), makeColour(1, 1, 1));
    EXPECT_EQ(mask.pixel(31, 34), makeColour(200, 200, 200));
    const auto bytes = mask.bytes();
    EXPECT_EQ(std::accumulate(bytes.begin(), bytes.end(), 0), 3 * 201);
}

} // namespace
} // namespace veskar
