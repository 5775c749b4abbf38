// The scene commands against the scene state they leave, the screen filters,
// colour names, the frame timer and the speed table.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/packed_picture.h"
#include "graphics/scene.h"
#include "graphics/scene_args.h"
#include "graphics/screen_filter.h"
#include "graphics/screen_update.h"
#include "support/fixture_game.h"

namespace veskar {
namespace {

std::vector<std::uint8_t> packedSolid(int w, int h, Colour c) {
    Picture p(w, h);
    p.fill(c);
    return *EncodePackedPicture(p);
}

// A game whose sprites B01 ... B06 and masks M01 ... M06 are small solids,
// backgrounds A01, A02 and C01.
struct SceneRig {
    SceneRig() {
        game.addScript("main", "");
        for (int i = 1; i <= 6; ++i) {
            const std::string n = "0" + std::to_string(i);
            game.addEntry("vk_gra.vsk", "B" + n, packedSolid(40, 60, makeColour(20 * i, 0, 0)));
            game.addEntry("vk_gra.vsk", "M" + n, packedSolid(40, 60, makeColour(255, 255, 255)));
        }
        game.addEntry("vk_gra.vsk", "A01", packedSolid(16, 16, makeColour(10, 20, 30)));
        game.addEntry("vk_gra.vsk", "A02", packedSolid(16, 16, makeColour(40, 50, 60)));
        game.addEntry("vk_gra.vsk", "C01", packedSolid(16, 16, makeColour(70, 80, 90)));
        rig = std::make_unique<test::HeadlessRig>(game.write());
        rig->engine.FormCreate();
        rig->engine.settings.GMode = 1; // every update a cut: state tests need no frames
    }

    Engine& engine() { return rig->engine; }
    Scene& scene() { return rig->engine.scene; }

    // Runs "keyword argument" as the dispatcher would.
    void run(const std::string& line) {
        const auto blank = line.find(' ');
        const std::string word = line.substr(0, blank);
        const std::string arg = blank == std::string::npos ? "" : line.substr(blank + 1);
        Scene& s = scene();
        if (word == "gra")
            s.gra(arg);
        else if (word == "grb")
            s.grb(arg);
        else if (word == "bg")
            s.bg(arg);
        else if (word == "clrb")
            s.clrb(arg);
        else if (word == "spr")
            s.spr(arg);
        else if (word == "ovr")
            s.ovr(arg);
        else
            FAIL() << "unknown command " << word;
    }

