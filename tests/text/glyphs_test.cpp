#include <gtest/gtest.h>

#include "backends/headless/headless_host.h"
#include "backends/headless/ini_settings_store.h"
#include "backends/headless/virtual_audio_device.h"
#include "core/sjis.h"
#include "shell/engine.h"
#include "text/fake_font_source.h"
#include "text/glyphs.h"

namespace veskar {
namespace {

using testing::FakeFontSource;

class GlyphsTest : public ::testing::Test {
protected:
    GlyphsTest() {
        engine.settings.FontName = sjisText("ＭＳ ゴシック");
        engine.settings.FONTSIZE = 19;
        engine.settings.FONTBold = 1;
        engine.vars.S(37) = 0xFFFFFF;
        Picture gaiji(24, 24);
        gaiji.setPixel(0, 0, makeColour(0, 0, 99));
        glyphs.SetupTextFont(gaiji);
    }

    HeadlessHost host{HeadlessOptions{}};
    IniSettingsStore store;
    VirtualAudioDevice audio{host.clock()};
    FakeFontSource fonts;
    Engine engine{Platform{host, host.clock(), store, audio, &fonts}, EngineOptions{}};
    Glyphs glyphs{engine};
};

TEST_F(GlyphsTest, FontComesFromTheSettings) {
    EXPECT_EQ(fonts.face, sjisText("ＭＳ ゴシック"));
    EXPECT_EQ(fonts.size, 25);
    EXPECT_TRUE(fonts.bold);
    glyphs.PrepareGlyph("\x9B\x95");
    EXPECT_EQ(glyphs.glyphMask.pixel(2, 2), makeColour(99, 99, 99));
}

TEST_F(GlyphsTest, SizeIsTakenAgainForEveryGlyph) {
    engine.settings.FONTSIZE = 24;
    glyphs.PrepareGlyph("\x8A\xBF");
    EXPECT_EQ(fonts.size, 32);
    // Face and weight change only with a rebuild.
    engine.settings.FONTBold = 0;
    glyphs.PrepareGlyph("\x8A\xC0");
    EXPECT_TRUE(fonts.bold);
    glyphs.RebuildGlyphCache();
    EXPECT_FALSE(fonts.bold);
}

TEST_F(GlyphsTest, MasksFollowThePreparedGlyph) {
    glyphs.PrepareGlyph("\x82\xA0");
    Picture expected;
    cellToMask(glyphs.renderer.glyphCell(), expected);
    EXPECT_EQ(glyphs.glyphMask, expected);
    cellToMask(shadowCell(glyphs.renderer.glyphCell()), expected);
    EXPECT_EQ(glyphs.shadowMask, expected);
    glyphs.PrepareGlyph(" ");
    EXPECT_EQ(glyphs.glyphMask, Picture(32, 35));
    EXPECT_EQ(glyphs.shadowMask, Picture(32, 35));
}

TEST_F(GlyphsTest, ColourNumbers) {
    struct Case {
        int number;
        Colour colour;
    };
    engine.vars.S(37) = static_cast<std::int32_t>(makeColour(10, 20, 30));
    for (auto [number, colour] : {Case{1, makeColour(0, 128, 0)}, Case{7, makeColour(192, 192, 192)},
                                  Case{8, makeColour(255, 255, 255)}, Case{0, makeColour(10, 20, 30)},
                                  Case{15, makeColour(192, 192, 192)}, Case{2, makeColour(255, 0, 0)}}) {
        glyphs.SetTextColour(number);
        EXPECT_EQ(glyphs.LastTileColour, colour) << number;
        EXPECT_EQ(glyphs.textTile.pixel(31, 34), colour) << number;
    }
}

TEST_F(GlyphsTest, SameColourDoesNotRefillTheTile) {
    // Start-up selected 1 then 0 (white).
    EXPECT_EQ(glyphs.tileFills, 2);
    EXPECT_EQ(glyphs.LastTileColour, makeColour(255, 255, 255));
    glyphs.SetTextColour(8); // white again
    glyphs.SetTextColour(0);
    EXPECT_EQ(glyphs.tileFills, 2);
    glyphs.SetTextColour(3);
    glyphs.SetTextColour(3);
    EXPECT_EQ(glyphs.tileFills, 3);
    EXPECT_EQ(glyphs.shadowTile.pixel(0, 0), makeColour(0, 0, 0));
}

} // namespace
} // namespace veskar
