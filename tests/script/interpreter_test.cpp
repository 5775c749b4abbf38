// The interpreter over small fixture scripts, checked through its trace and
// its state.

#include <gtest/gtest.h>

#include <chrono>

#include "script/interpreter.h"
#include "script_rig.h"
#include "shell/engine.h"

namespace veskar {
namespace {
using test::ScriptRig;
using test::sjis;

TEST(Interpreter, TracesEveryLineOfARunInSkipMode) {
    ScriptRig rig;
    rig.script("main", ";opening\n"
                       "*string 3 Mina\n"
                       "*go middle\n"
                       "skipped\n"
                       ":middle\n"
                       "{\n"
                       "inside\n"
                       "}\n"
                       ">Mina\n"
                       "Hello[wait 5] there\n"
                       "\\\n"
                       "*call sub\n"
                       "*nosuchcommand\n"
                       "last\n")
        .script("sub", "in sub\n");
    auto& engine = rig.start();
    engine.run.SkipActive = true;
    for (int i = 0; i < 10; ++i) {
        engine.run.ClickWaitKind = 0;
        rig.step();
    }
    EXPECT_EQ(rig.trace(), "main@0: ;opening\n"
                           "main@9: *string 3 Mina  => #30 0\n"
                           "main@24: *go middle  => #3 0\n"
                           "main@51: {\n"
                           "main@60: }\n"
                           "main@62: >Mina\n"
                           "main@68: Hello[wait 5] there\n"
                           "main@88: \\\n"
                           "main@90: *call sub  => #14 1\n"
                           "sub@0: in sub\n"
                           "main@100: *nosuchcommand  => unknown command\n"
                           "main@115: last\n");
    EXPECT_EQ(engine.interp.state().stringTable[3], "Mina");
    EXPECT_EQ(engine.interp.state().callDepth, 0);
    EXPECT_EQ(engine.interp.state().currentScript, "main");
}

struct WaitCase {
    const char* what;
    const char* script;
    bool skip;
    int clickWait;   // ClickWaitKind after one step
    bool needLine;   // after that step
    const char* log; // the backlog's last completed line
};

TEST(Interpreter, ClickWaitLinesAndMarks) {
    const WaitCase cases[] = {
        {"end of page", "abc\n\\\n", false, 0, true, "abc"},
        {"page end after text in skip mode", "abc\n\\\n", true, 1, true, ""},
        {"voice keeps playing", "~\n", false, 4, true, ""},
        {"no marker", "+\n", false, 5, true, ""},
        {"page continues", "=\n", false, 2, true, ""},
        {"page continues is passed in skip mode", "=\nx\n\\\n", true, 1, true, ""},
        {"▼ ends the page and drops the rest", "ab▼cd\n", false, 1, true, "ab"},
        {"〓 at the start drops its line", "〓xy\n", false, 2, true, ""},
        {"〓 in mid-line continues after the click", "ab〓cd\n", false, 2, false, ""},
        {"▽ starts a new page without a wait", "ab▽cd\n", false, 0, true, "ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptRig rig;
        rig.script("main", c.script);
        auto& engine = rig.start();
        engine.settings.Delay = 1; // whole lines at once
        engine.run.SkipActive = c.skip;
        rig.step();
        EXPECT_EQ(engine.run.ClickWaitKind, c.clickWait);
        EXPECT_EQ(engine.interp.state().needLine, c.needLine);
        const int last = engine.backlog.LogLineCount - 1;
        EXPECT_EQ(std::string(engine.backlog.lineText(last)), c.log);
    }
}

TEST(Interpreter, MidLineWaitResumesTheSameLine) {
    ScriptRig rig;
    rig.script("main", "ab〓cd\n\\\n");
    auto& engine = rig.start();
    engine.settings.Delay = 1;
    rig.step();
    ASSERT_EQ(engine.run.ClickWaitKind, 2);
    engine.interp.releaseClickWait();
    rig.step();
    EXPECT_EQ(std::string(engine.backlog.lineText(0)), "abcd");
}

TEST(Interpreter, SkipModeReleasesPageWaitsThroughTheMainLoop) {
    ScriptRig rig;
    rig.script("main", "one\n\\\ntwo\n~\nthree\n+\nfour\n=\nfive\n");
    auto& engine = rig.start();
    engine.run.SkipActive = true;
    for (int i = 0; i < 20; ++i)
        engine.AppIdle();
    // Every page end closes an entry of its own; "=" does not.
    EXPECT_EQ(engine.backlog.LogLineCount, 8);
    EXPECT_EQ(std::string(engine.backlog.lineText(6)), "four");
    EXPECT_EQ(std::string(engine.backlog.lineText(7)), "five");
    EXPECT_GE(engine.interp.state().readPos, engine.interp.state().scriptSize);
}

TEST(Interpreter, TypewriterShowsOneCharacterPerStep) {
    ScriptRig rig;
    rig.script("main", "[delay 3]ab\n");
    auto& engine = rig.start();
    engine.settings.Delay = 0;
    rig.step();
    EXPECT_EQ(engine.layout.pageChars, 1);
    EXPECT_EQ(engine.run.WaitTicks, 2) << "delay 3 waits two ticks after each character";
    engine.interp.TextHurry = true;
    engine.run.WaitTicks = 0;
    rig.step();
    EXPECT_EQ(engine.layout.pageChars, 2);
    EXPECT_TRUE(engine.interp.state().needLine);
}

TEST(Interpreter, PercentWaits) {
    struct Case {
        const char* line;
        int ticks;
        const char* shown;
    } cases[] = {{"a%b\n", 10, "ab"}, {"a%0b\n", 10, "a0b"}, {"a%25b\n", 25, "ab"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ScriptRig rig;
        rig.script("main", c.line);
        auto& engine = rig.start();
        engine.settings.Delay = 1;
        rig.step();
        EXPECT_EQ(engine.run.WaitTicks, c.ticks);
        engine.run.WaitTicks = 0;
        rig.step();
        EXPECT_EQ(std::string(engine.backlog.lineText(0)), c.shown);
    }
}

TEST(Interpreter, InsertsNamesAndSlots) {
    struct Case {
        const char* what;
        bool f028;
        const char* line;
        const char* logged;
    } cases[] = {
        {"＄０ is slot 0", false, "A＄０B\n", "AKenB"},
        {"＄１ with F028 is the fixed name", true, "A＄１B\n", "AへたれB"},
        {"＄２ ignores F028", true, "＄２\n", "Ruri"},
        {"[$0] is slot 0 without the F028 rule", true, "[$0]!\n", "Ken!"},
        {"[$12] is out of range", false, "[$12]!\n", "!"},
        {"＄ without a digit inserts nothing", false, "A＄B\n", "A"},
        {"◆ is shown but not logged", false, "a◆b\n", "ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptRig rig;
        rig.script("main", c.line);
        auto& engine = rig.start();
        engine.settings.Delay = 1;
        engine.interp.state().stringTable[0] = "Ken";
        engine.interp.state().stringTable[1] = "Aya";
        engine.interp.state().stringTable[2] = "Ruri";
        if (c.f028) engine.vars.F.set(28);
        rig.step();
        EXPECT_EQ(std::string(engine.backlog.lineText(0)), sjis(c.logged));
    }
}

TEST(Interpreter, ValueTagAndDiagnosticsInTheTrace) {
    ScriptRig rig;
    rig.script("main", "!V001=42\nv=[?V001] bad=[?V001 +1]\n");
    auto& engine = rig.start();
    engine.settings.Delay = 1;
    rig.step();
    EXPECT_EQ(std::string(engine.backlog.lineText(0)), "v=42 bad=0");
    EXPECT_EQ(rig.trace(), "main@0: !V001=42\n"
                           "main@9: v=[?V001] bad=[?V001 +1]\n"
                           "  ! 無効数式: V001 +1]\n");
}

TEST(Interpreter, TagsSetPageStateAndSkipUnknownOnes) {
    ScriptRig rig;
    rig.script("main", "[2][col 3][delay 0][unknown]x[zz\n");
    auto& engine = rig.start();
    engine.settings.Delay = 0;
    // On a closed window the character's new page would clear the tags' state.
    engine.run.WindowShown = true;
    rig.step();
    EXPECT_EQ(engine.layout.state().textColorIndex, 3);
    EXPECT_EQ(engine.layout.state().wideSpacing, 1);
    EXPECT_EQ(engine.interp.state().charDelay, 0);
    EXPECT_EQ(std::string(engine.backlog.lineText(0)), "x");
    // "[zz" without "]" ends the line: the next line is read in the same step.
    EXPECT_TRUE(engine.interp.state().needLine);
}

TEST(Interpreter, RubyIsNotLoggedAndEmptyLinesDoNotCloseTheEntry) {
    ScriptRig rig;
    rig.script("main", "漢<かん>字\n\n>Aki\n");
    auto& engine = rig.start();
    engine.settings.Delay = 1;
    engine.run.SkipActive = true;
    rig.step();
    EXPECT_EQ(std::string(engine.backlog.lineText(0)), sjis("漢字"));
    EXPECT_EQ(std::string(engine.backlog.lineText(1)), "Aki");
    EXPECT_EQ(engine.backlog.LogLineCount, 2);
    EXPECT_EQ(engine.interp.state().nameplateText, "Aki");
}

TEST(Interpreter, NameLineBySlotAndInFullScreenMode) {
    ScriptRig rig;
    rig.script("main", ">＄１\n");
    auto& engine = rig.start();
    engine.interp.state().stringTable[1] = "Aya";
    rig.step();
    EXPECT_EQ(engine.interp.state().nameplateText, "Aya");

    ScriptRig full;
    full.script("main", ">Bo\n");
    auto& e2 = full.start();
    e2.vars.S(150) = 1;
    full.step();
    EXPECT_EQ(e2.interp.state().nameplateText, "");
    EXPECT_EQ(std::string(e2.backlog.lineText(0)), "Bo");
}

TEST(Interpreter, BlocksMetInSequenceAreSkipped) {
    ScriptRig rig;
    rig.script("main", "{\nno\n}\n{:outer\n{:inner\nno\n}:inner\nno\n}:outer\nyes\n{\nno\n");
    auto& engine = rig.start();
    engine.run.SkipActive = true;
    rig.step();
    EXPECT_EQ(engine.backlog.LogLineCount, 1);
    EXPECT_EQ(std::string(engine.backlog.lineText(0)), "yes");
    EXPECT_GE(engine.interp.state().readPos, engine.interp.state().scriptSize)
        << "a { without } ends the script";
}

TEST(Interpreter, LabelsAndBlockSearches) {
    ScriptRig rig;
    rig.script("main", ":Top\nx\n{:Blk(V001=1)\n}:Blk\n:tail\n");
    auto& engine = rig.start();
    auto& interp = engine.interp;
    EXPECT_EQ(interp.findLabel("top"), 5);
    EXPECT_EQ(interp.findLabel("blk(V001=1)"), 21) << "a block header serves as a label";
    EXPECT_EQ(interp.findLabel("none"), -1);
    EXPECT_EQ(interp.findNamedBlockStart(0, "Blk"), 7);
    EXPECT_EQ(interp.findNamedBlockEnd(0, "blk"), 21);
    EXPECT_EQ(interp.findNamedBlockEnd(0, "Bl"), kNoLine);
    EXPECT_EQ(interp.nextLineStartingWith(1, ':'), 27);
    EXPECT_EQ(interp.nextLineStartingWith(0, '#'), kNoLine);
    interp.state().readPos = 9;
    EXPECT_FALSE(interp.gotoLabel("missing"));
    EXPECT_EQ(interp.state().readPos, 9);
    EXPECT_TRUE(interp.gotoLabel("TAIL"));
    EXPECT_EQ(interp.state().readPos, interp.state().scriptSize);
}

TEST(Interpreter, AJumpToTheEndOfALargeScriptCostsALookup) {
    // One step runs 100,000 lines of a loop, half of them jumps, in a 250 KB
    // script. Scanning the script for the label on every jump made a loop at
    // the script's end take seconds per step against milliseconds for one at
    // its start; with the index both cost the same.
    std::string filler;
    while (filler.size() < 250000)
        filler += "a line of story text that the loop never reaches\n";
    const auto stepTime = [](const std::string& text, std::int32_t loopStart) {
        ScriptRig rig;
        rig.script("main", text);
        auto& engine = rig.start();
        const auto start = std::chrono::steady_clock::now();
        rig.step();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(engine.interp.state().lineStart, loopStart + 5) << "the step ends in the loop, at the jump";
        return took.count();
    };
    const double near = stepTime(":top\n*go top\n" + filler, 0);
    const double far =
        stepTime("*go end\n" + filler + ":end\n*go end\n", static_cast<std::int32_t>(8 + filler.size()));
    EXPECT_LT(far, 3 * near + 0.05) << "near " << near << " s, far " << far << " s";
}

TEST(Interpreter, EndOfACalledScriptReturnsAndTheOutermostStays) {
    ScriptRig rig;
    rig.script("main", "*call sub\nback\n").script("sub", "in sub\n");
    auto& engine = rig.start();
    engine.run.SkipActive = true;
    for (int i = 0; i < 5; ++i)
        rig.step();
    EXPECT_EQ(engine.backlog.LogLineCount, 2);
    EXPECT_EQ(std::string(engine.backlog.lineText(1)), "back");
    EXPECT_EQ(engine.interp.state().loadedScript, "main");
    EXPECT_GE(engine.interp.state().readPos, engine.interp.state().scriptSize);
}

TEST(Interpreter, AutoWaitFollowsThePageLength) {
    ScriptRig rig;
    rig.script("main", "abcdefghijklmnopqrstuvwxyz\n\\\n");
    auto& engine = rig.start();
    engine.settings.Delay = 1;
    engine.vars.S(26) = 4;
    engine.run.SkipActive = true;
    rig.step();
    EXPECT_EQ(engine.run.AutoCountdown, 26 / 24 + 2 * 4 + 2);
    engine.vars.S(26) = 30; // a script-set level past the scale must not divide by zero
    engine.interp.computeAutoWait();
    EXPECT_EQ(engine.run.AutoCountdown, 26 + 62);
}

TEST(Interpreter, OverlongLineIsCutAndTheRestSkipped) {
    ScriptRig rig;
    rig.script("main", std::string(3000, 'a') + "\nnext\n");
    auto& engine = rig.start();
    engine.settings.Delay = 1;
    rig.step();
    EXPECT_EQ(engine.interp.line().size(), kLineBufferSize - 1);
    EXPECT_EQ(engine.interp.state().readPos, 3001);
    rig.step();
    EXPECT_EQ(engine.interp.line(), "next");
}

} // namespace
} // namespace veskar
