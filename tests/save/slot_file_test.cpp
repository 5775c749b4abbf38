// The slot file: one code path that writes the engine's state and reads it
// back, and the serializer it is written with.

#include <gtest/gtest.h>

#include <ctime>

#include "core/serializer.h"
#include "save/slot_file.h"
#include "save/slot_layout.h"
#include "script/script_rig.h"

namespace veskar {
namespace {
using test::ScriptRig;

TEST(Serializer, FieldsRoundTripInBothDirections) {
    std::vector<std::uint8_t> bytes(16, 0xEE);
    std::int32_t number = -2;
    bool flag = true;
    std::string text = "abc";
    auto out = Serializer::saving(bytes);
    out.syncInt32(number);
    out.syncFlag(flag);
    out.syncString(text, 6);
    out.skip(2);
    ASSERT_TRUE(out.ok());
    const std::vector<std::uint8_t> expected = {0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0,
                                                'a',  'b',  'c',  0,    0, 0, 0, 0};
    EXPECT_EQ(bytes, expected) << "little-endian words, a padded text, zeros for what is skipped";

    std::int32_t number2 = 0;
    bool flag2 = false;
    std::string text2;
    auto in = Serializer::loading(bytes);
    in.syncInt32(number2);
    in.syncFlag(flag2);
    in.syncString(text2, 6);
    EXPECT_EQ(number2, -2);
    EXPECT_TRUE(flag2);
    EXPECT_EQ(text2, "abc");
}

TEST(Serializer, TextsKeepToTheirFieldsAtWholeCharacters) {
    struct Case {
        const char* what;
        std::string stored; // the field's bytes
        std::string read;
    } cases[] = {
        {"a text up to its NUL", std::string("ab\0cd", 5), "ab"},
        {"a field without a NUL is cut to leave room for one", "abcde", "abcd"},
        {"a cut never splits a two-byte character", "abc\x82\xA0", "abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> bytes(c.stored.begin(), c.stored.end());
        std::string text;
        auto in = Serializer::loading(bytes);
        in.syncString(text, bytes.size());
        EXPECT_EQ(text, c.read);
    }
    std::vector<std::uint8_t> field(4);
    std::string long_text = "ab\x82\xA0";
    Serializer::saving(field).syncString(long_text, 4);
    EXPECT_EQ(field, (std::vector<std::uint8_t>{'a', 'b', 0, 0}));
}

TEST(Serializer, AFieldPastTheEndFailsAndTouchesNothing) {
    std::vector<std::uint8_t> bytes(6, 7);
    std::int32_t a = 1, b = 2;
    auto out = Serializer::saving(bytes);
    out.syncInt32(a);
    out.syncInt32(b);
    EXPECT_FALSE(out.ok());
    EXPECT_EQ(bytes[4], 7);
    EXPECT_EQ(bytes[5], 7);

    std::int32_t c = 99;
    auto in = Serializer::loading(std::span(bytes).first(3));
    in.syncInt32(c);
    EXPECT_FALSE(in.ok());
    EXPECT_EQ(c, 99);
}

// A game stopped in a called script, mid-page, with names, string slots and
// variables set, then continued to its end.
constexpr std::string_view kMain = "!V001=7\n"
                                   "*string 3 Mina\n"
                                   "*title Chapter 1\n"
                                   "*bg S800\n"
                                   ">Mina\n"
                                   "first line\n"
                                   "\\\n"
                                   "*call sub\n"
                                   "!V002=V001*2\n"
                                   "back in main [?V002]\n"
                                   "\\\n";
constexpr std::string_view kSub = "!S050=3\n"
                                  "in sub\n"
                                  "\\\n"
                                  "more [$3]\n"
                                  "\\\n"
                                  "*end\n";

void startGame(ScriptRig& rig) {
    rig.script("main", kMain).script("sub", kSub);
    auto& engine = rig.start();
    engine.settings.Delay = 1; // whole lines at once
}

void stepToNextClickWait(ScriptRig& rig) {
    rig.engine().interp.releaseClickWait();
    rig.engine().run.ClickWaitKind = 0;
    rig.stepUntilClickWait();
}

TEST(SlotFile, AGameSavedAndLoadedIntoAFreshEngineGoesOnAsBefore) {
    ScriptRig original;
    startGame(original);
    original.stepUntilClickWait();
    stepToNextClickWait(original); // "in sub", one call deep
    ASSERT_EQ(original.interp().state().callDepth, 1);

    std::tm when{};
    when.tm_year = 126;
    when.tm_mon = 11;
    when.tm_mday = 10;
    const std::string header = slotHeaderText(when, original.interp().stringSlot(kTitleSlot));
    EXPECT_EQ(header, "2026/12/10 00:00:00  Chapter 1");
    const std::vector<std::uint8_t> saved = writeSlotFile(original.engine(), header);
    ASSERT_EQ(saved.size(), slot::kFileSize);
    const std::size_t tracedBefore = original.trace().size();

    ScriptRig loaded;
    startGame(loaded);
    const auto resume = readSlotFile(saved, loaded.engine());
    ASSERT_TRUE(resume.has_value()) << resume.error();
    ASSERT_TRUE(resumeSavedGame(loaded.engine(), *resume));
    EXPECT_EQ(writeSlotFile(loaded.engine(), header), saved) << "what was read is what was saved";
    EXPECT_EQ(loaded.interp().state().currentScript, "sub");
    EXPECT_EQ(loaded.engine().vars.V(1), 7);
    EXPECT_EQ(loaded.interp().stringSlot(3), "Mina");

    for (int page = 0; page < 3; ++page) {
        stepToNextClickWait(original);
        stepToNextClickWait(loaded);
    }
    EXPECT_EQ(loaded.trace(), original.trace().substr(tracedBefore)) << "both go on line by line alike";
    EXPECT_EQ(loaded.engine().vars.V(2), 14);
    EXPECT_EQ(loaded.interp().state().callDepth, 0);
}

TEST(SlotFile, BytesOfAnotherSizeAreRefusedAndChangeNothing) {
    ScriptRig rig;
    startGame(rig);
    rig.stepUntilClickWait();
    const std::vector<std::uint8_t> before = writeSlotFile(rig.engine(), "x");
    for (std::size_t size : {std::size_t{0}, slot::kFileSize - 1, slot::kFileSize + 1}) {
        SCOPED_TRACE(size);
        const std::vector<std::uint8_t> bytes(size, 0xFF);
        const auto result = readSlotFile(bytes, rig.engine());
        ASSERT_FALSE(result.has_value());
        EXPECT_NE(result.error().find("220738"), std::string::npos) << result.error();
        EXPECT_EQ(writeSlotFile(rig.engine(), "x"), before);
    }
}

} // namespace
} // namespace veskar
