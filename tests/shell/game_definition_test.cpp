// Reading the game definition `_config`.

#include <gtest/gtest.h>

#include <string>

#include "core/sjis.h"
#include "shell/game_definition.h"

namespace veskar {
namespace {

// Lines as a script holds them: Shift-JIS, each ended by NUL.
std::string lines(std::initializer_list<std::string_view> text) {
    std::string out;
    for (auto line : text) {
        out += sjisText(line);
        out += '\0';
    }
    return out;
}

GameDefinition parse(std::initializer_list<std::string_view> text) {
    auto parsed = parseGameDefinition(lines(text));
    EXPECT_TRUE(parsed) << (parsed ? "" : cp932ToUtf8(parsed.error().message));
    return parsed ? *parsed : GameDefinition{};
}

TEST(GameDefinition, KeysAndSyntax) {
    struct Case {
        std::initializer_list<std::string_view> text;
        std::string title;
    };
    const Case cases[] = {
        {{"title:My Game"}, "My Game"},              // keys ignore letter case
        {{"TITLE : x"}, ""},                         // the key is "TITLE " with a blank
        {{"TITLE:a:b"}, "a:b"},                      // only the first colon splits
        {{"TITLE: spaced "}, " spaced "},            // the value is kept unchanged
        {{"TITLE:one", "TITLE:two"}, "two"},         // the later value wins
        {{"TITLE:one", "END", "TITLE:two"}, "one"},  // END stops reading
        {{"TITLE:one", "end", "TITLE:two"}, "two"},  // only END in capitals
        {{"TITLE:one", "END ", "TITLE:two"}, "two"}, // and alone on its line
        {{";TITLE:x", "*TITLE:y", "", "TITLE"}, ""}, // comments, blanks, no colon
        {{"UNKNOWN:1", "TITLE:ok"}, "ok"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse(c.text).TITLE, c.title);
}

TEST(GameDefinition, ValuesOfEveryKind) {
    const auto d = parse({"MAKER_REG:Software\\Brinmark", "GAME_ID:pell", "TXW_OFS_X:-5", "VKD_GRA:3",
                          "CFG_WM_WIN:10,20,110,60", "CFG_VOL_BAR:7,8", "CFG_VOL3:30,40",
                          "CFG_GRA:cfg_a,cfg_b", "VOLUME2:-1500",
                          "FONT_NAME:"
                          "ＭＳ ゴシック"});
    EXPECT_EQ(d.MAKER_REG, "Software\\Brinmark");
    EXPECT_EQ(d.GAME_ID, "pell");
    EXPECT_EQ(d.TXW_OFS_X, -5);
    EXPECT_EQ(d.archives.VKD_GRA, 3);
    EXPECT_EQ((std::array{d.CFG_WM_WIN.v[0], d.CFG_WM_WIN.v[1], d.CFG_WM_WIN.v[2], d.CFG_WM_WIN.v[3]}),
              (std::array{10, 20, 110, 60}));
    EXPECT_EQ(d.CFG_VOL_BAR[1], 8);
    EXPECT_EQ(d.CFG_VOL[2][0], 30);
    EXPECT_EQ(d.CFG_GRA[1], "cfg_b");
    EXPECT_EQ(d.VOLUME2, -1500);
    EXPECT_EQ(d.FONT_NAME, sjisText("ＭＳ ゴシック"));
}

TEST(GameDefinition, SpeakerColours) {
    const auto d = parse({"NAME:3,Alice,F80", "NAME:4,Bob,", "NAME:5,Cy,gG", "NAME:0,Zero,F00",
                          "NAME:60,Late,F00", "NAME:-1,Neg,F00",
                          "NAME:6,"
                          "美咲"
                          ",0F0"});
    const auto rgb = [](int r, int g, int b) { return makeColour(r, g, b); };
    EXPECT_EQ(d.speakerColour("Alice"), rgb(240, 128, 0));
    EXPECT_EQ(d.speakerColour("Bob"), rgb(255, 255, 255)) << "an empty colour is white";
    EXPECT_EQ(d.speakerColour("Cy"), rgb(255, 255, 0)) << "g is G; a missing third character is 0";
    EXPECT_EQ(d.speakerColour(sjisText("美咲")), rgb(0, 240, 0));
    EXPECT_TRUE(d.NAME[0].defined);
    EXPECT_EQ(d.speakerColour("Zero"), rgb(255, 255, 255)) << "entry 0 is stored but never matched";
    EXPECT_EQ(d.speakerColour("Late"), rgb(255, 255, 255)) << "entries outside 0-59 are rejected";
    EXPECT_EQ(d.speakerColour("alice"), rgb(255, 255, 255)) << "names compare exactly";
}

TEST(GameDefinition, AValueThatIsNotAnIntegerStopsTheGame) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"TXW_OFS_X:12px", "12px"},
        {"TXW_OFS_X:", ""},
        {"TXW_OFS_X: 12", " 12"},
        {"CFG_WM_WIN:1,2,3", ""},
        {"CFG_VOL1:5,x", "x"},
        {"NAME:n,Alice,F00", "n"},
        {"VKD_GRA:99999999999", "99999999999"},
    };
    for (const auto& [line, offending] : cases) {
        const auto parsed = parseGameDefinition(lines({line}));
        ASSERT_FALSE(parsed) << line;
        EXPECT_EQ(cp932ToUtf8(parsed.error().message),
                  "'" + std::string(offending) + "' は整数ではありません");
    }
}

} // namespace
} // namespace veskar
