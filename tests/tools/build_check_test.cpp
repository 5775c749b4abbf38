// The checks of `vsktool build`: one broken source tree per case, each with
// the exact message and exit status the build gives.

#include <gtest/gtest.h>

#include <fstream>

#include "support/test_support.h"

namespace veskar {
namespace {

namespace fs = std::filesystem;
using test::runVsktool;
using test::TempDir;

void writeFile(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

constexpr std::string_view kConfig = "TITLE:t\nTXW_OFS_X:0\nTXW_OFS_Y:400\nTXW_SIZE_X:800\nTXW_SIZE_Y:200\n"
                                     "TX_PITCH_X:13\nTX_PITCH_Y:38\nMOJI_MAX_X:50\nMOJI_MAX_Y:4\nEND\n";
constexpr std::string_view kMain = "*bg a_sky 1\n*gra b_girl\n*call other:there\n>ハナ\nこんにちは。\n\\\n";
constexpr std::string_view kOther = ";called\n:there\n*end\n";

// A tree that builds without a word, changed by one file per case.
void writeGoodTree(const fs::path& src) {
    writeFile(src / "vk_data/_config.txt", kConfig);
    writeFile(src / "vk_data/main.txt", kMain);
    writeFile(src / "vk_data/other.txt", kOther);
    writeFile(src / "vk_gra/a_sky.pak", "x");
    writeFile(src / "vk_gra/b_girl.pak", "x");
}

TEST(BuildCheck, AGoodTreeBuildsSilently) {
    TempDir dir;
    writeGoodTree(dir.path() / "src");
    const auto build =
        runVsktool({"build", "--strict", (dir.path() / "src").string(), (dir.path() / "out").string()});
    EXPECT_EQ(build.exitCode, 0) << build.err;
    EXPECT_EQ(build.err.find("warning"), std::string::npos) << build.err;
    EXPECT_TRUE(fs::exists(dir.path() / "out/vk_data.vsk"));
}

TEST(BuildCheck, EachFaultIsReportedWithItsLine) {
    struct Case {
        const char* file; // replaced in the good tree ("" to delete main.txt)
        const char* text;
        const char* message; // after the source folder
    };
    const Case cases[] = {
        {"vk_data/main.txt", "*bg a_sky\n*frobnicate 3\n",
         "vk_data/main.txt:2:2: error: unknown command 'frobnicate'"},
        {"vk_data/main.txt", "あ[frob 1]い\n", "vk_data/main.txt:1:2: error: unknown tag '[frob'"},
        {"vk_data/main.txt", "*go nowhere\n",
         "vk_data/main.txt:1:5: error: label 'nowhere' does not exist in script 'main'"},
        {"vk_data/main.txt", "*chain missing\n",
         "vk_data/main.txt:1:8: error: script 'missing' does not exist"},
        {"vk_data/main.txt", "*call other:gone\n",
         "vk_data/main.txt:1:13: error: label 'gone' does not exist in script 'other'"},
        {"vk_data/main.txt", "*if (V001=1) nowhere\n",
         "vk_data/main.txt:1:14: error: label 'nowhere' does not exist in script 'main'"},
        {"vk_data/main.txt", "*if (V001=1) *frob\n", "vk_data/main.txt:1:15: error: unknown command 'frob'"},
        {"vk_data/main.txt", "*bg a_sky\n*gra b_nobody 1\n",
         "vk_data/main.txt:2:6: error: no picture archive holds 'b_nobody'"},
        {"vk_data/main.txt", "*spr b_girl,b_ghost\n",
         "vk_data/main.txt:1:13: error: no picture archive holds 'b_ghost'"},
        {"vk_data/main.txt", "*bg a_sky 99\n",
         "vk_data/main.txt:1:5: error: transition 99 is out of range 0-22"},
        {"vk_data/main.txt", "*spr b_girl,23\n",
         "vk_data/main.txt:1:13: error: transition 23 is out of range 0-22"},
        {"vk_data/main.txt", "値は[?V001+#]です\n",
         "vk_data/main.txt:1:5: error: expression 'V001+#' does not parse"},
        {"vk_data/main.txt", "!V001=3+@\n",
         "vk_data/main.txt:1:2: error: assignment 'V001=3+@' does not parse"},
        {"vk_data/main.txt", "*cjmp V001$\n",
         "vk_data/main.txt:1:7: error: expression 'V001$' does not parse"},
        {"vk_data/main.txt", "色[col 9]だ\n",
         "vk_data/main.txt:1:7: error: text colour 9 is out of range 0-7"},
        {"vk_data/main.txt", "*se bang\n", "vk_data/main.txt:1:5: error: no sound archive holds 'bang'"},
        {"vk_data/_config.txt", "TITLE:t\nTX_PITCH_X=13\n",
         "vk_data/_config.txt:2:1: error: not a KEY:VALUE line"},
        {"vk_data/_config.txt", "this is garbage\n", "vk_data/_config.txt:1:1: error: not a KEY:VALUE line"},
        {"vk_data/_config.txt", "TITEL:t\n", "vk_data/_config.txt:1:1: error: unknown key 'TITEL'"},
        {"vk_data/_config.txt", "TXW_SIZE_X:wide\n",
         "vk_data/_config.txt:1:12: error: TXW_SIZE_X: 'wide' is not an integer"},
        {"vk_data/_config.txt", "NAME:1,はな,ZZZ\n",
         "vk_data/_config.txt:1:11: error: NAME colour 'ZZZ': three characters R, G, B, each 0-9, A-F or G"},
        {"vk_data/_config.txt", "NAME:60,はな,FFF\n",
         "vk_data/_config.txt:1:6: error: _config: NAME entry 60 is outside 0-59; line ignored"},
        {"vk_data/_config.txt", "TXW_COLOR_R:300\n",
         "vk_data/_config.txt:1:13: error: TXW_COLOR_R 300 is out of range 0-255"},
        {"vk_data/_config.txt", "TXW_SIZE_X:760\nTXW_SIZE_Y:168\nEND\n",
         "vk_data/_config.txt:3:1: error: the message window needs TX_PITCH_X (a number above 0); without it "
         "the text is drawn in one place"},
        {"", "", "vk_data/main.txt: error: the game has no script 'main' (main.txt), which it starts with"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        TempDir dir;
        const fs::path src = dir.path() / "src";
        writeGoodTree(src);
        if (*c.file)
            writeFile(src / c.file, c.text);
        else
            fs::remove(src / "vk_data/main.txt");
        const auto build = runVsktool({"build", src.string(), (dir.path() / "out").string()});
        EXPECT_EQ(build.exitCode, 1);
        EXPECT_NE(build.err.find(src.string() + "/" + c.message + "\n"), std::string::npos) << build.err;
        EXPECT_FALSE(fs::exists(dir.path() / "out/vk_data.vsk")) << "a game with errors is not written";
    }
}

TEST(BuildCheck, WarningsStopTheBuildOnlyWhenStrict) {
    struct Case {
        const char* file;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"vk_data/other.txt", ":there\n:spare\n*end\n",
         "vk_data/other.txt:2:1: warning: label 'spare' is never used"},
        {"vk_gra/c_unused.pak", "x", "vk_gra/c_unused.pak: warning: picture 'c_unused' is never shown"},
        {"vk_data/_config.txt", "TITLE:t\nEND\nTITLE:late\n",
         "vk_data/_config.txt:3:1: warning: line after END is not read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        TempDir dir;
        const fs::path src = dir.path() / "src";
        writeGoodTree(src);
        writeFile(src / c.file, c.text);
        const auto plain = runVsktool({"build", src.string(), (dir.path() / "out").string()});
        EXPECT_EQ(plain.exitCode, 0) << plain.err;
        EXPECT_NE(plain.err.find(c.message), std::string::npos) << plain.err;
        const auto strict = runVsktool({"build", "--strict", src.string(), (dir.path() / "strict").string()});
        EXPECT_EQ(strict.exitCode, 1) << strict.err;
        EXPECT_NE(strict.err.find("--strict: warnings count as errors"), std::string::npos) << strict.err;
    }
}

} // namespace
} // namespace veskar
