// The variable banks, expressions, assignments and conditions.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "core/random.h"
#include "core/sjis.h"
#include "script/variables.h"

namespace veskar {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct Diagnostic {
    std::string message;
    std::string text;
};

class VariablesTest : public ::testing::Test {
protected:
    VariablesTest() {
        diagnostics.setListener({[this](std::string_view message, std::string_view text) {
                                     seen.push_back({std::string(message), std::string(text)});
                                 },
                                 {}});
    }

    // The banks need nothing of the engine but a random generator and a sink.
    Random random{1};
    std::ostringstream stderrText;
    Diagnostics diagnostics{&stderrText};
    Variables vars{random, diagnostics};
    std::vector<Diagnostic> seen;
};

TEST_F(VariablesTest, BanksAreBoundsChecked) {
    vars.V(999) = 5;
    vars.S(0) = 6;
    vars.G(9) = 7;
    EXPECT_EQ(vars.ints[999], 5);
    EXPECT_EQ(vars.ints[2000], 6);
    EXPECT_EQ(vars.ints[3009], 7);
    vars.V(1000) = 99;
    vars.G(10) = 99;
    vars.P(-1) = 99;
    vars.P(3010) = 99;
    EXPECT_EQ(vars.V(1000), 0);
    EXPECT_EQ(vars.ints[1000], 0);
    EXPECT_EQ(vars.P(3010), 0);

    vars.F.set(1023);
    vars.F.set(1024);
    EXPECT_TRUE(vars.F.test(1023));
    EXPECT_FALSE(vars.F.test(1024));
    EXPECT_EQ(vars.F.bytes()[127], 0x80);
    vars.T.set(9999);
    EXPECT_TRUE(vars.T.test(9999));
    vars.T.clear(9999);
    EXPECT_FALSE(vars.T.test(9999));
}

struct ExprCase {
    const char* text;
    std::int32_t expected;
};

TEST_F(VariablesTest, ExpressionsEvaluateLeftToRight) {
    vars.V(1) = 0x3D;
    vars.V(2) = 7;
    vars.S(28) = 4;
    vars.G(3) = -2;
    vars.V(5) = 2001; // P005 reaches S001
    vars.S(1) = 44;
    vars.V(6) = 1500; // the unnamed middle of the array
    vars.ints[1500] = 15;
    vars.V(7) = 3010; // outside the array
    vars.V(8) = -1;
    vars.F.set(10);
    vars.E.set(999);
    vars.T.set(1234);
    vars.V(9) = -1;
    const ExprCase cases[] = {
        {"", 0},
        {"42", 42},
        {"1+2*3", 9},
        {"10-4/2", 3},
        {"-5", -5},
        {"7%3", 1},
        {"-7%3", -1},
        {"7%-3", -3}, // no unary minus: (7 % 0) - 3
        {"-7/2", -3},
        {"V001_&15", 0x0D},
        {"V001_|2", 0x3F},
        {"V001_X1", 0x3C},
        {"V0012", 0x3D * 10 + 2},
        {"V002*V002", 49},
        {"S028+G3", 2},
        {"P005", 44},
        {"P006", 15},
        {"P007", 0},
        {"P008", 0},
        {"F010+F011", 1},
        {"E999", 1},
        {"T1234+T0001", 1},
        // Stop characters end the expression.
        {"3=4", 3},
        {"2+3<9", 5},
        {"5;V001=1", 5},
        {"6!", 6},
        {"6&1", 6},
        {"6|1", 6},
        {"8]", 8},
        {"8,1", 8},
        // Division and remainder by zero, and the overflowing cases.
        {"5/0", 0},
        {"5%0", 0},
        {"5/V999", 0},
        {"2147483647+1", kMin},
        {"0-2147483647-1", kMin},
        {"0-2147483647-1/V009", kMin}, // V009 = -1
        {"0-2147483647-1%V009", 0},
        {"5/-1", -1}, // no unary minus: (5 / 0) - 1
        {"65536*65536", 0},
        {"4294967295", -1},
        {"2147483647*2", -2},
        // The index is taken by count: "V1+2" reads the characters "1+2".
        {"V1+2", 0},
        {"V00", 0x3D}, // truncated by the end: the digits there are
        {"R0", 0},
        {"R", 0},
        {"R1", 0},
    };
    vars.V(0) = 0x3D;
    for (const auto& c : cases)
        EXPECT_EQ(vars.evalExpression(c.text), c.expected) << c.text;
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(vars.evalExpression("V01"), 0x3D) << "V01 at the end reads V001";
    EXPECT_EQ(vars.evalExpression("G3"), -2);
    EXPECT_EQ(vars.evalExpression("V002-G"), 7 - vars.G(0));
}

TEST_F(VariablesTest, InvalidExpressionsAreZeroAndReported) {
    vars.V(1) = 5;
    const char* cases[] = {"V001 +1", " 1", "v001", "1+A", "1_2", "1_", "(1)", "\x82\xa0"};
    for (const char* text : cases) {
        seen.clear();
        EXPECT_EQ(vars.evalExpression(text), 0) << text;
        ASSERT_EQ(seen.size(), 1u) << text;
        EXPECT_EQ(seen[0].message, "無効数式");
        EXPECT_EQ(seen[0].text, text);
    }
    seen.clear();
    EXPECT_EQ(vars.evalExpression(std::string_view("4\0 x", 4)), 4) << "a NUL byte ends the text";
    EXPECT_TRUE(seen.empty());
}

TEST_F(VariablesTest, RandomReferencesDrawBelowTheBound) {
    const std::uint32_t before = random.state();
    Random expected(before);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(vars.evalExpression("R6"), expected.below(6));
    // At most seven digits form the bound; the eighth extends the operand.
    const int drawn = expected.below(1234567);
    EXPECT_EQ(vars.evalExpression("R12345678"), drawn * 10 + 8);
    // A bound of 0 draws nothing.
    vars.evalExpression("R0+R");
    EXPECT_EQ(random.state(), expected.state());
}

TEST_F(VariablesTest, AssignmentsStoreEachStatement) {
    vars.runAssignment("V001=5;V002=V001*2+1");
    EXPECT_EQ(vars.V(1), 5);
    EXPECT_EQ(vars.V(2), 11);
    vars.runAssignment("V003=1+2*3");
    EXPECT_EQ(vars.V(3), 9);
    vars.runAssignment("V001=V001+1");
    EXPECT_EQ(vars.V(1), 6);
    vars.runAssignment("s001 = v001 + 1 ;\tg9=\x81\x40-3");
    EXPECT_EQ(vars.S(1), 7);
    EXPECT_EQ(vars.G(9), -3);

    vars.V(5) = 2001;
    vars.runAssignment("P005=7");
    EXPECT_EQ(vars.S(1), 7);
    vars.V(6) = 1999;
    vars.runAssignment("P006=12");
    EXPECT_EQ(vars.ints[1999], 12);

    vars.runAssignment("T9999=1;E000=1;F999=1");
    EXPECT_TRUE(vars.T.test(9999));
    EXPECT_TRUE(vars.E.test(0));
    EXPECT_TRUE(vars.F.test(999));
    vars.runAssignment("T9999=0;F999=V999");
    EXPECT_FALSE(vars.T.test(9999));
    EXPECT_FALSE(vars.F.test(999));
    EXPECT_TRUE(seen.empty());

    vars.runAssignment("F010=1;V002=R6");
    EXPECT_TRUE(vars.F.test(10));
    EXPECT_GE(vars.V(2), 0);
    EXPECT_LT(vars.V(2), 6);
    vars.runAssignment("V004=4;");
    EXPECT_EQ(vars.V(4), 4);
    EXPECT_TRUE(seen.empty());
}

TEST_F(VariablesTest, BlanksBreakAnExpressionButNotAStatement) {
    vars.V(1) = 4;
    EXPECT_EQ(vars.evalExpression("V001 +1"), 0);
    vars.runAssignment("V002=V001 +1");
    EXPECT_EQ(vars.V(2), 5);
}

TEST_F(VariablesTest, NormalisingKeepsSecondBytesOfTwoByteCharacters) {
    // 0x81 0x61 is a two-byte character whose second byte looks like "a"; 0x82 0x20
    // would be a lead byte and a blank if the text were read byte by byte.
    vars.runAssignment("V001=1;V002=\x81\x61");
    EXPECT_EQ(vars.V(1), 1);
    EXPECT_EQ(vars.V(2), 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, "無効数式");
    EXPECT_EQ(seen[0].text, "\x81\x61") << "the second byte was neither upper-cased nor dropped";

    seen.clear();
    vars.runAssignment("V003=\x82\x20V001");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "\x82\x20V001");
    // The full-width blank is removed only as a whole character.
    vars.runAssignment("V004=\x81\x40\x81\x40"
                       "5");
    EXPECT_EQ(vars.V(4), 5);
}

