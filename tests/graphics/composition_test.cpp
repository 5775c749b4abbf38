// What the composition leaves in sceneBuffer for composite sprites and the
// one-file sprite layout, and what the parts commands draw onto the window.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/packed_picture.h"
#include "graphics/scene.h"
#include "support/fixture_game.h"

namespace veskar {
namespace {

std::vector<std::uint8_t> packed(const Picture& p) { return *EncodePackedPicture(p); }

std::vector<std::uint8_t> packedSolid(int w, int h, Colour c) {
    Picture p(w, h);
    p.fill(c);
    return packed(p);
}

const Colour kBlack = makeColour(0, 0, 0);
const Colour kWhite = makeColour(255, 255, 255);
const Colour kRed = makeColour(200, 0, 0);
const Colour kGreen = makeColour(0, 200, 0);
const Colour kBlue = makeColour(0, 0, 200);

// Full mask: the kernels blend with weights 255/256, so an opaque pixel of
// colour c comes out as c * 255 / 256 over black.
Colour opaque(Colour c) {
    const auto f = [c](int shift) { return static_cast<int>((c >> shift) & 0xFF) * 255 / 256; };
    return makeColour(f(0), f(8), f(16));
}

struct CompositionRig {
    explicit CompositionRig(int tachiType, std::string_view sprset = "") {
        game.addScript("_config", "TACHI_TYPE:" + std::to_string(tachiType) + "\nEND\n");
        game.addScript("main", "");
        if (!sprset.empty()) game.addScript("_sprset", sprset);
    }

    Engine& start() {
        rig = std::make_unique<test::HeadlessRig>(game.write());
        rig->engine.FormCreate();
        rig->engine.settings.GMode = 1;
        rig->engine.vars.S(sreg::kSlotY) = 100; // the single position's top
        return rig->engine;
    }

    Colour scene(int x, int y) { return rig->engine.pictures.sceneBuffer.pixel(x, y); }

