// The demo game played headless from start to end in skip mode: its script
// trace must match the expected one line for line. After a deliberate change
// of the demo or the interpreter, refresh the expected trace with
// scripts/update-expected-trace and review the diff.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/test_support.h"

namespace veskar {
namespace {

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// UTF-8 text as code points (the demo's sources are valid UTF-8).
std::u32string codePoints(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? c : c & (0x7F >> length);
        for (int k = 1; k < length && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(cp);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

bool isKana(char32_t c) { return (c >= 0x3041 && c <= 0x30FF); }
bool isKanji(char32_t c) { return c >= 0x4E00 && c <= 0x9FFF; }

TEST(DemoGame, EveryRubyComesJustBeforeTheKanjiItReads) {
    // A ruby is drawn over the character put next, so the reading goes
    // before the word it belongs to.
    const auto sources = std::filesystem::path(VESKAR_SOURCE_DIR) / "games" / "demo" / "source" / "vk_data";
    int rubies = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sources)) {
        if (entry.path().extension() != ".txt") continue;
        const std::u32string text = codePoints(readText(entry.path()));
        for (std::size_t open = text.find(U'<'); open != std::u32string::npos;
             open = text.find(U'<', open + 1)) {
            const std::size_t close = text.find(U'>', open);
            if (close == std::u32string::npos || close == open + 1) continue;
            bool reading = true;
            for (std::size_t i = open + 1; i < close; ++i)
                reading = reading && isKana(text[i]);
            if (!reading) continue; // a comparison in a condition, not a ruby
            ++rubies;
            EXPECT_TRUE(close + 1 < text.size() && isKanji(text[close + 1]))
                << entry.path().filename() << ": the ruby at code point " << open
                << " is not followed by the kanji it reads";
        }
    }
    EXPECT_GT(rubies, 0);
}

TEST(DemoGame, PlaysToTheEndWithTheExpectedTrace) {
    const std::filesystem::path game = std::filesystem::path(VESKAR_BINARY_DIR) / "games" / "demo";
    ASSERT_TRUE(std::filesystem::exists(game / "vk_data.vsk")) << "build the demo target first";
    const std::filesystem::path expected =
        std::filesystem::path(VESKAR_SOURCE_DIR) / "tests" / "e2e" / "demo.trace";
    const std::filesystem::path actual = std::filesystem::path(VESKAR_BINARY_DIR) / "demo.trace";
    std::filesystem::remove(actual);

    // The time limit only guards against a run that never ends.
    const auto run = test::runProgram(VESKAR_EXE, {"--headless", game.string(), "--skip", "--seed", "0",
                                                   "--trace", actual.string(), "--until", "600000"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string got = readText(actual);
    ASSERT_FALSE(got.empty());
    EXPECT_TRUE(got.ends_with("*exitgame  => #49 1\n")) << "the demo must end at its exitgame line";

    if (got != readText(expected)) {
        const auto diff = test::runProgram("/usr/bin/diff", {"-u", expected.string(), actual.string()});
        ADD_FAILURE() << "the trace differs from " << expected << " (actual kept at " << actual
                      << "; scripts/update-expected-trace refreshes it):\n"
                      << diff.out;
    }
}

} // namespace
} // namespace veskar
