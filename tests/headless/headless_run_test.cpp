// Whole headless runs of the veskar program.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "backends/headless/png_writer.h"
#include "support/fixture_game.h"
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
    while (pipe && fgets(buffer, sizeof buffer, pipe))
        output += buffer;
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

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Closing the window while `gra` runs its transition cuts the transition
// short, then `gra` asks whether to quit: OK ends the game, Cancel goes on.
TEST(HeadlessRun, ClosingDuringATransitionAsksAfterIt) {
    const struct {
        const char* answer;
        bool quits;
    } cases[] = {{"ok", true}, {"cancel", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        test::FixtureGame game;
        // Mode 7 (the circle) takes 1.5 s; the close comes 400 ms into it.
        game.addEntry("vk_gra.vsk", "A01", std::string_view("unused"));
        game.addScript("main", "*gra SG00 4\n@sleep 300\n*gra S0G0 7\n@sleep 3000\n*bg S00G 1\n");
        const auto dir = game.write();
        std::ofstream(dir / "input.txt") << "700 close\nanswer " << c.answer << "\n";
        const auto result =
            runVeskar("--headless " + dir.string() + " --until 6000 --input " + (dir / "input.txt").string() +
                      " --trace " + (dir / "trace.txt").string());
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_NE(result.output.find("message box [確認] ゲームを終了しますか？ -> " +
                                     std::string(c.quits ? "OK" : "Cancel")),
                  std::string::npos)
            << result.output;
        const std::string trace = readText(dir / "trace.txt");
        EXPECT_NE(trace.find("*gra S0G0 7  => #0 1"), std::string::npos) << "cut short: result 1\n" << trace;
        EXPECT_EQ(trace.find("*bg S00G 1") != std::string::npos, !c.quits) << trace;
    }
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
