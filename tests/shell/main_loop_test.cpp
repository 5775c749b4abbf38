// Pacing of the main loop and the timer, and the close flows.

#include <gtest/gtest.h>

#include "support/headless_rig.h"

namespace veskar {
namespace {
using test::HeadlessRig;

struct PacingCase {
    const char* what;
    int autoLevel; // S026
    bool scriptRunning;
    int clickWait;
    std::uint32_t workMs;        // time the pass itself takes
    std::uint32_t expectedDelay; // next pass due this long after the pass began
};

TEST(MainLoop, PacesPassesToTheirTarget) {
    const PacingCase cases[] = {
        {"plain pass", 0, true, 0, 0, 20},
        {"auto level 1", 1, true, 0, 0, 19},
        {"auto level 16", 16, true, 0, 0, 79},
        {"auto mode while waiting for a click paces at 20", 16, true, 1, 0, 20},
        {"overran pass: next pass at once", 0, true, 0, 35, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HeadlessRig rig;
        rig.engine.run.StartPending = false;
        rig.engine.run.ScriptRunning = c.scriptRunning;
        rig.engine.run.ClickWaitKind = c.clickWait;
        rig.engine.vars.S(26) = c.autoLevel;
        rig.host.clock().advanceTo(1000);
        const std::uint32_t next = rig.engine.AppIdle();
        rig.host.clock().sleep(c.workMs);
        EXPECT_EQ(next - 1000, c.expectedDelay);
        // A pass that overran its target is due immediately.
        EXPECT_EQ(static_cast<std::int32_t>(next - rig.host.clock().tickCount()) <= 0,
                  c.workMs >= c.expectedDelay);
    }
}

TEST(MainLoop, SkipModeReleasesOnlyReleasableClickWaits) {
    for (int kind : {1, 2, 4, 5}) {
        SCOPED_TRACE(kind);
        HeadlessRig rig;
        rig.engine.run.StartPending = false;
        rig.engine.run.SkipActive = true;
        rig.engine.run.ClickWaitKind = kind;
        rig.engine.AppIdle();
        // Every kind is cleared, but kind 2 is not released: it does not reach
        // the interpreter's release (which for the others clears the wait itself).
        EXPECT_EQ(rig.engine.run.ClickWaitKind, 0);
    }
}

TEST(MainLoop, WaitPassesCountDownAndNegativeWaitsHold) {
    HeadlessRig rig;
    rig.engine.run.StartPending = false;
    rig.engine.run.WaitPasses = 2;
    rig.engine.AppIdle();
    rig.engine.AppIdle();
    EXPECT_EQ(rig.engine.run.WaitPasses, 0);
    rig.engine.run.WaitPasses = -1;
    for (int i = 0; i < 5; ++i)
        rig.engine.AppIdle();
    EXPECT_EQ(rig.engine.run.WaitPasses, -1);
}

TEST(Timer, CountsWaitTicksAndAutoModeReleasesClickWaits) {
    HeadlessRig rig;
    auto& run = rig.engine.run;
    run.WaitTicks = 2;
    rig.engine.Timer1Timer();
    rig.engine.Timer1Timer();
    EXPECT_EQ(run.WaitTicks, 0);
    EXPECT_EQ(run.TickCounter, 2);

    // Auto mode: the countdown runs out, then the wait is released.
    rig.engine.vars.S(26) = 3;
    run.ClickWaitKind = 1;
    run.WindowShown = true;
    run.AutoCountdown = 2;
    rig.engine.Timer1Timer();
    EXPECT_EQ(run.ClickWaitKind, 1);
    rig.engine.Timer1Timer();
    EXPECT_EQ(run.ClickWaitKind, 0);

    // Kind 2 is never released by auto mode, only cleared.
    run.ClickWaitKind = 2;
    run.AutoCountdown = 0;
    rig.engine.Timer1Timer();
    EXPECT_EQ(run.ClickWaitKind, 0);

    // Without auto mode nothing is released.
    rig.engine.vars.S(26) = 0;
    run.ClickWaitKind = 1;
    rig.engine.Timer1Timer();
    EXPECT_EQ(run.ClickWaitKind, 1);
}

TEST(Timer, HeldWhileBusyOrInAnotherScreenMode) {
    for (int variant = 0; variant < 2; ++variant) {
        HeadlessRig rig;
        auto& run = rig.engine.run;
        if (variant == 0)
            run.Busy = 1;
        else
            run.ScreenMode = 6;
        run.WaitTicks = 3;
        rig.engine.Timer1Timer();
        EXPECT_EQ(run.WaitTicks, 3);
        EXPECT_EQ(run.TickCounter, 1);
    }
}

struct CloseCase {
    const char* what;
    bool quitRequested;
    bool inEffect;
    int busy;
    MessageAnswer answer;
    bool allowed;
    int questions;
    int effectInterrupt;
};

TEST(Closing, FollowsTheCloseQuestion) {
    const CloseCase cases[] = {
        {"engine asked to quit: no question", true, false, 0, MessageAnswer::Ok, true, 0, 0},
        {"during an effect: refused and aborted", false, true, 1, MessageAnswer::Ok, false, 0, 2},
        {"while busy: refused", false, false, 1, MessageAnswer::Ok, false, 0, 0},
        {"player confirms", false, false, 0, MessageAnswer::Ok, true, 1, 1},
        {"player cancels", false, false, 0, MessageAnswer::Cancel, false, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HeadlessOptions options;
        options.input.answers.push_back(c.answer);
        HeadlessRig rig({}, options);
        auto& run = rig.engine.run;
        run.QuitRequested = c.quitRequested;
        run.InEffect = c.inEffect;
        run.Busy = static_cast<std::uint8_t>(c.busy);
        run.ScriptRunning = true;
        EXPECT_EQ(rig.engine.FormCloseQuery(), c.allowed);
        EXPECT_EQ(rig.host.messageBoxCount(), c.questions);
        EXPECT_EQ(run.EffectInterrupt, c.effectInterrupt);
        EXPECT_TRUE(run.ScriptRunning) << "the game goes on where it was";
    }
}

} // namespace
} // namespace veskar
