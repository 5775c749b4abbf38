#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>

#include "backends/freetype/freetype_font_source.h"
#include "core/sjis.h"
#include "text/glyphs.h"

namespace veskar {
namespace {

namespace fs = std::filesystem;

const fs::path kGothicFile = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

std::string canonicalName(const fs::path& file) {
    std::error_code error;
    const fs::path resolved = fs::canonical(file, error);
    return (error ? file : resolved).filename().string();
}

int levelSum(const GlyphRaster& raster) {
    return std::accumulate(raster.levels.begin(), raster.levels.end(), 0);
}

TEST(FaceLookup, WindowsFaceNamesReachTheIpaFonts) {
    struct Case {
        const char* name; // UTF-8
        const char* file;
    };
    const Case cases[] = {
        {"ＭＳ ゴシック", "ipag.ttf"}, {"ＭＳ Ｐゴシック", "ipagp.ttf"}, {"MS Gothic", "ipag.ttf"},
        {"ms pgothic", "ipagp.ttf"},   {"ＭＳ 明朝", "ipam.ttf"},        {"ＭＳ Ｐ明朝", "ipamp.ttf"},
        {"MS Mincho", "ipam.ttf"},     {"IPAPGothic", "ipagp.ttf"},
    };
    FreeTypeFontSource fonts;
    ::testing::internal::CaptureStderr();
    for (const auto& c : cases) {
        fonts.selectFace(sjisText(c.name), 25, false);
        const auto face = fonts.currentFace();
        ASSERT_TRUE(face) << c.name;
        EXPECT_EQ(canonicalName(face->file), c.file) << c.name;
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(FaceLookup, OnlyTheFaceAskedForCounts) {
    // fontconfig answers every query with some font; a generic default must
    // not pass for the face named.
    EXPECT_FALSE(lookupFace("No Such Face 1234"));
    EXPECT_FALSE(lookupFace(""));
    EXPECT_TRUE(lookupFace("IPAMincho"));
    EXPECT_EQ(substituteFaceName("ＭＳ　ゴシック"), "IPAGothic");
    EXPECT_EQ(substituteFaceName("Arial"), std::nullopt);
}

TEST(FaceLookup, MissingFaceFallsBackWithOneLine) {
    FreeTypeFontSource fonts;
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        fonts.selectFace("No Such Face 1234", 25, false);
        fonts.selectFace(sjisText("ＭＳ 明朝"), 25, false);
    }
    fonts.selectFace("No Such Face 1234", 25, false);
    const GlyphRaster raster = fonts.glyph(0x82A0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("No Such Face 1234"), std::string::npos) << err;
    ASSERT_TRUE(fonts.currentFace());
    EXPECT_EQ(canonicalName(fonts.currentFace()->file), "ipag.ttf");
    EXPECT_GT(raster.width, 0);
}

TEST(FaceLookup, NoFaceAtAllDrawsNothing) {
    ::testing::internal::CaptureStderr();
    FreeTypeFontSource fonts(fs::path("/nonexistent/font.ttf"));
    fonts.selectFace("x", 25, true);
    const GlyphRaster raster = fonts.glyph(0x82A0);
    const FontMetrics metrics = fonts.metrics();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_FALSE(fonts.currentFace());
    EXPECT_EQ(raster.width, 0);
    EXPECT_TRUE(raster.levels.empty());
    EXPECT_EQ(metrics.ascent, 0);
}

class PinnedFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kGothicFile)) GTEST_SKIP() << kGothicFile << " is not installed";
    }
    GlyphRaster render(std::uint16_t code, int size, bool bold = false) {
        fonts.selectFace("", size, bold);
        return fonts.glyph(code);
    }
    FreeTypeFontSource fonts{kGothicFile};
};

TEST_F(PinnedFontTest, AscentFollowsThePixelSize) {
    struct Case {
        int size, ascent;
    };
    for (auto [size, ascent] : {Case{24, 21}, Case{25, 22}, Case{32, 28}, Case{9, 8}}) {
        fonts.selectFace("", size, false);
        const FontMetrics m = fonts.metrics();
        EXPECT_EQ(m.ascent, ascent) << size;
        EXPECT_GE(m.ascent + m.descent, size) << size;
    }
}

