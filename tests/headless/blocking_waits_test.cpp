// Waits that run their own loop (direct, shake, transitions) are bounded
// whatever numbers a script gives them, and a close answered OK ends them
// at their next frame.

#include <gtest/gtest.h>

#include <string>

#include "support/fixture_game.h"
#include "support/headless_rig.h"

namespace veskar {
namespace {

// Plays `script` as main until the window closes (or `until`) and returns the
// virtual time at which the run ended.
std::uint32_t runUntilClosed(const std::string& script, const std::string& input = "",
                             std::uint32_t until = 10'000'000) {
    test::FixtureGame game;
    game.addEntry("vk_gra.vsk", "A01", std::string_view("unused"));
    game.addScript("main", script);
    const auto dir = game.write();
    HeadlessOptions options;
    options.until = until;
    options.input = parseInputScript(input).value();
    test::HeadlessRig rig(dir, std::move(options));
    EXPECT_EQ(rig.host.run(), 0);
    EXPECT_TRUE(rig.host.closed()) << "ended by the close, not by the time limit";
    return rig.host.clock().tickCount();
}

TEST(BlockingWaits, EndOnACloseAnsweredOk) {
    const struct {
        const char* what;
        const char* script;
        std::uint32_t latest; // the run ends by then (the close comes at 700 ms)
    } cases[] = {
        {"direct for 23 days", "*direct A01,2000000000\n*bg S00G 1\n", 700 + 10},
        {"the longest shake: frames of 2 s", "*shake 0,2000000000,2000000000\n*bg S00G 1\n", 700 + 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_LE(runUntilClosed(c.script, "700 close\nanswer ok\n"), c.latest);
    }
}

TEST(BlockingWaits, ScriptNumbersAreBounded) {
    // Without a close, the wait ends by itself and the script goes on to `exitgame`.
    const std::uint32_t direct = runUntilClosed("*direct A01,2000000000\n*exitgame\n");
    EXPECT_GE(direct, 60'000u);
    EXPECT_LE(direct, 60'100u);
}

TEST(BlockingWaits, CircleCentresFarOffTakeNoLongerThanOnesOnTheScreen) {
    const auto circle = [](const std::string& centre) {
        return runUntilClosed("*gra SG00 4\n!S020=" + centre + "\n*gra S0G0 7\n*exitgame\n");
    };
    const std::uint32_t corner = circle("0");
    EXPECT_LT(circle("400"), corner) << "a centred disc still ends sooner";
    EXPECT_EQ(circle("100000"), corner);
    EXPECT_EQ(circle("2147483647"), corner);
}

} // namespace
} // namespace veskar
