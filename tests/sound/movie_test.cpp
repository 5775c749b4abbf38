// Movies in a headless run: decoded in virtual time, so screenshots taken
// during the movie show its frames, the script waits its length, and a file
// that is not a movie is skipped with one line on stderr.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "backends/headless/png_writer.h"
#include "core/byte_reader.h"
#include "support/fixture_game.h"
#include "support/test_support.h"

namespace veskar {
namespace {

namespace fs = std::filesystem;

void fourcc(ByteWriter& w, const char* c) {
    for (int i = 0; i < 4; ++i)
        w.u8(static_cast<std::uint8_t>(c[i]));
}

// An uncompressed AVI of flat-coloured 32 x 24 frames (0xRRGGBB) at `fps`.
std::string flatAvi(const std::vector<std::uint32_t>& colours, int fps) {
    const std::uint32_t w = 32, h = 24, frameBytes = w * h * 3,
                        n = static_cast<std::uint32_t>(colours.size());
    ByteWriter movi;
    fourcc(movi, "movi");
    std::vector<std::uint32_t> offsets;
    for (std::uint32_t c : colours) {
        offsets.push_back(static_cast<std::uint32_t>(movi.size()));
        fourcc(movi, "00db");
        movi.u32(frameBytes);
        for (std::uint32_t i = 0; i < w * h; ++i) {
            movi.u8(static_cast<std::uint8_t>(c & 0xFF));
            movi.u8(static_cast<std::uint8_t>((c >> 8) & 0xFF));
            movi.u8(static_cast<std::uint8_t>((c >> 16) & 0xFF));
        }
    }
    ByteWriter strl;
    fourcc(strl, "strl");
    fourcc(strl, "strh");
    strl.u32(56);
    fourcc(strl, "vids");
    fourcc(strl, "DIB ");
    for (std::uint32_t v :
         {0u, 0u, 0u, 1u, static_cast<std::uint32_t>(fps), 0u, n, frameBytes, 0xFFFFFFFFu, 0u})
        strl.u32(v);
    strl.u16(0);
    strl.u16(0);
    strl.u16(static_cast<std::uint16_t>(w));
    strl.u16(static_cast<std::uint16_t>(h));
    fourcc(strl, "strf");
    strl.u32(40);
    for (std::uint32_t v : {40u, w, h})
        strl.u32(v);
    strl.u16(1);
    strl.u16(24);
    for (std::uint32_t v : {0u, frameBytes, 0u, 0u, 0u, 0u})
        strl.u32(v);
    ByteWriter hdrl;
    fourcc(hdrl, "hdrl");
    fourcc(hdrl, "avih");
    hdrl.u32(56);
    for (std::uint32_t v : {1000000u / static_cast<std::uint32_t>(fps), 0u, 0u, 0x10u, n, 0u, 1u, frameBytes,
                            w, h, 0u, 0u, 0u, 0u})
        hdrl.u32(v);
    fourcc(hdrl, "LIST");
    hdrl.u32(static_cast<std::uint32_t>(strl.size()));
    hdrl.bytes(strl.data());
    ByteWriter body;
    fourcc(body, "AVI ");
    fourcc(body, "LIST");
    body.u32(static_cast<std::uint32_t>(hdrl.size()));
    body.bytes(hdrl.data());
    fourcc(body, "LIST");
    body.u32(static_cast<std::uint32_t>(movi.size()));
    body.bytes(movi.data());
    fourcc(body, "idx1");
    body.u32(16 * n);
    for (std::uint32_t off : offsets) {
        fourcc(body, "00db");
        body.u32(0x10);
        body.u32(off);
        body.u32(frameBytes);
    }
    ByteWriter file;
    fourcc(file, "RIFF");
    file.u32(static_cast<std::uint32_t>(body.size()));
    file.bytes(body.data());
    return std::string(file.data().begin(), file.data().end());
}

std::uint32_t centre(const fs::path& png) {
    auto picture = readPng(png);
    EXPECT_TRUE(picture) << png;
    if (!picture) return 0xDEAD;
    const std::uint8_t* p = picture->row(300) + 400 * 3;
    return static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
}

TEST(Movie, PlaysInVirtualTimeAndTheScriptWaitsItsLength) {
    test::FixtureGame game;
    game.addEntry("vk_gra.vsk", "blank", "x");
    // Four frames of half a second: red, green, blue, white.
    game.addFile("movies/m.avi", flatAvi({0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, 2));
    game.addFile("bad.avi", "not a movie at all");
    // The step goes on after *movie; the next one waits for the movie.
    game.addScript("main",
                   "*movie movies\\m.avi\n*sleep 60\n*gra S236 0\n*movie bad.avi\n*movie missing.avi\n\\\n");
    const auto dir = game.write();
    const auto shot = [&](int ms) {
        return std::to_string(ms) + ":" + (dir / (std::to_string(ms) + ".png")).string();
    };
    const auto run = test::runProgram(VESKAR_EXE, {"--headless", dir.string(), "--until", "3500", "--trace",
                                                   (dir / "trace").string(), "--screenshot", shot(300),
                                                   "--screenshot", shot(800), "--screenshot", shot(1300),
                                                   "--screenshot", shot(1800), "--screenshot", shot(3000)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(centre(dir / "300.png"), 0xFF0000u);
    EXPECT_EQ(centre(dir / "800.png"), 0x00FF00u);
    EXPECT_EQ(centre(dir / "1300.png"), 0x0000FFu);
    EXPECT_EQ(centre(dir / "1800.png"), 0xFFFFFFu);
    // After the movie the game view is back.
    const std::uint32_t after = centre(dir / "3000.png");
    EXPECT_NE(after, 0xFFFFFFu);
    EXPECT_NE(after, 0xFF0000u);
    std::ifstream traceFile(dir / "trace");
    const std::string trace((std::istreambuf_iterator<char>(traceFile)), std::istreambuf_iterator<char>());
    EXPECT_NE(run.err.find("movie bad.avi cannot be played"), std::string::npos) << run.err << trace;
    EXPECT_EQ(trace.find("*sleep 60  => #28 1\nmain@"), trace.find("*sleep 60")) << "the sleep ends the step";
    EXPECT_EQ(run.err.find("missing.avi"), std::string::npos) << run.err;
}

} // namespace
} // namespace veskar
