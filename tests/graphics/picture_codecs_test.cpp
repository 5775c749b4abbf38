// JPEG and BMP reading: pictures made here decode to what went in; damaged
// and unsupported files are refused with a reason.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "core/byte_reader.h"
#include "graphics/bmp_reader.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/picture_codecs_test.h"

namespace veskar {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Three flat bands: red, green, blue (blocks of 16 keep JPEG exact enough).
Picture bands(int w, int h) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int band = x * 3 / w;
            p.setPixel(x, y,
                       band == 0   ? makeColour(250, 10, 10)
                       : band == 1 ? makeColour(10, 250, 10)
                                   : makeColour(10, 10, 250));
        }
    return p;
}

TEST(Jpeg, DecodesIntoBlueGreenRedRows) {
    const Picture source = bands(96, 32);
    auto decoded = DecodeJpeg(test::encodeJpeg(source));
    ASSERT_TRUE(decoded.has_value()) << decoded.error();
    ASSERT_EQ(decoded->width(), 96);
    ASSERT_EQ(decoded->height(), 32);
    for (int y = 0; y < 32; y += 7)
        for (int x : {8, 40, 80}) {
            const std::uint8_t* want = source.row(y) + x * 3;
            const std::uint8_t* got = decoded->row(y) + x * 3;
            for (int i = 0; i < 3; ++i)
                EXPECT_NEAR(got[i], want[i], 8) << x << "," << y << " byte " << i;
        }
}

TEST(Jpeg, RejectsWhatIsNoJpeg) {
    std::mt19937 random(5);
    Bytes noise(500);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(random());
    const Bytes good = test::encodeJpeg(bands(32, 16));
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"noise", noise},
        {"a PNG signature", {0x89, 'P', 'N', 'G', 13, 10, 26, 10}},
        {"only the start marker", {0xFF, 0xD8}},
        {"the header cut off", Bytes(good.begin(), good.begin() + 20)},
    };
    for (const auto& [name, bytes] : cases) {
        auto decoded = DecodeJpeg(bytes);
        EXPECT_FALSE(decoded.has_value()) << name;
        if (!decoded) {
            EXPECT_FALSE(decoded.error().empty());
        }
    }
    // Damage after the header gives some picture or an error, never a crash.
    for (int trial = 0; trial < 50; ++trial) {
        Bytes damaged = good;
        for (int f = 0; f < 5; ++f)
            damaged[200 + random() % (damaged.size() - 200)] = static_cast<std::uint8_t>(random());
        (void)DecodeJpeg(damaged);
    }
}

struct ChildDecode {
    bool decoded = false;
    long peakBytes = 0; // the child's peak resident memory
    double seconds = 0;
};

// Decodes in a child process, so that the child's peak memory is what the
// decoder took (plus the test program itself, a few megabytes).
ChildDecode decodeInChild(const Bytes& bytes) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) _exit(DecodeJpeg(bytes) ? 0 : 1);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    ChildDecode result;
    result.decoded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.peakBytes = usage.ru_maxrss * 1024;
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

