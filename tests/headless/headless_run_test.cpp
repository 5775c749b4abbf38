// Whole headless runs of the veskar program.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "backends/headless/png_writer.h"
#include "support/headless_rig.h"

namespace veskar {
namespace {
using test::HeadlessRig;

struct RunResult {
    int exitCode;
    std::string output; // stdout and stderr together
};

RunResult runVeskar(const std::string& args) {
    const std::string command = std::string(VESKAR_EXE) + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[512];
    while (pipe && fgets(buffer, sizeof buffer, pipe)) output += buffer;
    const int status = pipe ? pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(HeadlessRun, MissingGameDataShowsOneMessageAndClosesWithoutAsking) {
    test::TempDir dir;
    const auto result = runVeskar("--headless " + dir.path().string() + " --until 5000");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "veskar: message box [Error!] ゲームデータを読み込めません。 -> OK\n");
}

TEST(HeadlessRun, MissingGameDataClosesOnTheFirstPass) {
    test::TempDir dir;
    HeadlessRig rig(dir.path());
    EXPECT_EQ(rig.host.run(), 0);
    EXPECT_TRUE(rig.host.closed());
    EXPECT_EQ(rig.host.messageBoxCount(), 1);
    EXPECT_EQ(rig.host.clock().tickCount(), 0u) << "closes on the first pass";
}

TEST(HeadlessRun, BadArgumentsAreExplained) {
    const std::pair<const char*, const char*> cases[] = {
        {"--headless", "--headless needs a game folder"},
        {"--headless x --until soon", "--until needs a number of milliseconds"},
        {"--headless x --screenshot frame.png", "--screenshot needs MS:PATH"},
        {"--frobnicate", "unknown option '--frobnicate'"},
        {"x --until 5", "need --headless"},
    };
    for (const auto& [args, message] : cases) {
        const auto result = runVeskar(args);
        EXPECT_EQ(result.exitCode, 2) << args;
        EXPECT_NE(result.output.find(message), std::string::npos) << args << "\n" << result.output;
    }
}

TEST(HeadlessRun, HelpDescribesTheOptions) {
    const auto result = runVeskar("--help");
    EXPECT_EQ(result.exitCode, 0);
    for (const char* option : {"--headless", "--until", "--input", "--screenshot", "--seed", "--settings"})
        EXPECT_NE(result.output.find(option), std::string::npos) << option;
}

TEST(PngWriter, RoundTripsAPicture) {
    test::TempDir dir;
    Picture picture(3, 2);
    picture.setPixel(0, 0, makeColour(255, 0, 0));
    picture.setPixel(2, 1, makeColour(1, 2, 3));
    const auto path = dir.path() / "p.png";
    ASSERT_TRUE(writePng(picture, path));
    const auto back = readPng(path);
    ASSERT_TRUE(back) << back.error();
    EXPECT_EQ(*back, picture);
}

} // namespace
} // namespace veskar
