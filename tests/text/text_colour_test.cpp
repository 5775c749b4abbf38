// The story text's colour from the first page on: white from start-up, and
// the glyph tile follows every change of the text colour (S037), whoever
// makes it.

#include <gtest/gtest.h>

#include <string>

#include "graphics/packed_picture.h"
#include "support/fixture_game.h"

namespace veskar {
namespace {

// Pixels of nextScreen whose three bytes lie within 2 of the colour's.
int pixelsNear(const Picture& p, Colour c) {
    int n = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const Colour q = p.pixel(x, y);
            bool near = true;
            for (int shift : {0, 8, 16})
                near = near && std::abs(static_cast<int>((q >> shift) & 0xFF) -
                                        static_cast<int>((c >> shift) & 0xFF)) <= 2;
            n += near ? 1 : 0;
        }
    return n;
}

// Runs `main` (the gaiji character 尓 draws without a font: a fully
// covered 24 x 24 square) and returns the screen as composed.
Picture screenAfter(const std::string& main) {
    test::FixtureGame game;
    Picture gaiji(24, 24);
    gaiji.fill(makeColour(0, 0, 255)); // blue byte = coverage
    game.addScript("main", main);
    // Pitches that keep two characters apart.
    game.addScript("_config", "TX_PITCH_X:13\nTX_PITCH_Y:36\nMOJI_MAX_X:40\nMOJI_MAX_Y:4\nEND\n");
    game.addEntry("vk_gra.vsk", "sys_gaiji", *EncodePackedPicture(gaiji));
    HeadlessOptions options;
    options.until = 3000;
    test::HeadlessRig rig(game.write(), std::move(options));
    rig.host.run();
    return rig.engine.pictures.nextScreen;
}

TEST(TextColour, TheFirstPageIsWhiteWithoutANameLineFirst) {
    const std::pair<const char*, const char*> cases[] = {
        {"win_open", "@win_open\n"},
        {"tw_set 1", "@tw_set 1\n"},
        {"the page opening the window", ""},
    };
    for (const auto& [name, opening] : cases) {
        const Picture screen = screenAfter(std::string(opening) + "尓\n\\\n");
        // A full cell comes out one step below the colour.
        EXPECT_GE(pixelsNear(screen, makeColour(254, 254, 254)), 20 * 20) << name;
    }
}

TEST(TextColour, TheTileFollowsAChangeOfS037WithinAPage) {
    const Picture screen = screenAfter("@win_open\n尓\n@calc S037=255\n尓\n\\\n");
    EXPECT_GE(pixelsNear(screen, makeColour(254, 254, 254)), 20 * 20) << "the first character in white";
    EXPECT_GE(pixelsNear(screen, makeColour(254, 0, 0)), 20 * 20) << "the second in the new colour";
}

} // namespace
} // namespace veskar
