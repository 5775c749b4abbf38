// The whole-screen fades: how many frames they show, how long they take on
// the virtual clock, what they end on, and the click that cuts them short.

#include <gtest/gtest.h>

#include "backends/headless/png_writer.h"
#include "graphics/packed_picture.h"
#include "graphics/screen_update.h"
#include "support/fixture_game.h"

namespace veskar {
namespace {

const Colour kFrom = makeColour(0, 0, 0);
const Colour kTo = makeColour(200, 100, 40);

struct FadeRig {
    explicit FadeRig(HeadlessOptions options = {}) {
        game.addScript("main", "");
        game.addEntry("vk_gra.vsk", "A01", std::string_view("unused"));
        rig = std::make_unique<test::HeadlessRig>(game.write(), std::move(options));
        rig->engine.FormCreate();
        rig->engine.pictures.prevScreen.fill(kFrom);
        rig->engine.pictures.nextScreen.fill(kTo);
        startTick = rig->host.clock().tickCount();
        startPresents = rig->host.presentCount();
    }

    Engine& engine() { return rig->engine; }
    int frames() const { return rig->host.presentCount() - startPresents; }
    std::uint32_t elapsed() { return rig->host.clock().tickCount() - startTick; }
    Colour shown() { return rig->host.windowPicture().pixel(400, 300); }

    test::FixtureGame game;
    std::unique_ptr<test::HeadlessRig> rig;
    std::uint32_t startTick = 0;
    int startPresents = 0;
};

// A left click at `ms` on the virtual clock.
HeadlessOptions clickAt(std::uint32_t ms) {
    HeadlessOptions options;
    auto parsed = parseInputScript(std::to_string(ms) + " click left 400 300\n");
    EXPECT_TRUE(parsed) << parsed.error();
    if (parsed) options.input = *parsed;
    return options;
}

TEST(Fades, PresetsStepAndPace) {
    // Kind -> step s per period p: frames at L = 0, s, 2s ... below 257, one
    // period after each, then nextScreen once more.
    const struct {
        int kind;
        int frames;
        std::uint32_t ms;
    } cases[] = {
        {1, 11 + 1, 11 * 40},   // (24, 40)
        {3, 52 + 1, 52 * 50},   // (5, 50)
        {4, 129 + 1, 129 * 50}, // (2, 50)
        {0, 22 + 1, 22 * 40},   // (12, 40)
        {7, 22 + 1, 22 * 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        FadeRig rig;
        rig.engine().screen.FadePreset(c.kind);
        EXPECT_EQ(rig.frames(), c.frames);
        EXPECT_EQ(rig.elapsed(), c.ms);
        EXPECT_EQ(rig.shown(), kTo);
        EXPECT_EQ(rig.engine().run.Busy, 0);
        EXPECT_FALSE(rig.engine().run.InEffect);
    }
}

TEST(Fades, AClickEndsAFadeOnItsFinalPicture) {
    FadeRig rig(clickAt(200));
    rig.engine().screen.FadePreset(4); // 6.45 s without the click
    EXPECT_LT(rig.elapsed(), 400u);
    EXPECT_EQ(rig.shown(), kTo);
}

TEST(Fades, SepiaFadeTurnsTheSceneSepiaAndIgnoresClicks) {
    FadeRig rig(clickAt(50));
    Engine& engine = rig.engine();
    engine.pictures.sceneBuffer.fill(makeColour(90, 60, 30)); // g = 60
    engine.screen.SepiaFade();
    // a = 48, 56 ... 248: 26 frames 20 ms apart, then the final picture.
    EXPECT_EQ(rig.frames(), 27);
    EXPECT_EQ(rig.elapsed(), 26u * 20);
    const Colour sepia = makeColour(60, (3 * 60) >> 2, 60 >> 2);
    EXPECT_EQ(rig.shown(), sepia);
    EXPECT_EQ(engine.pictures.sceneBuffer.pixel(10, 10), sepia);
    EXPECT_EQ(engine.pictures.nextScreen.pixel(10, 10), sepia);
}

} // namespace
} // namespace veskar

namespace veskar {
namespace {

TEST(Fades, ASmallSecondPartsPictureLeavesWholeScreenTransitionsWhole) {
    // partsload with a 50 x 50 second picture, then whole-screen transitions:
    // 60 ms in, the middle of the screen is part-way, not still the old picture.
    for (int mode : {1, 2, 3, 20, 21, 22}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        test::TempDir shots;
        HeadlessOptions options;
        options.screenshots.push_back({60, shots.path() / "mid.png"});
        test::FixtureGame game;
        game.addScript("main", "");
        game.addEntry("vk_gra.vsk", "P01", *EncodePackedPicture(Picture(100, 20)));
        game.addEntry("vk_gra.vsk", "P50", *EncodePackedPicture(Picture(50, 50)));
        test::HeadlessRig rig(game.write(), std::move(options));
        Engine& e = rig.engine;
        e.FormCreate();
        ASSERT_EQ(rig.host.clock().tickCount(), 0u);
        e.scene.partsload("P01,P50");
        EXPECT_EQ(e.vars.S(15), 1);
        EXPECT_EQ(e.pictures.secondPartsSheet.width(), 50);
        EXPECT_EQ(e.pictures.fxBuffer.width(), 800);
        EXPECT_EQ(e.pictures.fxBuffer.height(), 600);
        e.pictures.prevScreen.fill(kFrom);
        e.pictures.nextScreen.fill(kTo);
        e.screen.RunTransition(mode);
        auto mid = readPng(shots.path() / "mid.png");
        ASSERT_TRUE(mid.has_value()) << mid.error();
        const Colour c = mid->pixel(400, 300);
        EXPECT_NE(c, kFrom);
        EXPECT_NE(c, kTo);
        EXPECT_EQ(rig.host.windowPicture().pixel(400, 300), kTo);
    }
}

} // namespace
} // namespace veskar
