// vsktool pic and the picture folders of vsktool build, run as a program.

#include <gtest/gtest.h>

#include <fstream>

#include "archive/archives.h"
#include "backends/headless/png_writer.h"
#include "core/byte_reader.h"
#include "core/files.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/packed_picture.h"
#include "support/test_support.h"

namespace veskar {
namespace {

namespace fs = std::filesystem;
using test::runVsktool;
using test::TempDir;

Picture sample(int w, int h) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.setPixel(x, y, makeColour(x * 20, y * 30, (x + y) % 2 ? 255 : 0));
    return p;
}

// A bottom-up 24-bit BMP.
void writeBmp(const Picture& p, const fs::path& path) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(p.rowBytes()) + 3) & ~3u;
    ByteWriter w;
    for (std::uint8_t b : {'B', 'M'})
        w.u8(b);
    w.u32(54 + stride * static_cast<std::uint32_t>(p.height()));
    w.u32(0);
    w.u32(54);
    w.u32(40);
    w.u32(static_cast<std::uint32_t>(p.width()));
    w.u32(static_cast<std::uint32_t>(p.height()));
    w.u16(1);
    w.u16(24);
    for (int i = 0; i < 6; ++i)
        w.u32(0);
    for (int r = p.height() - 1; r >= 0; --r) {
        w.bytes({p.row(r), static_cast<std::size_t>(p.rowBytes())});
        for (std::uint32_t i = static_cast<std::uint32_t>(p.rowBytes()); i < stride; ++i)
            w.u8(0);
    }
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(writeFileAtomically(path, w.data()));
}

void writePicturePng(const Picture& p, const fs::path& path) {
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(writePng(p, path));
}

std::expected<Picture, std::string> decodeFile(const fs::path& path) {
    auto bytes = readWholeFile(path);
    if (!bytes) return std::unexpected(bytes.error());
    return DecodePackedPicture(*bytes);
}

TEST(VsktoolPic, EncodeAndDecodeRoundTrip) {
    TempDir dir;
    const fs::path d = dir.path();
    const Picture picture = sample(13, 7);
    writePicturePng(picture, d / "in.png");
    writeBmp(picture, d / "in.bmp");

    for (const char* input : {"in.png", "in.bmp"}) {
        SCOPED_TRACE(input);
        const auto encode = runVsktool({"pic", "encode", (d / input).string(), (d / "out.pak").string()});
        ASSERT_EQ(encode.exitCode, 0) << encode.err;
        auto packed = decodeFile(d / "out.pak");
        ASSERT_TRUE(packed.has_value()) << packed.error();
        EXPECT_EQ(*packed, picture);

        const auto decode =
            runVsktool({"pic", "decode", (d / "out.pak").string(), (d / "back.png").string()});
        ASSERT_EQ(decode.exitCode, 0) << decode.err;
        auto back = readPng(d / "back.png");
        ASSERT_TRUE(back.has_value()) << back.error();
        EXPECT_EQ(*back, picture);
    }
}

// A JPEG is lossy: the decoded picture must keep the size and stay close to
// the source, colour by colour, and decode-to-PNG must accept it too.
TEST(VsktoolPic, JpegFromPngAndBmp) {
    TempDir dir;
    const fs::path d = dir.path();
    Picture picture(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, makeColour(200, 40 + x * 2, 30 + y * 3));
    writePicturePng(picture, d / "in.png");
    writeBmp(picture, d / "in.bmp");

    for (const char* input : {"in.png", "in.bmp"}) {
        SCOPED_TRACE(input);
        const auto run = runVsktool({"pic", "jpeg", (d / input).string(), (d / "out.jpg").string()});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        auto bytes = readWholeFile(d / "out.jpg");
        ASSERT_TRUE(bytes.has_value());
        auto decoded = DecodeJpeg(*bytes);
        ASSERT_TRUE(decoded.has_value()) << decoded.error();
        ASSERT_EQ(decoded->width(), 64);
        ASSERT_EQ(decoded->height(), 48);
        int worst = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64 * 3; ++x)
                worst = std::max(worst, std::abs(decoded->row(y)[x] - picture.row(y)[x]));
        EXPECT_LE(worst, 12);

        const auto back = runVsktool({"pic", "decode", (d / "out.jpg").string(), (d / "back.png").string()});
        ASSERT_EQ(back.exitCode, 0) << back.err;
    }
}

TEST(VsktoolPic, ErrorsAndUsage) {
    TempDir dir;
    const fs::path d = dir.path();
    ASSERT_TRUE(writeFileAtomically(d / "junk.pak", std::vector<std::uint8_t>(40, 0x11)));
    ASSERT_TRUE(writeFileAtomically(d / "junk.png", std::vector<std::uint8_t>(40, 0x11)));
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* err;
    };
    const Case cases[] = {
        {{"pic", "decode", (d / "junk.pak").string(), (d / "x.png").string()}, 1, "bytes per pixel"},
        {{"pic", "encode", (d / "junk.png").string(), (d / "x.pak").string()}, 1, "junk.png"},
        {{"pic", "encode", (d / "missing.bmp").string(), (d / "x.pak").string()}, 1, "missing.bmp"},
        {{"pic"}, 2, "missing 'encode', 'decode' or 'jpeg'"},
        {{"pic", "jpeg", (d / "junk.png").string(), (d / "x.jpg").string()}, 1, "junk.png"},
        {{"pic", "squash", "a", "b"}, 2, "unknown action"},
        {{"pic", "encode", "a"}, 2, "takes an input and an output"},
    };
    for (const auto& c : cases) {
        const auto result = runVsktool(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.args.back();
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    }
    EXPECT_FALSE(fs::exists(d / "x.png"));
    EXPECT_FALSE(fs::exists(d / "x.jpg"));
}

TEST(VsktoolPic, BuildEncodesPictureFolders) {
    TempDir dir;
    const fs::path src = dir.path() / "src";
    const fs::path out = dir.path() / "game";
    const Picture bg = sample(9, 5), ev = sample(4, 4);
    fs::create_directories(src / "vk_data");
    ASSERT_TRUE(writeFileAtomically(src / "vk_data/main.txt", std::vector<std::uint8_t>{'\\', '\n'}));
    writePicturePng(bg, src / "vk_gra/bg01.png");
    writeBmp(ev, src / "VK_GRA3/ev01.BMP");
    const std::vector<std::uint8_t> jpeg{0xFF, 0xD8, 'n', 'o', 't', ' ', 'c', 'h', 'e', 'c', 'k', 'e', 'd'};
    fs::create_directories(src / "vk_gjp");
    ASSERT_TRUE(writeFileAtomically(src / "vk_gjp/photo.jpg", jpeg));

    const auto build = runVsktool({"build", src.string(), out.string()});
    ASSERT_EQ(build.exitCode, 0) << build.err;

    Archives archives(out);
    archives.LoadScriptIndexes();
    archives.OpenArchives({}, "NULL");
    const auto load = [&](std::string_view name) -> std::expected<Picture, std::string> {
        const auto found = archives.FindEntry(search::kPictures, name);
        if (!found) return std::unexpected("not found");
        return DecodePackedPicture(*archives.readEntry(*found));
    };
    EXPECT_EQ(load("bg01").value_or(Picture()), bg);
    EXPECT_EQ(load("ev01").value_or(Picture()), ev);
    const auto photo = archives.FindEntry(search::kPictures, "photo");
    ASSERT_TRUE(photo.has_value());
    EXPECT_EQ(photo->set, ArchiveSet::JpegPictures);
    EXPECT_EQ(*archives.readEntry(*photo), jpeg);
}

} // namespace
} // namespace veskar