TEST_F(PinnedFontTest, GlyphsFitTheCellAtEveryOfferedSize) {
    const std::uint16_t codes[] = {0x82A0, 0x8ABF, 0x8175, 0x815B, 0x41, 0x67, 0x8142, 0x9F9D};
    for (int points = 18; points <= 24; ++points) {
        const int size = glyphPixelSize(points);
        fonts.selectFace("", size, false);
        const int ascent = fonts.metrics().ascent;
        for (std::uint16_t code : codes) {
            const GlyphRaster r = fonts.glyph(code);
            ASSERT_GT(r.width, 0) << std::hex << code;
            ASSERT_EQ(r.levels.size(), static_cast<std::size_t>(r.width * r.height));
            EXPECT_LE(*std::max_element(r.levels.begin(), r.levels.end()), 64);
            const int top = ascent - r.originY + 2;
            EXPECT_GE(top, 0) << std::hex << code << " at " << std::dec << size;
            EXPECT_LE(top + r.height, kGlyphCellHeight) << std::hex << code << " at " << std::dec << size;
            EXPECT_GE(r.originX, 0) << std::hex << code;
            EXPECT_LE(r.originX + r.width, kGlyphCellWidth) << std::hex << code;
            EXPECT_TRUE(cellFromRaster(r, ascent)) << std::hex << code;
        }
    }
}

TEST_F(PinnedFontTest, HiraganaA) {
    const GlyphRaster a = render(0x82A0, 25);
    EXPECT_EQ(a.advance, 25); // full width
    EXPECT_GE(a.width, 15);
    EXPECT_GE(a.height, 15);
    // Antialiased: solid strokes and soft edges.
    EXPECT_EQ(*std::max_element(a.levels.begin(), a.levels.end()), 64);
    EXPECT_TRUE(std::any_of(a.levels.begin(), a.levels.end(), [](int v) { return v > 0 && v < 64; }));
    // Larger sizes give larger glyphs.
    EXPECT_GT(render(0x82A0, 32).height, a.height);
}

TEST_F(PinnedFontTest, BoldIsWiderAndDarker) {
    const GlyphRaster regular = render(0x8ABF, 25);
    const GlyphRaster bold = render(0x8ABF, 25, true);
    EXPECT_GT(bold.width, regular.width);
    EXPECT_GT(levelSum(bold), levelSum(regular) * 11 / 10);
    EXPECT_GE(bold.advance, regular.advance);
    // Emboldening one glyph must not leak into the next regular one.
    const GlyphRaster again = render(0x8ABF, 25);
    EXPECT_EQ(again.levels, regular.levels);
    EXPECT_EQ(again.width, regular.width);
}

TEST_F(PinnedFontTest, SpacesHaveAnAdvanceButNoBox) {
    for (std::uint16_t code : {std::uint16_t{0x20}, std::uint16_t{0x8140}}) {
        const GlyphRaster r = render(code, 25);
        EXPECT_EQ(r.width * r.height, 0) << std::hex << code;
        EXPECT_TRUE(r.levels.empty());
        EXPECT_GT(r.advance, 0) << std::hex << code;
    }
    EXPECT_EQ(render(0x8140, 25).advance, 25);
}

TEST_F(PinnedFontTest, CodesWithoutCharacterAreEmpty) {
    // Trail byte missing, unassigned CP932 code, control byte, zero.
    for (std::uint16_t code : {0x8200, 0x85A0, 0xFFFF, 0x0A, 0x00}) {
        const GlyphRaster r = render(static_cast<std::uint16_t>(code), 25);
        EXPECT_TRUE(r.levels.empty()) << std::hex << code;
    }
    // Half-width katakana is a one-byte code.
    EXPECT_FALSE(render(0xB1, 25).levels.empty());
}

TEST_F(PinnedFontTest, CommonSetRendersIntoTheCache) {
    GlyphRenderer renderer(&fonts);
    renderer.font = GlyphFont{"", 25, false};
    renderer.RebuildGlyphCache();
    // The gaiji and everything but the ideographic space and 0x837F, which is
    // no character (0x7F is never a trail byte).
    EXPECT_EQ(renderer.cache().count(), 1 + static_cast<int>(preRenderedCodes().size()) - 2);
    EXPECT_EQ(renderer.cache().find(0x837F), nullptr);
    renderer.PrepareGlyph("\x82\xA0");
    const GlyphCell& cell = renderer.glyphCell();
    EXPECT_GT(std::count(cell.begin(), cell.end(), 255), 20);
    // The faintest coverage the tone curve gives is 93.
    EXPECT_TRUE(std::none_of(cell.begin(), cell.end(), [](int v) { return v > 0 && v < 93; }));
}

} // namespace
} // namespace veskar
