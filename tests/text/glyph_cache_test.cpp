#include <gtest/gtest.h>

#include <algorithm>

#include "text/fake_font_source.h"
#include "text/glyphs.h"

namespace veskar {
namespace {

using testing::FakeFontSource;

bool isEmpty(const GlyphCell& cell) {
    return std::all_of(cell.begin(), cell.end(), [](std::uint8_t v) { return v == 0; });
}

GlyphCell expectedCell(std::uint16_t code, int size, bool bold = false) {
    FakeFontSource reference;
    return *renderGlyphCell(reference, GlyphFont{"", size, bold}, code);
}

class GlyphRendererTest : public ::testing::Test {
protected:
    GlyphRendererTest() {
        renderer.font = GlyphFont{"face", 25, false};
        renderer.gaiji.fill(0);
        cellAt(renderer.gaiji, 5, 5) = 77;
        renderer.RebuildGlyphCache();
    }

    FakeFontSource fonts;
    GlyphRenderer renderer{&fonts};
};

TEST_F(GlyphRendererTest, RebuildStoresGaijiThenTheCommonSet) {
    const GlyphCache& cache = renderer.cache();
    // Every common code but the ideographic space, which has no raster.
    EXPECT_EQ(cache.count(), 1 + static_cast<int>(preRenderedCodes().size()) - 1);
    EXPECT_EQ(cache.codeAt(0), kGaijiCode);
    EXPECT_EQ(cache.codeAt(1), 0x829F);
    EXPECT_EQ(cache.codeAt(cache.count() - 1), 0x8178);
    EXPECT_EQ(fonts.glyphCalls, static_cast<int>(preRenderedCodes().size()));
    EXPECT_EQ(fonts.face, "face");
    EXPECT_EQ(fonts.size, 25);
}

TEST_F(GlyphRendererTest, CachedCodesAreNotRenderedAgain) {
    const int calls = fonts.glyphCalls;
    renderer.RenderGlyph(0x82A0);
    EXPECT_EQ(fonts.glyphCalls, calls);
    EXPECT_EQ(renderer.glyphCell(), expectedCell(0x82A0, 25));
    EXPECT_EQ(renderer.shadowMaskCell(), shadowCell(renderer.glyphCell()));

    renderer.RenderGlyph(0x8ABF); // not pre-rendered
    EXPECT_EQ(fonts.glyphCalls, calls + 1);
    renderer.RenderGlyph(0x82A0);
    renderer.RenderGlyph(0x8ABF);
    EXPECT_EQ(fonts.glyphCalls, calls + 1);
    EXPECT_EQ(renderer.glyphCell(), expectedCell(0x8ABF, 25));
}

TEST_F(GlyphRendererTest, CodesWithoutRasterDrawNothingAndAreAskedAgain) {
    renderer.RenderGlyph(0x82A0);
    const int count = renderer.cache().count();
    const int calls = fonts.glyphCalls;
    renderer.RenderGlyph(0x8140); // pre-rendered list, but no raster
    EXPECT_TRUE(isEmpty(renderer.glyphCell()));
    EXPECT_TRUE(isEmpty(renderer.shadowMaskCell()));
    renderer.RenderGlyph(0x8140);
    EXPECT_EQ(fonts.glyphCalls, calls + 2);
    EXPECT_EQ(renderer.cache().count(), count);
}

TEST_F(GlyphRendererTest, GaijiComesFromThePictureNeverTheFont) {
    for (int pass = 0; pass < 2; ++pass) {
        renderer.PrepareGlyph("\x9B\x95");
        EXPECT_NE(fonts.lastCode, kGaijiCode);
        EXPECT_EQ(renderer.glyphCell(), renderer.gaiji);
        renderer.RebuildGlyphCache();
    }
}

TEST_F(GlyphRendererTest, FullCacheKeepsRenderingWithoutStoring) {
    std::uint16_t code = 0x8E9F;
    while (renderer.cache().count() < GlyphCache::kCapacity)
        renderer.RenderGlyph(code++);
    EXPECT_EQ(renderer.cache().count(), 1000);

    const int calls = fonts.glyphCalls;
    const std::uint16_t extra = 0x9A40;
    renderer.RenderGlyph(extra);
    EXPECT_EQ(renderer.glyphCell(), expectedCell(extra, 25));
    renderer.RenderGlyph(extra);
    EXPECT_EQ(fonts.glyphCalls, calls + 2);
    EXPECT_EQ(renderer.cache().count(), 1000);
    // Codes stored before the cache filled are still served from it.
    renderer.RenderGlyph(0x8E9F);
    EXPECT_EQ(fonts.glyphCalls, calls + 2);
}

TEST_F(GlyphRendererTest, RebuildAtANewSizeDropsStaleCells) {
    renderer.RenderGlyph(0x8ABF);
    renderer.font.pixelSize = 32;
    // Without a rebuild the cache keeps serving what it holds.
    renderer.RenderGlyph(0x8ABF);
    EXPECT_EQ(renderer.glyphCell(), expectedCell(0x8ABF, 25));
    renderer.RebuildGlyphCache();
    renderer.RenderGlyph(0x8ABF);
    EXPECT_EQ(renderer.glyphCell(), expectedCell(0x8ABF, 32));
    renderer.RenderGlyph(0x82A0);
    EXPECT_EQ(renderer.glyphCell(), expectedCell(0x82A0, 32));
    EXPECT_NE(expectedCell(0x82A0, 32), expectedCell(0x82A0, 25));
}

TEST_F(GlyphRendererTest, EveryRenderSelectsTheFontAgain) {
    renderer.font.bold = true;
    const int selects = fonts.selects;
    renderer.RenderGlyph(0x8ABF);
    EXPECT_EQ(fonts.selects, selects + 1);
    EXPECT_TRUE(fonts.bold);
    EXPECT_EQ(renderer.glyphCell(), expectedCell(0x8ABF, 25, true));
}

TEST(GlyphRendererWithoutFonts, OnlyTheGaijiDraws) {
    GlyphRenderer renderer(nullptr);
    cellAt(renderer.gaiji, 3, 3) = 9;
    renderer.RebuildGlyphCache();
    EXPECT_EQ(renderer.cache().count(), 1);
    renderer.PrepareGlyph("\x82\xA0");
    EXPECT_TRUE(isEmpty(renderer.glyphCell()));
    renderer.PrepareGlyph("\x9B\x95");
    EXPECT_EQ(renderer.glyphCell(), renderer.gaiji);
    EXPECT_FALSE(isEmpty(renderer.shadowMaskCell()));
}

TEST(GlyphRendererMasks, EmptyAfterAGlyphWithoutRaster) {
    FakeFontSource fonts;
    GlyphRenderer renderer(&fonts);
    renderer.RenderGlyph(0x82A0);
    ASSERT_FALSE(isEmpty(renderer.glyphCell()));
    renderer.RenderGlyph(0x20);
    EXPECT_TRUE(isEmpty(renderer.glyphCell()));
    EXPECT_TRUE(isEmpty(renderer.shadowMaskCell()));
}

} // namespace
} // namespace veskar
