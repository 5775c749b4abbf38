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
