// Whole headless runs of the veskar program.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
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

// The player sees one message box; stderr says which folder or archive, and
// the exit code is 3.
// veskar with the environment variables `names` (blank-separated) removed.
RunResult runProgramWithout(const std::string& names, const std::string& args) {
    std::string command = "env";
    std::size_t start = 0;
    while (start < names.size()) {
        const std::size_t end = std::min(names.find(' ', start), names.size());
        command += " -u " + names.substr(start, end - start);
        start = end + 1;
    }
    const std::string full = command + " " + std::string(VESKAR_EXE) + " " + args + " 2>&1";
    FILE* pipe = popen(full.c_str(), "r");
    std::string output;
    char buffer[512];
    while (pipe && fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int status = pipe ? pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(HeadlessRun, MissingOrDamagedGameDataIsNamedOnStderr) {
    const std::string box = "veskar: message box [Error!] ゲームデータを読み込めません。 -> OK\n";
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> make;
        std::string expected; // with DIR for the game folder
    };
    const Case cases[] = {
        {"no such folder", [](const std::filesystem::path& d) { std::filesystem::remove_all(d); },
         "veskar: cannot start the game: the game folder DIR does not exist\n" + box},
        {"an empty folder", [](const std::filesystem::path&) {},
         "veskar: cannot start the game: DIR/vk_data.vsk is missing\n" + box},
        {"a damaged script archive",
         [](const std::filesystem::path& d) { std::ofstream(d / "vk_data.vsk") << "garbage"; },
         "veskar: DIR/vk_data.vsk: damaged index: the index claims 1651663207 entries but the file holds "
         "only 0\nveskar: DIR/vk_data.vsk holds no script 'main'\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const auto game = dir.path() / "game";
        std::filesystem::create_directories(game);
        c.make(game);
        const auto result = runVeskar("--headless " + game.string() + " --until 5000");
        EXPECT_EQ(result.exitCode, 3);
        std::string expected = c.expected;
        for (std::size_t at; (at = expected.find("DIR")) != std::string::npos;)
            expected.replace(at, 3, game.string());
        EXPECT_NE(result.output.find(expected), std::string::npos) << result.output;
        EXPECT_TRUE(result.output.ends_with(box)) << result.output;
    }
}

TEST(HeadlessRun, MissingPicturesAreNamedToo) {
    test::FixtureGame game;
    game.addScript("main", "テスト\n");
    const auto dir = game.write();
    std::filesystem::remove(dir / "vk_gra.vsk");
    const auto result = runVeskar("--headless " + dir.string() + " --until 5000");
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(
        result.output.find("veskar: cannot start the game: " + (dir / "vk_gra.vsk").string() + " is missing"),
        std::string::npos)
        << result.output;
}

TEST(HeadlessRun, AWindowWithoutADisplayIsOnePlainLine) {
    test::TempDir dir;
    const auto result = runProgramWithout("DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM", dir.path().string());
    EXPECT_EQ(result.exitCode, 4);
    EXPECT_EQ(result.output, "veskar: no display: use --headless or set DISPLAY\n");
}

// Script problems reach stderr once each, with the script and the line.
TEST(HeadlessRun, ScriptProblemsNameTheScriptAndLine) {
    test::FixtureGame game;
    game.addEntry("vk_gra.vsk", "A01", std::string_view("unused"));
    game.addScript("main", ";start\n*frob 1\n*go nowhere\n値[?V001+#]\n*call sub\n");
    game.addScript("sub", "\n*go away\n");
    const auto dir = game.write();
    const auto result = runVeskar("--headless " + dir.string() + " --skip --until 3000");
    EXPECT_EQ(result.exitCode, 0);
    for (const char* line :
         {"veskar: main:2: unknown command 'frob'\n",
          "veskar: main:3: label 'nowhere' not found in script 'main'\n",
          "veskar: main:4: 無効数式: V001+#]\n", "veskar: sub:2: label 'away' not found in script 'sub'\n"})
        EXPECT_NE(result.output.find(line), std::string::npos) << line << result.output;
}

TEST(HeadlessRun, MissingGameDataClosesOnTheFirstPass) {
    test::TempDir dir;
    HeadlessRig rig(dir.path());
    EXPECT_EQ(rig.host.run(), 3);
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
