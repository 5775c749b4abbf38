// The command keywords and the commands the dispatcher runs itself.

#include <gtest/gtest.h>

#include "script/command_table.h"
#include "script_rig.h"
#include "shell/engine.h"

namespace veskar {
namespace {
using test::ScriptRig;

TEST(CommandTable, MatchesKeywordsInTableOrder) {
    struct Case {
        const char* line;
        const char* keyword; // nullptr: no match
        int argsAt;
    } cases[] = {
        {"*EXITGAME", "exitgame", 0},
        {"*exit", "exit", 0},
        {"@Gra bg01", "gra ", 5},
        {"*gra", nullptr, 0}, // the blank is part of the keyword
        {"*anim 3", "anim", 6},
        {"*animq 3", "anim", 7}, // the "q" form
        {"*seloop SE01", "seloop ", 8},
        {"*se SE01", "se ", 4},
        {"*seoff", "seoff", 0},
        {"*bg_anim x", "bg_anim", 9},
        {"*bg x", "bg ", 4},
        {"*sroll", "sroll", 0},
        {"*scroll 1", "scroll ", 8},
        {"*endroll", "end", 0}, // "end" matches over its own length
        {"*wipeset w1", "wipeset ", 9},
        {"*obj_move", "obj_", 5},
        {"*nothing", nullptr, 0},
        {"*", nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto index = matchCommand(c.line);
        ASSERT_EQ(index.has_value(), c.keyword != nullptr);
        if (index) {
            EXPECT_EQ(kCommandTable[static_cast<std::size_t>(*index)].keyword, c.keyword);
            EXPECT_EQ(commandArgsAt(*index, c.line), c.argsAt);
        }
    }
    EXPECT_EQ(commandArgs(*commandNumber("go "), "*go"), "");
}

// The trace numbers the commands by their row: scripts checked against old
// traces depend on the order staying as it is.
TEST(CommandTable, RowsKeepTheirNumbers) {
    EXPECT_EQ(commandNumber("gra "), 0);
    EXPECT_EQ(commandNumber("if "), 12);
    EXPECT_EQ(commandNumber("bg "), 26);
    EXPECT_EQ(commandNumber("wipeset "), kCommandCount - 1);
    for (const CommandRow& row : kCommandTable)
        EXPECT_NE(row.handler, nullptr) << row.keyword;
}

TEST(Commands, ChainCallAndEndWithMissingScriptsAndLabels) {
    struct Case {
        const char* what;
        const char* main;
        int steps;
        const char* lastShown; // last backlog line
        const char* script;    // loaded script at the end
        int depth;
    } cases[] = {
        {"chain to a label", "*chain other:two\nno\n", 2, "two", "other", 0},
        {"chain without a label starts at the top", "*chain other\n", 2, "one", "other", 0},
        {"chain to a missing script goes on", "*call sub\n", 3, "after", "sub", 0},
        {"chain to a missing label starts at the top", "*chain other:nolabel\n", 2, "one", "other", 0},
        {"call and end return after the call", "*call sub2\nback\n", 4, "back", "main", 0},
        {"call with a label", "*call other:two\nback\n", 2, "two", "other", 1},
        {"call of a missing script jumps to the label here",
         "*go start\n:here\nyes\n:start\n*call none:here\nno\n", 2, "yes", "main", 0},
        // Any ":" followed by the name and the line end is a label, the call line's own included.
        {"the call line itself can be the label", "*call none:here\nno\n:here\nyes\n", 2, "no", "main", 0},
        {"call by string slot", "*string 4 other\n*call $4\n", 2, "one", "other", 1},
        {"end with an empty stack only ends the step", "*end\nnext\n", 2, "next", "main", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptRig rig;
        rig.script("main", c.main)
            .script("other", "one\n:two\ntwo\n")
            .script("sub", "*chain missing\nafter\n")
            .script("sub2", "in\n*end\nnot reached\n");
        auto& engine = rig.start();
        engine.settings.Delay = 1; // each text line ends its step
        for (int i = 0; i < c.steps; ++i)
            rig.step();
        const int last = engine.backlog.LogLineCount - 1;
        EXPECT_EQ(std::string(engine.backlog.lineText(last)), c.lastShown);
        EXPECT_EQ(engine.interp.state().loadedScript, c.script);
        EXPECT_EQ(engine.interp.state().callDepth, c.depth);
    }
}

TEST(Commands, CallsDeeperThanNineAreRefused) {
    ScriptRig rig;
    rig.script("main", "*call r\nback in main\n").script("r", "*call r\n");
    auto& engine = rig.start();
    engine.run.SkipActive = true;
    for (int i = 0; i < 40; ++i)
        rig.step();
    EXPECT_EQ(engine.interp.state().callDepth, 0);
    EXPECT_EQ(engine.interp.state().loadedScript, "main");
    EXPECT_EQ(std::string(engine.backlog.lineText(0)), "back in main");
}

TEST(Commands, CjmpRunsTheCaseOfItsValue) {
    struct Case {
        int s006;
        const char* shown; // "" when nothing ran before "after"
    } cases[] = {{0, "zero"}, {1, "one"}, {2, "two"}, {3, ""}, {-1, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.s006);
        ScriptRig rig;
        rig.script("main", "*cjmp\n{\nzero\n{\none\n{\ntwo\n}\nafter\n");
        auto& engine = rig.start();
        engine.vars.S(6) = c.s006;
        engine.run.SkipActive = true;
        rig.step();
        if (*c.shown) {
            EXPECT_EQ(std::string(engine.backlog.lineText(0)), c.shown);
            EXPECT_EQ(std::string(engine.backlog.lineText(1)), "after");
        } else {
            EXPECT_EQ(std::string(engine.backlog.lineText(0)), "after");
        }
    }
}

TEST(Commands, SwitchTakesTheDefaultOrPassesTheStructure) {
    struct Case {
        const char* what;
        const char* main;
        const char* first;
    } cases[] = {
        {"unnamed default", "*switch\n{(V001=1)\nno\n{\ndefault\n}\nafter\n", "default"},
        {"unnamed without a match", "*switch\n{(V001=1)\nno\n}\nafter\n", "after"},
        {"named default passes other names",
         "*switch s\n{:t\nno\n}:t\n{:s(V001=1)\nno\n{:s\nyes\n}:s\nafter\n", "yes"},
        {"named without a match", "*switch s\n{:s(V001=1)\nno\n}:s\nafter\n", "after"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptRig rig;
        rig.script("main", c.main);
        auto& engine = rig.start();
        engine.run.SkipActive = true;
        rig.step();
        rig.step();
        EXPECT_EQ(std::string(engine.backlog.lineText(0)), c.first);
    }
}

TEST(Commands, IfRunsItsTargetOrJumps) {
    struct Case {
        const char* what;
        const char* main;
        const char* first; // first line shown
        int v2;            // V002 afterwards
    } cases[] = {
        {"true condition runs a command target", "!V001=3\n*if (V001=3) *go yes\nno\n:yes\nyes\n", "yes", 0},
        {"true condition runs an assignment target", "*if (V001=0) !V002=7\nnext\n", "next", 7},
        {"true condition jumps to a label", "*if (V001<1)  there\nno\n:there\nthere\n", "there", 0},
        {"false condition goes on", "*if (V001>0) *go yes\nnext\n:yes\nyes\n", "next", 0},
        {"empty target", "*if (V001=0)\nnext\n", "next", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptRig rig;
        rig.script("main", c.main);
        auto& engine = rig.start();
        engine.run.SkipActive = true;
        rig.step();
        rig.step();
        EXPECT_EQ(std::string(engine.backlog.lineText(0)), c.first);
        EXPECT_EQ(engine.vars.V(2), c.v2);
    }
}

TEST(Commands, SwitchTakesTheFirstTrueCase) {
    ScriptRig rig;
    rig.script("main", "!V001=2\n*switch\n{(V001=1)\none\n{(V001=2)\ntwo\n{\ndefault\n}\nafter\n"
                       "*switch n\n{:n(V001>5)\nbig\n{:n(V001>1)\nsmall\n}:n\nend\n");
    auto& engine = rig.start();
    engine.run.SkipActive = true;
    for (int i = 0; i < 4; ++i)
        rig.step();
    EXPECT_EQ(std::string(engine.backlog.lineText(0)), "two");
    EXPECT_EQ(std::string(engine.backlog.lineText(1)), "after");
    EXPECT_EQ(std::string(engine.backlog.lineText(2)), "small");
    EXPECT_EQ(std::string(engine.backlog.lineText(3)), "end");
}

TEST(Commands, CjmpTakesAnExpression) {
    ScriptRig rig;
    rig.script("main", "!V003=1\n*cjmp V003\n{\nzero\n{\none\n}\nafter\n");
    auto& engine = rig.start();
    engine.run.SkipActive = true;
    rig.step();
    EXPECT_EQ(std::string(engine.backlog.lineText(0)), "one");
    EXPECT_EQ(std::string(engine.backlog.lineText(1)), "after");
}

TEST(Commands, SleepPausesByPassesOrUntilAClick) {
    struct Case {
        const char* line;
        bool skip;
        int autoLevel;
        int passes;
    } cases[] = {{"*sleep 10", false, 0, -1},
                 {"*sleep 90", false, 0, 3},
                 {"*sleep 90", true, 0, 0},
                 {"*sleep 90", false, 2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ScriptRig rig;
        rig.script("main", std::string(c.line) + "\n");
        auto& engine = rig.start();
        engine.run.SkipActive = c.skip;
        engine.vars.S(26) = c.autoLevel;
        rig.step();
        EXPECT_EQ(engine.run.WaitPasses, c.passes);
    }
}

TEST(Commands, MarkSetsReadMarksAndStopsSkippingUnreadText) {
    ScriptRig rig;
    rig.script("main", "*mark 80001\n*mark 5\n*mark 5\n");
    auto& engine = rig.start();
    engine.settings.Seen = 1;
    engine.run.SkipActive = true;
    engine.interp.alreadyRead = true;
    rig.step();
    EXPECT_FALSE(engine.vars.readMarks.test(80001));
    EXPECT_TRUE(engine.vars.readMarks.test(5));
    EXPECT_FALSE(engine.run.SkipActive);
    EXPECT_TRUE(engine.interp.alreadyRead) << "the second mark 5 met a passage read before";
}

TEST(Commands, StringAndTitleSlotsAreCut) {
    ScriptRig rig;
    const std::string long70(70, 'x');
    rig.script("main", "*string 3 three\n*string 12 bad\n*string 4 " + long70 + "\n*title " + long70 +
                           "\n*title 第一章\n");
    auto& engine = rig.start();
    engine.run.SkipActive = true;
    for (int i = 0; i < 4; ++i)
        rig.step();
    auto& slots = engine.interp.state().stringTable;
    EXPECT_EQ(slots[3], "three");
    EXPECT_EQ(slots[4], std::string(63, 'x'));
    EXPECT_EQ(slots[1], "") << "slot 12 is refused, not written elsewhere";
    EXPECT_EQ(slots[9], test::sjis("第一章"));
}

TEST(Commands, ShakeMovesTheWindowOnTheVirtualClock) {
    ScriptRig rig;
    rig.script("main", "*shake 0,8,50\n*shake 1,4,20\n*shake 5,6,50\n");
    auto& engine = rig.start();
    engine.run.SkipActive = false;
    engine.host.setWindowPosition({100, 200});
    const auto before = rig.host().positions().size();
    const auto t0 = rig.host().clock().tickCount();
    rig.step();
    std::vector<Point> moved(rig.host().positions().begin() + static_cast<long>(before),
                             rig.host().positions().end());
    // Mode 0: the top moves by d, down while bit 1 of d is set: d = 8, 6, 4, 2.
    const std::vector<Point> expected = {{100, 192}, {100, 206}, {100, 196}, {100, 202}, {100, 200}};
    EXPECT_EQ(moved, expected);
    EXPECT_EQ(rig.host().clock().tickCount() - t0, 200u);

    rig.step();
    const auto& all = rig.host().positions();
    const std::vector<Point> tail(all.end() - 3, all.end());
    EXPECT_EQ(tail, (std::vector<Point>{{96, 200}, {102, 200}, {100, 200}}));

    // Any other mode keeps the window still but takes the same time.
    const auto count = rig.host().positions().size();
    const auto t1 = rig.host().clock().tickCount();
    rig.step();
    EXPECT_EQ(rig.host().positions().size(), count + 1);
    EXPECT_EQ(rig.host().clock().tickCount() - t1, 150u);
}

TEST(Commands, ShakeIsCutInSkipMode) {
    ScriptRig rig;
    rig.script("main", "*shake 0,8,50\n");
    auto& engine = rig.start();
    engine.run.SkipActive = true;
    const auto count = rig.host().positions().size();
    rig.step();
    EXPECT_EQ(rig.host().positions().size(), count);
}

TEST(Commands, ModeWindowStateAndExitgame) {
    ScriptRig rig;
    rig.script("main", "*mode 1\n*mode 1\n*tw_set 1\n*mode 2\n*gameinit\n*backto\n*exitgame\n");
    auto& engine = rig.start();
    engine.vars.V(5) = 7;
    engine.vars.F.set(3);
    rig.step();
    EXPECT_EQ(engine.vars.S(150), 1);
    rig.step();
    EXPECT_EQ(engine.vars.S(150), 1) << "the same mode twice changes it once";
    rig.step(); // tw_set goes on to the next line in the same step
    EXPECT_TRUE(engine.run.WindowShown);
    EXPECT_EQ(engine.vars.S(150), 0) << "any other value toggles";
    rig.step();
    EXPECT_EQ(engine.vars.V(5), 0);
    EXPECT_FALSE(engine.vars.F.test(3));
    EXPECT_EQ(engine.vars.S(10), 44);
    EXPECT_TRUE(engine.run.QuitRequested);
}

TEST(Commands, GameclrCountsInTheFixedLocation) {
    ScriptRig rig;
    rig.script("main", "*gameclr\n*gameclr\n");
    auto& engine = rig.start();
    engine.run.SkipActive = true;
    rig.step();
    EXPECT_EQ(engine.vars.S(100), 2);
    EXPECT_TRUE(engine.vars.E.test(999));
}

} // namespace
} // namespace veskar