    test::FixtureGame game;
    std::unique_ptr<test::HeadlessRig> rig;
};

TEST(Composition, OneFileSpritesCarryTheirMaskInTheRightHalf) {
    // 40 x 20: the left 20 columns are red, the right half is the mask,
    // opaque only in its top 10 rows.
    Picture sprite(40, 20);
    sprite.fill(kRed);
    for (int y = 0; y < 20; ++y)
        for (int x = 20; x < 40; ++x)
            sprite.setPixel(x, y, y < 10 ? kWhite : kBlack);
    CompositionRig c(1);
    c.game.addEntry("vk_gra.vsk", "B01", packed(sprite));
    Engine& engine = c.start();
    engine.scene.spr("B01");
    EXPECT_EQ(engine.pictures.spritePicture[0].width(), 20);
    // Centred on x = 400: columns 390 ... 409.
    EXPECT_EQ(c.scene(390, 105), opaque(kRed));
    EXPECT_EQ(c.scene(409, 100), opaque(kRed));
    EXPECT_EQ(c.scene(389, 105), kBlack);
    EXPECT_EQ(c.scene(410, 105), kBlack);
    EXPECT_EQ(c.scene(400, 115), kBlack) << "the mask's lower half is transparent";
}

TEST(Composition, TwoFileSpritesTakeTheMaskFromTheMName) {
    CompositionRig c(0);
    c.game.addEntry("vk_gra.vsk", "B01", packedSolid(20, 20, kGreen));
    c.game.addEntry("vk_gra.vsk", "M01", packedSolid(20, 20, kWhite));
    Engine& engine = c.start();
    engine.scene.spr("B01");
    EXPECT_EQ(c.scene(390, 100), opaque(kGreen));
    EXPECT_EQ(c.scene(409, 119), opaque(kGreen));
    EXPECT_EQ(c.scene(400, 120), kBlack);
}

TEST(Composition, CompositeSpritesDrawBaseAndOffsetParts) {
    // "#GIRL": a 40-wide red base, then a 10 x 10 blue part 5 right and 8 down
    // of the base's left edge, then a second base (green, 20 wide) and a part
    // placed against it.
    CompositionRig c(0, ";composite sprites\n:girl\nB01\nPA1,5,8\nB02\nPA1,0,30\n:END\n");
    c.game.addEntry("vk_gra.vsk", "B01", packedSolid(40, 20, kRed));
    c.game.addEntry("vk_gra.vsk", "M01", packedSolid(40, 20, kWhite));
    c.game.addEntry("vk_gra.vsk", "B02", packedSolid(20, 20, kGreen));
    c.game.addEntry("vk_gra.vsk", "M02", packedSolid(20, 20, kWhite));
    c.game.addEntry("vk_gra.vsk", "PA1", packedSolid(10, 10, kBlue));
    // The part's mask ("PA1" with its first character made "M"): only the top
    // five rows are opaque.
    Picture partMask(10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            partMask.setPixel(x, y, y < 5 ? kWhite : kBlack);
    c.game.addEntry("vk_gra.vsk", "MA1", packed(partMask));
    Engine& engine = c.start();
    ASSERT_FALSE(engine.scene.compositeDefinitions.empty());
    EXPECT_EQ(engine.scene.compositeDefinitions.front(), ":GIRL");

    engine.scene.spr("#GIRL");
    // The first base: columns 380 ... 419, rows 100 ... 119.
    EXPECT_EQ(c.scene(380, 100), opaque(kRed));
    EXPECT_EQ(c.scene(419, 119), opaque(kRed));
    // Its part at x = 380 + 5, y = 108, over the red base, through its mask.
    EXPECT_EQ(c.scene(385, 108), opaque(kBlue));
    EXPECT_EQ(c.scene(389, 112), opaque(kBlue));
    EXPECT_EQ(c.scene(389, 113), opaque(kRed));
    EXPECT_EQ(c.scene(384, 108), opaque(kRed));
    // The second base: 20 wide, columns 390 ... 409, drawn over the first.
    EXPECT_EQ(c.scene(390, 100), opaque(kGreen));
    EXPECT_EQ(c.scene(381, 100), opaque(kRed));
    // The last part is placed against the second base: x = 390, y = 130.
    EXPECT_EQ(c.scene(390, 130), opaque(kBlue));
    EXPECT_EQ(c.scene(389, 130), kBlack);
    // Base parts went through the sprite cache; offset parts did not.
    EXPECT_EQ(engine.scene.slotNames[0], "B01");
    EXPECT_EQ(engine.scene.slotNames[1], "B02");
    EXPECT_EQ(engine.scene.nextSlot, 2);
}

TEST(Composition, UnknownCompositeDrawsNothing) {
    CompositionRig c(0, ":GIRL\nB01\n:END\n");
    c.game.addEntry("vk_gra.vsk", "B01", packedSolid(40, 20, kRed));
    c.game.addEntry("vk_gra.vsk", "M01", packedSolid(40, 20, kWhite));
    Engine& engine = c.start();
    engine.scene.spr("#BOY");
    for (int x = 300; x < 500; x += 7)
        EXPECT_EQ(c.scene(x, 105), kBlack) << x;
}

TEST(Composition, PartsAreDrawnOntoTheWindowOnly) {
    // A 30 x 10 sheet: red with a cyan (transparent) column at x = 2.
    Picture sheet(30, 10);
    sheet.fill(kRed);
    for (int y = 0; y < 10; ++y)
        sheet.setPixel(2, y, makeColour(0, 255, 255));
    CompositionRig c(0);
    c.game.addEntry("vk_gra.vsk", "PARTS", packed(sheet));
    c.game.addEntry("vk_gra.vsk", "PARTS2", packedSolid(4, 4, kGreen));
    Engine& engine = c.start();

    engine.scene.partsload("parts");
    EXPECT_EQ(engine.vars.S(sreg::kSecondParts), 0);
    engine.scene.partsload("parts,parts2");
    EXPECT_EQ(engine.vars.S(sreg::kSecondParts), 1);
    EXPECT_EQ(engine.pictures.fxBuffer.width(), 4);

    Picture& window = engine.host.windowPicture();
    window.fill(kBlack);
    engine.vars.S(1) = 5;
    // The rectangle (0,0)-(4,3) to (100 + S001, 50): fields are expressions.
    engine.scene.ptset("0,0,4,3,100+s001,50");
    EXPECT_EQ(window.pixel(105, 50), kRed);
    EXPECT_EQ(window.pixel(108, 52), kRed);
    EXPECT_EQ(window.pixel(107, 51), kBlack) << "cyan is transparent";
    EXPECT_EQ(window.pixel(109, 50), kBlack) << "the rectangle is 4 wide";
    EXPECT_EQ(window.pixel(105, 53), kBlack) << "the rectangle is 3 high";
    EXPECT_EQ(engine.pictures.sceneBuffer.pixel(105, 50), kBlack);
    EXPECT_EQ(engine.pictures.nextScreen.pixel(105, 50), kBlack);

    // Rectangles reaching past the sheet or the window are clipped.
    engine.scene.ptset("20,0,60,10,790,595");
    EXPECT_EQ(window.pixel(799, 599), kRed);
}

} // namespace
} // namespace veskar
