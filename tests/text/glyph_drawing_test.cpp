// Runs once the pixel kernels are built (see src/text/glyph_drawing.cpp).
#if __has_include("graphics/kernels.h")

#include <gtest/gtest.h>

#include "backends/headless/headless_host.h"
#include "backends/headless/ini_settings_store.h"
#include "backends/headless/virtual_audio_device.h"
#include "shell/engine.h"
#include "text/fake_font_source.h"
#include "text/glyphs.h"

namespace veskar {
namespace {

using testing::FakeFontSource;

class GlyphDrawingTest : public ::testing::Test {
protected:
    GlyphDrawingTest() {
        engine.settings.FONTSIZE = 24;
        engine.definition.TX_PITCH_X = 13;
        engine.vars.S(37) = 0xFFFFFF;
        glyphs.SetupTextFont(Picture());
    }

    // Every row of `a` equals the same row of `b` shifted by dx pixels.
    static bool sameRows(const Picture& a, const Picture& b, int dx, int rows) {
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x + dx, y)) return false;
        return true;
    }

    HeadlessHost host{HeadlessOptions{}};
    IniSettingsStore store;
    VirtualAudioDevice audio{host.clock()};
    FakeFontSource fonts;
    Engine engine{Platform{host, host.clock(), store, audio, &fonts}, EngineOptions{}};
    Glyphs glyphs{engine};
};

TEST_F(GlyphDrawingTest, CentredTextPutsOneCharacterPerTwoPitches) {
    Picture drawn(800, 60), expected(800, 60);
    drawn.fill(makeColour(40, 50, 60));
    expected.fill(makeColour(40, 50, 60));
    glyphs.DrawTextCentred("\x82\xA0\x82\xA2\x82\xA4", 400, drawn, 2, 10);
    glyphs.SetTextColour(2);
    const char* chars[] = {"\x82\xA0", "\x82\xA2", "\x82\xA4"};
    const int xs[] = {374, 400, 426};
    for (int i = 0; i < 3; ++i) {
        glyphs.PrepareGlyph(chars[i]);
        glyphs.DrawGlyph(expected, xs[i], 10);
    }
    EXPECT_EQ(drawn, expected);
    EXPECT_NE(drawn.pixel(378, 20), makeColour(40, 50, 60)); // inside the first glyph
}

TEST_F(GlyphDrawingTest, StringStopsAtAZeroByte) {
    Picture drawn(200, 40), expected(200, 40);
    glyphs.DrawTextString(std::string_view("\x82\xA0\0\x82\xA2", 5), 0, drawn, 0, 0);
    glyphs.PrepareGlyph("\x82\xA0");
    glyphs.DrawGlyph(expected, 13, 0);
    EXPECT_EQ(drawn, expected);
}

TEST_F(GlyphDrawingTest, FullCoverageIsOneStepBelowTheColour) {
    Picture picture(40, 40);
    glyphs.SetTextColour(0);
    glyphs.PrepareGlyph("\x8A\xBF");
    glyphs.DrawGlyph(picture, 0, 0);
    // The fake glyph's first pixel has level 64 somewhere; find a full pixel.
    bool found = false;
    for (int y = 0; y < 35 && !found; ++y)
        for (int x = 0; x < 32 && !found; ++x)
            if (glyphs.glyphMask.pixel(x, y) == makeColour(255, 255, 255)) {
                EXPECT_EQ(picture.pixel(x, y), makeColour(254, 254, 254));
                found = true;
            }
    EXPECT_TRUE(found);
}

TEST_F(GlyphDrawingTest, BottomRowsAreCut) {
    Picture screen(800, 600), tall(800, 620);
    screen.fill(makeColour(90, 90, 90));
    tall.fill(makeColour(90, 90, 90));
    glyphs.PrepareGlyph("\x8A\xBF");
    glyphs.DrawGlyph(screen, 100, 580);
    glyphs.DrawGlyph(tall, 100, 580);
    EXPECT_TRUE(sameRows(screen, tall, 0, 600));
}

TEST_F(GlyphDrawingTest, GlyphsPastTheSidesAreClipped) {
    // Drawn into a wider picture shifted by 40 pixels, the visible part must match.
    glyphs.PrepareGlyph("\x8A\xBF");
    for (int x : {-10, -40, 790, 800, 1000}) {
        Picture narrow(800, 40), wide(880, 40);
        narrow.fill(makeColour(90, 90, 90));
        wide.fill(makeColour(90, 90, 90));
        glyphs.DrawGlyph(narrow, x, 0);
        glyphs.DrawGlyph(wide, x + 40, 0);
        EXPECT_TRUE(sameRows(narrow, wide, 40, 40)) << x;
    }
}

TEST_F(GlyphDrawingTest, BlendWorksOnWholeGroupsOfEightBytes) {
    // The fake glyph at 32 pixels covers cell columns 1-8 of rows 5-14.
    Picture picture(40, 40);
    picture.fill(makeColour(200, 200, 200));
    glyphs.PrepareGlyph(" "); // both masks empty
    glyphs.DrawGlyph(picture, 0, 0);
    EXPECT_EQ(picture, [] {
        Picture p(40, 40);
        p.fill(makeColour(200, 200, 200));
        return p;
    }());

    glyphs.PrepareGlyph("\x8A\xBF");
    glyphs.DrawGlyph(picture, 0, 0);
    // Pixel 0 has mask 0 but shares its group with covered pixels: one step darker.
    EXPECT_EQ(picture.pixel(0, 5), makeColour(199, 199, 199));
    // Groups that are all zero stay as they were.
    EXPECT_EQ(picture.pixel(0, 20), makeColour(200, 200, 200));
    EXPECT_EQ(picture.pixel(25, 5), makeColour(200, 200, 200));
}

} // namespace
} // namespace veskar

#endif
