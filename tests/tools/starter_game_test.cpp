// What an author starts from: the starter game builds and plays to its end,
// and a PNG with transparency becomes a picture with its mask.

#include <gtest/gtest.h>
#include <png.h>

#include <fstream>

#include "archive/archives.h"
#include "graphics/packed_picture.h"
#include "support/test_support.h"

namespace veskar {
namespace {

namespace fs = std::filesystem;
using test::runProgram;
using test::runVsktool;
using test::TempDir;

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(StarterGame, BuildsStrictlyAndPlaysToItsEnd) {
    TempDir dir;
    const fs::path src = dir.path() / "starter", game = dir.path() / "game";
    const auto made = runVsktool({"new", src.string()});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const auto build = runVsktool({"build", "--strict", src.string(), game.string()});
    ASSERT_EQ(build.exitCode, 0) << build.err;
    EXPECT_NE(
        build.err.find("b_hana.png: transparency made into a mask: 400 x 500, the mask on the right half"),
        std::string::npos)
        << build.err;

    const auto run = runProgram(VESKAR_EXE, {"--headless", game.string(), "--skip", "--until", "60000",
                                             "--trace", (dir.path() / "trace.txt").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "") << "the starter game has no faults";
    const std::string trace = readText(dir.path() / "trace.txt");
    EXPECT_NE(trace.find("*exitgame"), std::string::npos) << trace;

    EXPECT_EQ(runVsktool({"new", src.string()}).exitCode, 1) << "an existing game is not overwritten";
}

TEST(StarterGame, PicturesOfTheWrongSizeForTheirRoleAreWarnings) {
    TempDir dir;
    const fs::path src = dir.path() / "starter";
    ASSERT_EQ(runVsktool({"new", src.string()}).exitCode, 0);
    const std::uint8_t rgb[4 * 4 * 3] = {};
    for (const auto& [name, width] : {std::pair{"sys_tw.png", 4}, std::pair{"b_hana.png", 3}}) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(width);
        image.height = 4;
        image.format = PNG_FORMAT_RGB;
        ASSERT_TRUE(
            png_image_write_to_file(&image, (src / "vk_gra" / name).c_str(), 0, rgb, width * 3, nullptr));
    }
    const auto build = runVsktool({"build", src.string(), (dir.path() / "game").string()});
    EXPECT_EQ(build.exitCode, 0) << build.err;
    for (const std::string line :
         {"vk_gra/sys_tw.png: warning: the window picture is 4 x 4; TXW_SIZE_X x 2*TXW_SIZE_Y is 760 x 336\n",
          "vk_gra/b_hana.png: warning: sprite picture is 3 pixels wide: picture and mask halves need an even "
          "width\n"})
        EXPECT_NE(build.err.find(line), std::string::npos) << line << build.err;
}

TEST(AlphaPictures, TransparencyBecomesTheMaskHalf) {
    // Two pixels side by side, on two rows: opaque red, transparent green; half-transparent blue, opaque
    // white.
    const std::uint8_t rgba[] = {255, 0, 0, 255, 0, 255, 0, 0, 0, 0, 255, 128, 255, 255, 255, 255};
    struct Case {
        const char* file;
        int width, height;
        // Expected BGR rows of the converted picture.
        std::vector<std::vector<std::uint8_t>> rows;
    };
    const Case cases[] = {
        {"b_two.png",
         4,
         2,
         {{0, 0, 255, 0, 255, 0, 255, 255, 255, 0, 0, 0},
          {255, 0, 0, 255, 255, 255, 128, 128, 128, 255, 255, 255}}},
        {"sys_tw.png",
         2,
         4,
         {{0, 0, 255, 0, 255, 0},
          {255, 0, 0, 255, 255, 255},
          {255, 255, 255, 0, 0, 0},
          {128, 128, 128, 255, 255, 255}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir dir;
        const fs::path src = dir.path() / "src";
        fs::create_directories(src / "vk_gra");
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = 2;
        image.height = 2;
        image.format = PNG_FORMAT_RGBA;
        ASSERT_TRUE(png_image_write_to_file(&image, (src / "vk_gra" / c.file).c_str(), 0, rgba, 8, nullptr));
        const auto build = runVsktool({"build", src.string(), (dir.path() / "out").string()});
        ASSERT_EQ(build.exitCode, 1) << "no main script: "
                                     << build.err; // the picture is still converted first
        EXPECT_NE(build.err.find("transparency made into a mask"), std::string::npos) << build.err;

        // Build it again with a script so that it is written, and read the entry back.
        fs::create_directories(src / "vk_data");
        std::ofstream(src / "vk_data/main.txt") << "x\n";
        ASSERT_EQ(runVsktool({"build", src.string(), (dir.path() / "out").string()}).exitCode, 0);
        Archives archives(dir.path() / "out");
        archives.OpenArchives({}, "NULL");
        const auto found = archives.FindEntry(search::kPictures, fs::path(c.file).stem().string());
        ASSERT_TRUE(found);
        const auto picture = DecodePackedPicture(*archives.readEntry(*found));
        ASSERT_TRUE(picture) << picture.error();
        ASSERT_EQ(picture->width(), c.width);
        ASSERT_EQ(picture->height(), c.height);
        for (int y = 0; y < c.height; ++y)
            EXPECT_EQ(std::vector<std::uint8_t>(picture->row(y), picture->row(y) + c.width * 3), c.rows[y])
                << "row " << y;
    }
}

} // namespace
} // namespace veskar