struct RejectedCase {
    const char* text;
    const char* message;
};

TEST_F(VariablesTest, RejectedAssignmentsStoreNothing) {
    vars.F.set(10);
    vars.V(5) = 3010;
    vars.V(6) = -1;
    const RejectedCase cases[] = {
        {"F010=2", "代入エラー"}, {"F010=-1", "代入エラー"},
        {"E001=2", "代入エラー"}, {"T0001=5", "代入エラー"},
        {"X001=5", "代入エラー"}, {"P005=9", "代入エラー"},
        {"P006=9", "代入エラー"}, {"V0A1=9", "代入エラー"},
        {"V001=1 2", nullptr}, // normalised: V001 = 12, accepted
    };
    const auto before = vars.ints;
    for (const auto& c : cases) {
        seen.clear();
        vars.runAssignment(c.text);
        if (!c.message) {
            EXPECT_TRUE(seen.empty()) << c.text;
            continue;
        }
        ASSERT_EQ(seen.size(), 1u) << c.text;
        EXPECT_EQ(seen[0].message, c.message);
        EXPECT_EQ(seen[0].text, c.text);
    }
    EXPECT_TRUE(vars.F.test(10));
    EXPECT_FALSE(vars.E.test(1));
    EXPECT_FALSE(vars.T.test(1));
    auto expected = before;
    expected[1] = 12;
    EXPECT_EQ(vars.ints, expected);

    // A rejected statement does not stop the ones after it.
    vars.runAssignment("F010=2;V010=3");
    EXPECT_EQ(vars.V(10), 3);
}