TEST(Jpeg, HugeHeadersAreRefusedBeforeTheDecoderAllocates) {
    const Bytes progressive = test::encodeProgressiveJpeg(bands(16, 16));
    const Bytes baseline = test::encodeJpeg(bands(16, 16));
    const struct {
        const char* what;
        Bytes file;
    } cases[] = {
        // A two-kilobyte file that would need gigabytes of coefficients.
        {"progressive 20000 x 20000", test::withJpegDimensions(progressive, 20000, 20000)},
        {"baseline 65500 x 65500", test::withJpegDimensions(baseline, 65500, 65500)},
        // Within the picture limit, but its coefficients alone need 486 MB.
        {"progressive 9000 x 9000", test::withJpegDimensions(progressive, 9000, 9000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(DecodeJpeg(c.file).has_value());
        const ChildDecode child = decodeInChild(c.file);
        EXPECT_FALSE(child.decoded);
        EXPECT_LT(child.peakBytes, 64l << 20);
        std::printf("%s (%zu bytes): peak %.1f MB, %.3f s\n", c.what, c.file.size(),
                    static_cast<double>(child.peakBytes) / (1 << 20), child.seconds);
    }
}

TEST(Jpeg, ProgressivePicturesOfScreenSizeDecode) {
    const Picture source = bands(800, 600);
    auto decoded = DecodeJpeg(test::encodeProgressiveJpeg(source));
    ASSERT_TRUE(decoded.has_value()) << decoded.error();
    ASSERT_EQ(decoded->width(), 800);
    ASSERT_EQ(decoded->height(), 600);
    for (int x : {100, 400, 700})
        EXPECT_NEAR(decoded->row(300)[x * 3], source.row(300)[x * 3], 8) << x;
}

Picture counting(int w, int h) {
    Picture p(w, h);
    for (std::size_t i = 0; i < p.bytes().size(); ++i)
        p.bytes()[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return p;
}

TEST(Bmp, ReadsBothRowOrders) {
    // Widths 1 ... 5 cover every amount of row padding.
    for (int w = 1; w <= 5; ++w)
        for (bool topDown : {false, true}) {
            const Picture source = counting(w, 3);
            auto read = ReadBmp(test::encodeBmp(source, topDown));
            ASSERT_TRUE(read.has_value()) << read.error();
            EXPECT_EQ(*read, source) << w << (topDown ? " top-down" : " bottom-up");
        }
}

// A BMP of 8 bits (indexes into `palette`, 4 bytes an entry) or 32 bits
// (blue, green, red, unused) a pixel; `pixels` are the rows top first,
// unpadded.
Bytes bmpOf(int bits, int w, int h, const Bytes& pixels, const Bytes& palette = {}, bool topDown = false) {
    const std::uint32_t rowBytes = static_cast<std::uint32_t>(w * bits / 8);
    const std::uint32_t stride = (rowBytes + 3) & ~3u;
    const std::uint32_t offset = 54 + static_cast<std::uint32_t>(palette.size());
    ByteWriter b;
    b.u8('B');
    b.u8('M');
    b.u32(offset + stride * static_cast<std::uint32_t>(h));
    b.u32(0);
    b.u32(offset);
    b.u32(40);
    b.u32(static_cast<std::uint32_t>(w));
    b.u32(static_cast<std::uint32_t>(topDown ? -h : h));
    b.u16(1);
    b.u16(static_cast<std::uint16_t>(bits));
    b.u32(0);
    b.u32(stride * static_cast<std::uint32_t>(h));
    b.u32(2835);
    b.u32(2835);
    b.u32(static_cast<std::uint32_t>(palette.size() / 4));
    b.u32(0);
    b.bytes(palette);
    for (int i = 0; i < h; ++i) {
        const int r = topDown ? i : h - 1 - i;
        b.bytes({pixels.data() + r * rowBytes, rowBytes});
        for (std::uint32_t p = rowBytes; p < stride; ++p)
            b.u8(0);
    }
    return std::move(b.data());
}

TEST(Bmp, ReadsPaletteAndThirtyTwoBitFiles) {
    // Widths 1 ... 5 cover every amount of row padding of 8-bit rows.
    for (int w = 1; w <= 5; ++w)
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(std::to_string(w) + (topDown ? " top-down" : " bottom-up"));
            const Picture source = counting(w, 3);
            // Every pixel its own palette entry.
            Bytes palette, indexes, wide;
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < w; ++x) {
                    const std::uint8_t* px = source.row(y) + x * 3;
                    palette.insert(palette.end(), {px[0], px[1], px[2], 0x77});
                    indexes.push_back(static_cast<std::uint8_t>(y * w + x));
                    wide.insert(wide.end(), {px[0], px[1], px[2], 0xEE});
                }
            auto eight = ReadBmp(bmpOf(8, w, 3, indexes, palette, topDown));
            ASSERT_TRUE(eight.has_value()) << eight.error();
            EXPECT_EQ(*eight, source);
            auto thirtyTwo = ReadBmp(bmpOf(32, w, 3, wide, {}, topDown));
            ASSERT_TRUE(thirtyTwo.has_value()) << thirtyTwo.error();
            EXPECT_EQ(*thirtyTwo, source);
        }
    // A palette size of 0 means 256 entries.
    Bytes full(256 * 4, 0);
    full[255 * 4 + 2] = 200;
    Bytes fullFile = bmpOf(8, 1, 1, {255}, full);
    fullFile[46] = 0; // colours used: 0
    auto read = ReadBmp(fullFile);
    ASSERT_TRUE(read.has_value()) << read.error();
    EXPECT_EQ(read->pixel(0, 0), makeColour(200, 0, 0));
}

TEST(Bmp, RefusesDamagedAndUnsupportedFiles) {
    const Bytes good = test::encodeBmp(counting(3, 2));
    auto patched = [&](std::size_t at, std::initializer_list<std::uint8_t> values) {
        Bytes b = good;
        std::size_t i = at;
        for (auto v : values)
            b[i++] = v;
        return b;
    };
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"headers cut short", Bytes(good.begin(), good.begin() + 40)},
        {"not BM", patched(0, {'X', 'M'})},
        {"16 bits per pixel", patched(28, {16, 0})},
        {"1 bit per pixel", patched(28, {1, 0})},
        {"run-length compressed", patched(30, {1, 0, 0, 0})},
        {"bit fields", patched(30, {3, 0, 0, 0})},
        {"palette index past the palette", bmpOf(8, 2, 1, {0, 2}, Bytes(8, 0))},
        {"palette of 300 colours",
         [] {
             Bytes b = bmpOf(8, 1, 1, {0}, Bytes(4, 0));
             b[46] = 0x2C; // 300
             b[47] = 0x01;
             return b;
         }()},
        {"palette past the pixels",
         [] {
             Bytes b = bmpOf(8, 1, 1, {0}, Bytes(8, 0));
             b[10] = 58; // pixels start inside the palette
             return b;
         }()},
        {"palette past the file",
         [] {
             Bytes b = bmpOf(8, 1, 1, {0}, Bytes(1024, 0));
             b.resize(500);
             return b;
         }()},
        {"32-bit pixels cut short",
         [] {
             Bytes b = bmpOf(32, 2, 2, Bytes(16, 9));
             b.resize(b.size() - 5);
             return b;
         }()},
        {"zero width", patched(18, {0, 0, 0, 0})},
        {"negative width", patched(18, {0xFF, 0xFF, 0xFF, 0xFF})},
        {"zero height", patched(22, {0, 0, 0, 0})},
        {"most negative height", patched(22, {0, 0, 0, 0x80})},
        {"header size past the file", patched(14, {0xFF, 0xFF, 0, 0})},
        {"core header", patched(14, {12, 0, 0, 0})},
        {"pixel offset past the file", patched(10, {0xFF, 0xFF, 0, 0})},
        {"pixels cut short", Bytes(good.begin(), good.end() - 4)},
        {"huge size", patched(18, {0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0})},
    };
    for (const auto& [name, bytes] : cases) {
        auto read = ReadBmp(bytes);
        EXPECT_FALSE(read.has_value()) << name;
        if (!read) {
            EXPECT_EQ(read.error().rfind("BMP: ", 0), 0u) << read.error();
        }
    }
    // The last row's padding may be missing.
    auto lenient = ReadBmp(Bytes(good.begin(), good.end() - 3));
    EXPECT_TRUE(lenient.has_value());
}

} // namespace
} // namespace veskar
