#include <gtest/gtest.h>

#include <filesystem>

#include "backends/freetype/freetype_font_source.h"
#include "text/fake_font_source.h"
#include "text/plain_text.h"

namespace veskar {
namespace {

using testing::FakeFontSource;

// Pixels that differ from `background`, and their bounding box.
struct Changed {
    int count = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Changed changedPixels(const Picture& picture, Colour background) {
    Changed c;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != background) {
                ++c.count;
                c.left = std::min(c.left, x);
                c.top = std::min(c.top, y);
                c.right = std::max(c.right, x);
                c.bottom = std::max(c.bottom, y);
            }
    return c;
}

TEST(PlainText, WidthIsTheSumOfAdvances) {
    FakeFontSource fonts;
    const PlainTextStyle style{"face", 9, false, makeColour(255, 255, 255)};
    EXPECT_EQ(measurePlainText(fonts, style, "A\x82\xA0"), 18);
    EXPECT_EQ(measurePlainText(fonts, style, std::string_view("A\0B", 3)), 9);
    EXPECT_EQ(measurePlainText(fonts, style, ""), 0);
    EXPECT_EQ(fonts.size, 9);
    EXPECT_EQ(fonts.face, "face");
}

TEST(PlainText, BlendsLevelsOverTheBackground) {
    // The fake glyph at 9 pixels: 2 x 3 box, left bearing 1, top 3 above the
    // baseline, ascent 6, levels 1 + (index + code) mod 64.
    FakeFontSource fonts;
    Picture picture(40, 40);
    picture.fill(makeColour(0, 0, 100));
    drawPlainText(fonts, {"", 9, false, makeColour(255, 0, 0)}, "\x82\xA0\x82\xA0", picture, 10, 20);
    const Changed c = changedPixels(picture, makeColour(0, 0, 100));
    EXPECT_EQ(c.count, 12);
    EXPECT_EQ(c.left, 11);
    EXPECT_EQ(c.right, 21); // second glyph one advance (9) further
    EXPECT_EQ(c.top, 23);
    EXPECT_EQ(c.bottom, 25);
    const int level = 1 + (0 + 0x82A0) % 64;
    EXPECT_EQ(picture.pixel(11, 23), makeColour((255 * level + 32) / 64, 0, (100 * (64 - level) + 32) / 64));
}

TEST(PlainText, ClippedAtEveryEdge) {
    FakeFontSource fonts;
    for (auto [x, y] :
         {std::pair{-2, 0}, std::pair{-11, 0}, std::pair{38, 0}, std::pair{0, -5}, std::pair{0, 37},
          std::pair{2000000000, 2000000000}, std::pair{-2000000000, -2000000000}}) {
        Picture picture(40, 40);
        drawPlainText(fonts, {"", 9, false, makeColour(255, 255, 255)}, "\x82\xA0\x82\xA0", picture, x, y);
        const Changed c = changedPixels(picture, 0);
        EXPECT_LE(c.count, 12) << x << "," << y;
    }
    Picture picture(40, 40);
    drawPlainText(fonts, {"", 9, false, makeColour(255, 255, 255)}, "\x82\xA0", picture, -2, 0);
    EXPECT_EQ(changedPixels(picture, 0).count, 3); // only the box's right column is left
}

TEST(PlainText, RubyWithTheInstalledFont) {
    const std::filesystem::path file = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
    if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not installed";
    FreeTypeFontSource fonts(file);
    const PlainTextStyle ruby{"", 9, false, makeColour(255, 255, 255)};
    EXPECT_EQ(measurePlainText(fonts, ruby, "\x82\xA0\x82\xA2"), 18);
    Picture picture(60, 30);
    drawPlainText(fonts, ruby, "\x82\xA0\x82\xA2", picture, 10, 5);
    const FontMetrics metrics = fonts.metrics();
    const Changed c = changedPixels(picture, 0);
    EXPECT_GT(c.count, 20);
    EXPECT_GE(c.left, 10);
    EXPECT_LT(c.right, 10 + 18);
    EXPECT_GE(c.top, 5);
    EXPECT_LT(c.bottom, 5 + metrics.ascent + metrics.descent);
}

} // namespace
} // namespace veskar