struct CondCase {
    const char* text;
    bool expected;
};

TEST_F(VariablesTest, ConditionsCompare) {
    vars.V(1) = 3;
    vars.V(2) = -4;
    vars.F.set(2);
    const CondCase cases[] = {
        {"(V001=3)", true},
        {"(V001==3)", true},
        {"(V001!3)", false},
        {"(V001!=4)", true},
        {"(V001<3)", false},
        {"(V001<=3)", true},
        {"(V001>2)", true},
        {"(V001>=4)", false},
        {"(V002<0)", true}, // signed
        {"(V002>0)", false},
        {"(v001 = 1 + 2)", true}, // upper-cased, blanks dropped
        {"V001=3", true},         // no parenthesis
        {"(V001>=3&F002=1)", true},
        {"(V001>=3&F002=0)", false},
        {"(V001=1|V001=3)", true},
        {"(V001=1|V001=2)", false},
        {"(V001=1,V001=3)", true}, // "," just continues
        {"(V001=3,V001=1)", false},
        {"(V001=3)&V001=4", true}, // reading stops at ")"
        {"(V001)", false},         // a part without a comparison
        {"(V001|V001=3)", true},
        {"(V001&V001=3)", false},
        {"()", false},
        {"", false},
        {"(V001=3&)", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vars.evalCondition(c.text), c.expected) << c.text;
}

TEST_F(VariablesTest, ConditionsExitEarly) {
    // Any evaluation of an R reference moves the generator.
    vars.V(1) = 2;
    std::uint32_t state = random.state();
    EXPECT_FALSE(vars.evalCondition("(V001>=3&F002=1&R5<9)"));
    EXPECT_FALSE(vars.evalCondition("(V001>=3&R5<9)"));
    EXPECT_EQ(random.state(), state);
    EXPECT_TRUE(vars.evalCondition("(V001>=2&R5<9)"));
    EXPECT_NE(random.state(), state);

    vars.V(1) = 1;
    state = random.state();
    EXPECT_TRUE(vars.evalCondition("(V001=1|V002=1&R5=1)"));
    EXPECT_TRUE(vars.evalCondition("(V001=1|R5=9)"));
    EXPECT_EQ(random.state(), state);
    // No precedence: A | B & C with A false, B true goes on to C.
    vars.V(1) = 0;
    vars.V(2) = 1;
    EXPECT_FALSE(vars.evalCondition("(V001=1|V002=1&V003=1)"));
    vars.V(3) = 1;
    EXPECT_TRUE(vars.evalCondition("(V001=1|V002=1&V003=1)"));
}

TEST_F(VariablesTest, ConditionsReadAtMostOneHundredCharacters) {
    vars.V(1) = 1;
    // 94 blanks and "V001=1" fill the 100 characters; one more blank cuts the
    // "1" off, leaving the right side empty (0).
    const std::string pad(94, ' ');
    EXPECT_TRUE(vars.evalCondition("(" + pad + "V001=1)"));
    const std::string longPad(95, ' ');
    EXPECT_FALSE(vars.evalCondition("(" + longPad + "V001=1)"));
    EXPECT_TRUE(vars.evalCondition("(" + longPad + "V001!1)"));
}

} // namespace
} // namespace veskar
