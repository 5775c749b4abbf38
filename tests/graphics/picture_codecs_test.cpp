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
        {"32 bits per pixel", patched(28, {32, 0})},
        {"8 bits per pixel", patched(28, {8, 0})},
        {"run-length compressed", patched(30, {1, 0, 0, 0})},
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
