// Loading pictures by name through fixture games: which archive answers,
// damaged entries, the start-up pictures and the panic picture.

#include <gtest/gtest.h>

#include "graphics/packed_picture.h"
#include "graphics/picture_codecs_test.h"
#include "graphics/pictures.h"
#include "support/test_support.h"

namespace veskar {
namespace {

using test::FixtureGame;
using Bytes = std::vector<std::uint8_t>;

Picture flat(int w, int h, Colour c) {
    Picture p(w, h);
    p.fill(c);
    return p;
}

Bytes packed(const Picture& p) { return *EncodePackedPicture(p); }
Bytes packedFlat(int w, int h, Colour c) { return packed(flat(w, h, c)); }

// An engine over a fixture game with every archive opened.
struct Loaded {
    explicit Loaded(FixtureGame& game) : rig(game.write()) {
        rig.engine.archives.LoadScriptIndexes();
        rig.engine.archives.OpenArchives({}, "NULL");
    }
    Pictures& pictures() { return rig.engine.pictures; }
    test::HeadlessRig rig;
};

constexpr Colour kRed = makeColour(255, 0, 0);
constexpr Colour kGreen = makeColour(0, 255, 0);
constexpr Colour kBlue = makeColour(0, 0, 255);

TEST(Pictures, SearchOrderOfThePictureArchives) {
    FixtureGame game;
    game.addScript("main", "\\\n")
        .addEntry("vk_gra.vsk", "both13", packedFlat(2, 2, kRed))
        .addEntry("vk_gra3.vsk", "both13", packedFlat(3, 1, kGreen))
        .addEntry("vk_gra.vsk", "both12", packedFlat(2, 2, kRed))
        .addEntry("vk_gra2.vsk", "both12", packedFlat(1, 1, kBlue))
        .addEntry("vk_gra.vsk", "only1", packedFlat(4, 2, kBlue))
        .addEntry("vk_gra.vsk", "jpegtoo", packedFlat(2, 2, kRed))
        .addEntry("vk_gjp.vsk", "jpegtoo", test::encodeJpeg(flat(16, 8, kGreen)))
        .addEntry("vk_gra2.vsk", "MixedCase", packedFlat(5, 1, kGreen));
    Loaded loaded(game);

    struct Case {
        const char* name;
        int w, h;
        Colour colour;
    };
    const Case cases[] = {{"both13", 3, 1, kGreen}, {"both12", 1, 1, kBlue},     {"only1", 4, 2, kBlue},
                          {"ONLY1", 4, 2, kBlue},   {"mixedcase", 5, 1, kGreen}, {"jpegtoo", 16, 8, kGreen}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Picture target(7, 7);
        EXPECT_TRUE(loaded.pictures().PictureExists(c.name));
        ASSERT_TRUE(loaded.pictures().LoadPicture(c.name, target));
        EXPECT_EQ(target.width(), c.w);
        EXPECT_EQ(target.height(), c.h);
        const Colour got = target.pixel(c.w - 1, c.h - 1);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR((got >> shift) & 0xFF, (c.colour >> shift) & 0xFF, 6) << shift;
    }
}

TEST(Pictures, MissingAndDamagedPicturesLeaveTheTarget) {
    Bytes cut = packedFlat(20, 20, kRed);
    cut.resize(cut.size() - 3);
    Bytes wrongDepth = packedFlat(2, 2, kRed);
    wrongDepth[3] = 4;
    FixtureGame game;
    game.addScript("main", "\\\n")
        .addEntry("vk_gra.vsk", "cut", cut)
        .addEntry("vk_gra.vsk", "depth", wrongDepth)
        .addEntry("vk_gjp.vsk", "garbage", std::string_view("this is not a JPEG at all"));
    Loaded loaded(game);

    const Picture before = flat(3, 2, kBlue);
    for (const char* name : {"missing", "cut", "depth", "garbage"}) {
        SCOPED_TRACE(name);
        Picture target = before;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(loaded.pictures().LoadPicture(name, target));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(target, before);
        if (std::string_view(name) == "missing") {
            EXPECT_TRUE(err.empty()) << err;
            EXPECT_FALSE(loaded.pictures().PictureExists(name));
        } else {
            EXPECT_NE(err.find(name), std::string::npos) << err;
        }
    }
}

TEST(Pictures, StartUpPictures) {
    FixtureGame game;
    game.addScript("main", "\\\n")
        .addEntry("vk_gra.vsk", "np01", packedFlat(4, 2, kRed))
        .addEntry("vk_gra.vsk", "np02", packedFlat(4, 2, kGreen))
        .addEntry("vk_gra.vsk", "np04", packedFlat(4, 2, kBlue))
        .addEntry("vk_gra.vsk", "sys_tw", packedFlat(6, 2, kGreen))
        .addEntry("vk_gra.vsk", "sys_sww", packedFlat(6, 2, kGreen))
        .addEntry("vk_gra.vsk", "sys_clickw", packedFlat(8, 2, kGreen));
    Loaded loaded(game);
    Pictures& p = loaded.pictures();

    p.createScreenPictures();
    for (const Picture* screen : {&p.bgPicture, &p.sceneBuffer, &p.nextScreen, &p.prevScreen, &p.fxBuffer,
                                  &p.wipeMask, &p.overlayPicture, &p.blackScreen, &p.loadScratch}) {
        EXPECT_EQ(screen->width(), 800);
        EXPECT_EQ(screen->height(), 600);
    }
    EXPECT_EQ(p.spritePicture[4].width(), 200);
    EXPECT_EQ(p.spriteMask[0].height(), 600);
    EXPECT_TRUE(p.partsSheet.empty());
    EXPECT_EQ(p.blackScreen.pixel(799, 599), makeColour(0, 0, 0));

    GameDefinition definition;
    definition.SELECT_EXPAND = 0;
    p.loadSystemPictures(definition);
    EXPECT_EQ(p.namePlateCount, 2); // np03 is missing, so np04 is never loaded
    EXPECT_EQ(p.namePlates[1].pixel(0, 0), kGreen);
    EXPECT_TRUE(p.namePlates[3].empty());
    EXPECT_EQ(p.sys_tw.width(), 6);
    EXPECT_EQ(p.sys_clickw.width(), 8);
    EXPECT_TRUE(p.sys_sww.empty());

    definition.SELECT_EXPAND = 1;
    p.loadSystemPictures(definition);
    EXPECT_EQ(p.sys_sww.width(), 6);
}

TEST(Pictures, NamePlatesStopAfterFiftyNine) {
    FixtureGame game;
    game.addScript("main", "\\\n");
    for (int i = 1; i <= 60; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "np%02d", i);
        game.addEntry("vk_gra.vsk", name, packedFlat(1, 1, kRed));
    }
    Loaded loaded(game);
    loaded.pictures().loadSystemPictures(GameDefinition{});
    EXPECT_EQ(loaded.pictures().namePlateCount, 59);
}

TEST(Pictures, PanicPicture) {
    Picture small = flat(10, 4, kGreen);
    const Bytes bmp = test::encodeBmp(small);
    FixtureGame game;
    game.addScript("main", "\\\n")
        .addFile("panic.bmp", std::string_view(reinterpret_cast<const char*>(bmp.data()), bmp.size()));
    Loaded loaded(game);
    Picture target = flat(2, 2, kRed);
    ASSERT_TRUE(loaded.pictures().loadPanicPicture(target));
    EXPECT_EQ(target.width(), 800);
    EXPECT_EQ(target.height(), 600);
    EXPECT_EQ(target.pixel(9, 3), kGreen);
    EXPECT_EQ(target.pixel(10, 3), makeColour(0, 0, 0));

    FixtureGame broken;
    broken.addScript("main", "\\\n").addFile("panic.bmp", "BM not really");
    Loaded loadedBroken(broken);
    Picture untouched = flat(2, 2, kRed);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadedBroken.pictures().loadPanicPicture(untouched));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("panic.bmp"), std::string::npos);
    EXPECT_EQ(untouched, flat(2, 2, kRed));
}

} // namespace
} // namespace veskar