    test::FixtureGame game;
    std::unique_ptr<test::HeadlessRig> rig;
};

struct StateCase {
    std::vector<std::string> lines;
    int positionCount;
    std::string spriteList;
    std::vector<std::string> positions; // the first positions
};

TEST(SceneCommands, LineUpsFollowTheScriptLines) {
    const StateCase cases[] = {
        {{"spr B01,B02"}, 2, "B01,B02", {"B01", "B02"}},
        {{"spr B01,B02", "spr -,B03"}, 2, "B01,B03", {"B01", "B03"}},
        {{"spr b01,b02,5"}, 2, "B01,B02", {"B01", "B02"}},
        {{"spr B01,"}, 2, "B01,", {"B01", ""}},
        {{"spr B01,B02", "spr "}, 0, "", {"", ""}},
        {{"spr B01", "spr ,5"}, 0, "", {"", "5"}},
        {{"spr B01,B02,B03"}, 3, "B01,B02,B03", {"B01", "B02", "B03"}},
        {{"gra B01", "gra B02 R"}, 2, ",B02", {"", "B02"}},
        {{"gra B01", "gra B02 L"}, 2, "B02,", {"B02", ""}},
        {{"spr B01,B02", "gra B03 L 5"}, 2, "B03,B02", {"B03", "B02"}},
        {{"spr B01,B02", "clrb R"}, 2, "B01,", {"B01", ""}},
        {{"spr B01,B02", "clrb 5"}, 0, "", {"", ""}},
        {{"spr B01,B02", "[clrb l]x"}, 2, ",B02", {"", "B02"}},
        {{"spr B01,B02", "gra A01"}, 0, "", {"", ""}},
        {{"spr B01,B02", "grb A01 0"}, 2, "B01,B02", {"B01", "B02"}},
        {{"spr B01,B02", "grb A01"}, 0, "", {"", ""}},
        {{"spr B01,B02", "grb A01 0", "bg A02 5"}, 2, "B01,B02", {"B01", "B02"}},
        {{"spr B01,B02", "bg A02"}, 0, "", {"", ""}},
        {{"spr B01,B02", "gra C01"}, 2, "B01,B02", {"B01", "B02"}},
    };
    for (const StateCase& c : cases) {
        SceneRig rig;
        std::string trace;
        for (std::string line : c.lines) {
            trace += line + "; ";
            if (line.rfind("[clrb ", 0) == 0) line = "clrb " + line.substr(6); // the tag's argument form
            rig.run(line);
        }
        SCOPED_TRACE(trace);
        EXPECT_EQ(rig.scene().positionCount, c.positionCount);
        EXPECT_EQ(rig.scene().spriteList, c.spriteList);
        for (std::size_t k = 0; k < c.positions.size(); ++k)
            EXPECT_EQ(rig.scene().positionNames[k], c.positions[k]);
    }
}

TEST(SceneCommands, SetSpritesReturnsTheTransition) {
    const std::pair<const char*, int> cases[] = {
        {"B01,B02", 1}, {"B01,B02,5", 5}, {"", 0}, {",5", 5}, {"B01,", 1}, {"B01,B02,B03,B04,12", 12},
    };
    for (const auto& [list, mode] : cases) {
        SceneRig rig;
        EXPECT_EQ(rig.scene().SetSprites(list), mode) << list;
    }
}

TEST(SceneCommands, TheSixthSpriteEvictsTheFirstSlot) {
    SceneRig rig;
    rig.run("spr B01,B02,B03,B04");
    EXPECT_EQ(rig.scene().nextSlot, 4);
    rig.run("spr B05");
    rig.run("spr B06,B02");
    EXPECT_EQ(rig.scene().slotNames[0], "B06");
    EXPECT_EQ(rig.scene().slotNames[1], "B02");
    EXPECT_EQ(rig.scene().positionSlot[0], 0);
    EXPECT_EQ(rig.scene().positionSlot[1], 1);
    // B01 now has to be loaded again, into the next slot in rotation.
    rig.run("spr B01");
    EXPECT_EQ(rig.scene().slotNames[1], "B01");
    EXPECT_EQ(rig.scene().positionSlot[0], 1);
}

TEST(SceneCommands, BackgroundsHoldDisplayAndColours) {
    SceneRig rig;
    Engine& e = rig.engine();
    EXPECT_EQ(e.vars.S(20), 250);
    EXPECT_EQ(e.vars.S(80), 400);
    EXPECT_EQ(e.vars.S(89), 700);

    rig.run("gra A01");
    EXPECT_EQ(e.host.windowPicture().pixel(5, 5), makeColour(10, 20, 30));
    rig.run("grb A02 0");
    EXPECT_TRUE(rig.scene().holdDisplay);
    EXPECT_EQ(e.pictures.bgPicture.pixel(5, 5), makeColour(40, 50, 60));
    EXPECT_EQ(e.host.windowPicture().pixel(5, 5), makeColour(10, 20, 30)) << "mode 0 under grb shows nothing";
    rig.run("bg SF00 5");
    EXPECT_EQ(rig.scene().bgName, "SF00");
    EXPECT_EQ(e.host.windowPicture().pixel(5, 5), makeColour(10, 20, 30)) << "bg is held until the next gra";
    rig.run("gra sggg");
    EXPECT_FALSE(rig.scene().holdDisplay);
    EXPECT_EQ(e.host.windowPicture().pixel(5, 5), makeColour(255, 255, 255));

    // A missing background keeps everything but the name.
    rig.run("gra A99");
    EXPECT_EQ(rig.scene().bgName, "A99");
    EXPECT_EQ(e.pictures.bgPicture.pixel(5, 5), makeColour(255, 255, 255));

    rig.run("bg C01");
    EXPECT_EQ(e.host.windowPicture().pixel(5, 5), makeColour(70, 80, 90));
}

TEST(SceneCommands, OverlayArgumentsAndStartUpOrder) {
    SceneRig rig;
    Engine& e = rig.engine();
    rig.run("ovr B01,4,120,30");
    EXPECT_EQ(e.vars.S(35), 1);
    EXPECT_EQ(e.vars.S(21), 120);
    EXPECT_EQ(e.vars.S(22), 30);
    EXPECT_EQ(rig.scene().overlayName, "B01");
    rig.run("ovr off");
    EXPECT_EQ(e.vars.S(35), 0);
    EXPECT_EQ(e.vars.S(21), 120) << "a missing x keeps the register";
}

TEST(SceneCommands, LongNamesAreCutToTheirFields) {
    SceneRig rig;
    rig.run("bg S" + std::string(40, '0'));
    EXPECT_EQ(rig.scene().bgName.size(), kSceneNameField);
    rig.run("spr B01XXXXXXXXXXXXXXXXXXXX,B02XXXXXXXXXXXXXXXXXXXX,B03XXXXXXXXXXXXXXXXXXXX");
    EXPECT_EQ(rig.scene().spriteList.size(), kSpriteListField);
}

TEST(SceneArgs, PictureArgumentsScan) {
    const struct {
        const char* text;
        const char* name;
        int mode;
        SpriteSide side;
    } cases[] = {
        {"A01", "A01", -1, SpriteSide::None},       {"A01 5", "A01", 5, SpriteSide::None},
        {"B01 r 12", "B01", 12, SpriteSide::Right}, {"B01,3 7", "B01", 7, SpriteSide::None},
        {"B01 l]9", "B01", -1, SpriteSide::Left},   {"B01]r", "B01", -1, SpriteSide::None},
    };
    for (const auto& c : cases) {
        const PictureArgs args = scanPictureArgs(c.text, true);
        EXPECT_EQ(args.name, c.name) << c.text;
        EXPECT_EQ(args.mode, c.mode) << c.text;
        EXPECT_EQ(args.side, c.side) << c.text;
    }
}

TEST(SceneArgs, ColourNames) {
    const std::pair<const char*, Colour> cases[] = {
        {"SGGG", makeColour(255, 255, 255)}, {"sggg", makeColour(255, 255, 255)},
        {"S00F", makeColour(0, 0, 240)},     {"SF00", makeColour(240, 0, 0)},
        {"S000", makeColour(0, 0, 0)},       {"SXYZ", makeColour(0, 0, 0)},
        {"Sa9", makeColour(160, 144, 0)},
    };
    for (const auto& [name, colour] : cases)
        EXPECT_EQ(colourFromName(name), colour) << name;
}

TEST(ScreenFilter, EachFilterChangesThePixels) {
    Picture p(800, 600);
    p.setPixel(0, 0, makeColour(200, 240, 30));
    p.setPixel(799, 599, makeColour(1, 2, 3));
    Picture bright = p;
    applyScreenFilter(bright, kFilterBrightness, 20);
    EXPECT_EQ(bright.pixel(0, 0), makeColour(250, 44, 37)); // 300 keeps its low 8 bits
    Picture sepia = p;
    applyScreenFilter(sepia, kFilterSepia, 0);
    EXPECT_EQ(sepia.pixel(0, 0), makeColour(156, 117, 39));
    Picture grey = p;
    applyScreenFilter(grey, kFilterGrey, 0);
    EXPECT_EQ(grey.pixel(0, 0), makeColour(156, 156, 156));
    Picture turned = p;
    applyScreenFilter(turned, kFilterRotate, 0);
    EXPECT_EQ(turned.pixel(799, 599), makeColour(200, 240, 30));
    EXPECT_EQ(turned.pixel(0, 0), makeColour(1, 2, 3));
    Picture none = p;
    applyScreenFilter(none, 5, 0);
    EXPECT_EQ(none, p);
}

TEST(FrameTimer, LateCallersLearnHowManyPeriodsPassed) {
    test::HeadlessRig rig;
    VirtualClock& clock = rig.host.clock();
    FrameTimer& timer = rig.engine.frameTimer;
    timer.FrameTimerStart();
    clock.sleep(35);
    const std::uint32_t before = clock.tickCount();
    EXPECT_EQ(timer.FrameTimerWait(10), 4u);
    EXPECT_EQ(clock.tickCount() - before, 5u);
    // On time: one period, sleeping to the period's end.
    EXPECT_EQ(timer.FrameTimerWait(10), 1u);
    EXPECT_EQ(clock.tickCount() - before, 15u);
}

TEST(SpeedTable, RowsAndOutOfRangeIndexes) {
    EXPECT_EQ(speedRow(0), (SpeedRow{4, 8, 20}));
    EXPECT_EQ(speedRow(3), (SpeedRow{32, 12, 3}));
    EXPECT_EQ(speedRow(11), (SpeedRow{2, 8, 60}));
    EXPECT_EQ(speedRow(16), (SpeedRow{1, 20, 140}));
    EXPECT_EQ(speedRow(17), speedRow(0));
    EXPECT_EQ(speedRow(-1), speedRow(0));
}

} // namespace
} // namespace veskar
