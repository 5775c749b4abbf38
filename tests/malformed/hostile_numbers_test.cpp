// Numbers at the ends of 32 bits, from scripts and from the game definition:
// each game must play to its end (or its time limit) without overflow,
// unbounded allocation or hang, and the engine says what it held back.

#include <gtest/gtest.h>

#include "hostile_games.h"

namespace veskar {
namespace {

TEST(HostileNumbers, ScriptAndDefinitionExtremesAreHeld) {
    const struct {
        const char* what;
        test::HostileGame game;
        const char* said; // a part of what the diagnostics say ("" when nothing need be said)
    } cases[] = {
        {"ptset to a window position of INT_MIN",
         {"*partsload PARTS\n*ptset 0,0,8,8,-2147483648,-2147483648\n*exitgame\n"},
         "a ptset value"},
        {"ptset from a sheet position of INT_MIN",
         {"*partsload PARTS\n*ptset -2147483648,-2147483648,8,8,0,0\n*exitgame\n"},
         "a ptset value"},
        {"direct at INT_MIN", {"*direct A01,10,-2147483648,-2147483648\n*exitgame\n"}, "a direct position"},
        {"direct at INT_MAX", {"*direct A01,10,2147483647,2147483647\n*exitgame\n"}, "a direct position"},
        {"a sprite at INT_MIN",
         {"!S080=-2147483648\n!S090=-2147483648\n*spr SPR1\n*exitgame\n"},
         "a sprite position"},
        {"a sprite at INT_MAX",
         {"!S080=2147483647\n!S090=2147483647\n*spr SPR1\n*exitgame\n"},
         "a sprite position"},
        {"a masked overlay at INT_MIN",
         {"!S020=0\n!S023=0\n*ovr OVL,1,-2147483648,-2147483648\n*exitgame\n"},
         "an overlay position"},
        {"a blended overlay at INT_MIN",
         {"!S020=1\n!S023=128\n*ovr OVL,1,-2147483648,-2147483648\n*exitgame\n"},
         "an overlay position"},
        {"a composite offset of 2147483547",
         {"*spr #C1\n*exitgame\n", "", ":C1\nBASE\nPART,2147483547,2147483547\n:END\n"},
         "a composite sprite offset"},
        {"a circle centre of INT_MIN",
         {"*gra SG00 4\n!S020=-2147483648\n!S021=-2147483648\n*gra S0G0 7\n*exitgame\n"},
         ""},
        {"gra with the mode 9999999999", {"*gra SG00 9999999999\n*exitgame\n"}, ""},
        {"an auto level of INT_MIN", {"!S026=-2147483648\nhello\n\\\n*exitgame\n"}, "an auto level"},
        {"an auto level of 2000000000", {"!S026=2000000000\nhello\n\\\n*exitgame\n"}, "an auto level"},
        {"NP_OFS_X of INT_MIN",
         {"name\nhello\n\\\n*exitgame\n", "NP_OFS_X:-2147483648\nNP_SZ_X:40\nNP_SZ_Y:20\nEND\n"},
         "NP_OFS_X"},
        {"TXW_OFS_Y of INT_MAX",
         {"hello\n\\\n*exitgame\n", "TXW_OFS_Y:2147483647\nTXW_SIZE_X:100\nTXW_SIZE_Y:50\nEND\n"},
         "TXW_OFS_Y"},
        {"TXW_SIZE_X of 1000000000",
         {"hello\n\\\n*exitgame\n", "TXW_SIZE_X:1000000000\nTXW_SIZE_Y:100\nEND\n"},
         "TXW_SIZE_X"},
        {"a window of 100000 by 100000 pixels (30 GB)",
         {"hello\n\\\n*exitgame\n", "TXW_SIZE_X:100000\nTXW_SIZE_Y:100000\nNP_SZ_X:100000\nNP_SZ_Y:100000\n"
                                    "CLICK_WAIT_SIZE_X:2147483647\nCLICK_WAIT_SIZE_Y:2147483647\nEND\n"},
         "TXW_SIZE_Y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto run = test::playHostile(c.game);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_LE(run.virtualEnd, 20'000u + 100);
        EXPECT_LT(run.wall.count(), 10'000) << "wall time bounded";
        EXPECT_NE(run.diagnostics.find(c.said), std::string::npos) << "[" << run.diagnostics << "]";
        // Each thing held back is said once, however often the engine meets it.
        std::size_t lines = 0;
        for (char ch : run.diagnostics)
            lines += ch == '\n';
        EXPECT_LE(lines, 6u) << run.diagnostics;
    }
}

} // namespace
} // namespace veskar
