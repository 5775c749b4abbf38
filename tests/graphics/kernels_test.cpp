// Pixel kernels: the arithmetic on boundary values for every instruction
// set, every fast version against the plain one on random rows, and the
// clipping of the masked draws.

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "graphics/kernel_rows.h"
#include "graphics/kernels.h"

namespace veskar {
namespace {

using kernels::Byte;
using kernels::KernelRows;
using Bytes = std::vector<Byte>;

struct ArithmeticCase {
    const char* name;
    // Runs the kernel on one group: inputs a, b, mask/weight byte vectors.
    std::function<void(const KernelRows&, const Byte* a, const Byte* b, const Byte* m, Byte* out)> run;
    Bytes a, b, m, expected;
};

TEST(Kernels, ArithmeticOnBoundaryValues) {
    const ArithmeticCase cases[] = {
        {"mask 255 takes one step below the picture byte",
         [](auto& k, auto a, auto b, auto m, auto o) { k.maskBlend(a, b, m, 1, o); },
         {50, 50, 50, 50, 50, 50, 50, 50},
         {200, 255, 0, 1, 128, 200, 200, 200},
         {255, 255, 255, 255, 255, 255, 255, 255},
         {199, 254, 0, 0, 127, 199, 199, 199}},
        {"a zero mask byte in a group with others set darkens the under byte",
         [](auto& k, auto a, auto b, auto m, auto o) { k.maskBlend(a, b, m, 1, o); },
         {200, 255, 0, 1, 200, 200, 200, 200},
         {0, 0, 0, 0, 0, 0, 0, 99},
         {0, 0, 0, 0, 0, 0, 0, 1},
         {199, 254, 0, 0, 199, 199, 199, 198}},
        {"a group of zero mask bytes keeps the under bytes",
         [](auto& k, auto a, auto b, auto m, auto o) { k.maskBlend(a, b, m, 1, o); },
         {200, 255, 0, 1, 2, 3, 4, 5},
         {9, 9, 9, 9, 9, 9, 9, 9},
         {0, 0, 0, 0, 0, 0, 0, 0},
         {200, 255, 0, 1, 2, 3, 4, 5}},
        {"half mask sums both floors",
         [](auto& k, auto a, auto b, auto m, auto o) { k.maskBlend(a, b, m, 1, o); },
         {255, 255, 100, 0, 255, 0, 17, 255},
         {255, 0, 100, 255, 255, 0, 33, 0},
         {128, 128, 128, 128, 127, 1, 64, 254},
         {253, 126, 99, 127, 253, 0, 20, 0}},
        {"screen blend has no zero-mask shortcut",
         [](auto& k, auto a, auto b, auto m, auto o) { k.maskBlendAll(a, b, m, 1, o); },
         {200, 255, 0, 1, 2, 3, 4, 5},
         {9, 9, 9, 9, 9, 9, 9, 9},
         {0, 0, 0, 0, 0, 0, 0, 0},
         {199, 254, 0, 0, 1, 2, 3, 4}},
        {"cross-fade weight 256 gives A",
         [](auto& k, auto a, auto b, auto, auto o) { k.crossFade(a, b, 256, 1, o); },
         {0, 1, 127, 128, 200, 254, 255, 7},
         {255, 0, 3, 9, 0, 255, 0, 7},
         {},
         {0, 1, 127, 128, 200, 254, 255, 7}},
        {"cross-fade weight 0 gives B",
         [](auto& k, auto a, auto b, auto, auto o) { k.crossFade(a, b, 0, 1, o); },
         {0, 1, 127, 128, 200, 254, 255, 7},
         {255, 0, 3, 9, 0, 255, 0, 7},
         {},
         {255, 0, 3, 9, 0, 255, 0, 7}},
        {"cross-fade weight 128",
         [](auto& k, auto a, auto b, auto, auto o) { k.crossFade(a, b, 128, 1, o); },
         {255, 0, 255, 1, 3, 254, 255, 100},
         {0, 255, 255, 0, 0, 255, 254, 101},
         {},
         {127, 127, 255, 0, 1, 254, 254, 100}},
        {"scale by 40",
         [](auto& k, auto a, auto, auto, auto o) { k.scale(a, 40, 1, o); },
         {255, 0, 7, 6, 128, 200, 64, 100},
         {},
         {},
         {39, 0, 1, 0, 20, 31, 10, 15}},
        {"scale by 256 keeps",
         [](auto& k, auto a, auto, auto, auto o) { k.scale(a, 256, 1, o); },
         {255, 0, 7, 6, 128, 200, 64, 100},
         {},
         {},
         {255, 0, 7, 6, 128, 200, 64, 100}},
        {"add saturates",
         [](auto& k, auto a, auto b, auto, auto o) { k.add(a, b, 1, o); },
         {255, 0, 200, 128, 1, 254, 0, 100},
         {1, 0, 55, 128, 254, 0, 255, 100},
         {},
         {255, 0, 255, 255, 255, 254, 255, 200}},
        {"add constant saturates",
         [](auto& k, auto a, auto, auto, auto o) { k.addConstant(a, 56, 1, o); },
         {0, 199, 200, 255, 1, 100, 150, 250},
         {},
         {},
         {56, 255, 255, 255, 57, 156, 206, 255}},
        {"subtract constant stops at 0",
         [](auto& k, auto a, auto, auto, auto o) { k.subtractConstant(a, 56, 1, o); },
         {0, 55, 56, 57, 255, 100, 150, 1},
         {},
         {},
         {0, 0, 0, 1, 199, 44, 94, 0}},
        {"subtract 255 clears",
         [](auto& k, auto a, auto, auto, auto o) { k.subtractConstant(a, 255, 1, o); },
         {0, 55, 56, 57, 255, 100, 150, 1},
         {},
         {},
         {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const KernelRows* k : kernels::availableRows())
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << k->name << ": " << c.name);
            Bytes a = c.a, b = c.b, m = c.m;
            a.resize(8), b.resize(8), m.resize(8);
            Bytes out(8, 0xEE);
            c.run(*k, a.data(), b.data(), m.data(), out.data());
            EXPECT_EQ(out, c.expected);
        }
}

// Masks whose groups are all zero, all 255 or anything, as sprites have.
Bytes randomMask(std::mt19937& random, std::size_t size) {
    Bytes m(size);
    for (std::size_t g = 0; g < size; g += 8) {
        const int kind = static_cast<int>(random() % 4);
        for (std::size_t i = g; i < std::min(size, g + 8); ++i)
            m[i] = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<Byte>(random() % (kind == 2 ? 2 : 256));
    }
    return m;
}

Bytes randomBytes(std::mt19937& random, std::size_t size) {
    Bytes b(size);
    for (auto& x : b)
        x = static_cast<Byte>(random());
    return b;
}

TEST(Kernels, FastVersionsMatchTheReference) {
    const KernelRows& reference = kernels::referenceRows();
    const auto rows = kernels::availableRows();
    ASSERT_GE(rows.size(), 1u);
    std::mt19937 random(12345);
    std::vector<int> groupCounts;
    for (int g = 0; g <= 41; ++g)
        groupCounts.push_back(g);
    groupCounts.push_back(300);
    groupCounts.push_back(1001);
    constexpr std::size_t kGuard = 40; // bytes after the groups that must stay as they were

    using Run =
        std::function<void(const KernelRows&, const Byte*, const Byte*, const Byte*, int, int, Byte*)>;
    const std::pair<const char*, Run> kernelsUnderTest[] = {
        {"maskBlend",
         [](auto& k, auto a, auto b, auto m, int, int g, auto o) { k.maskBlend(a, b, m, g, o); }},
        {"maskBlendAll",
         [](auto& k, auto a, auto b, auto m, int, int g, auto o) { k.maskBlendAll(a, b, m, g, o); }},
        {"crossFade",
         [](auto& k, auto a, auto b, auto, int w, int g, auto o) { k.crossFade(a, b, w, g, o); }},
        {"scale", [](auto& k, auto a, auto, auto, int w, int g, auto o) { k.scale(a, w, g, o); }},
        {"add", [](auto& k, auto a, auto b, auto, int, int g, auto o) { k.add(a, b, g, o); }},
        {"addConstant",
         [](auto& k, auto a, auto, auto, int w, int g, auto o) { k.addConstant(a, w % 256, g, o); }},
        {"subtractConstant",
         [](auto& k, auto a, auto, auto, int w, int g, auto o) { k.subtractConstant(a, w % 256, g, o); }},
    };
    for (const KernelRows* k : rows)
        for (const auto& [name, run] : kernelsUnderTest)
            for (int groups : groupCounts)
                for (int trial = 0; trial < 3; ++trial) {
                    SCOPED_TRACE(testing::Message() << k->name << " " << name << " groups " << groups);
                    const std::size_t size = static_cast<std::size_t>(groups) * 8 + kGuard;
                    const Bytes a = randomBytes(random, size), b = randomBytes(random, size);
                    const Bytes m = randomMask(random, size);
                    const int weight = trial == 0 ? 0 : trial == 1 ? 256 : static_cast<int>(random() % 257);
                    const Bytes start = randomBytes(random, size);
                    Bytes expected = start, actual = start;
                    run(reference, a.data(), b.data(), m.data(), weight, groups, expected.data());
                    run(*k, a.data(), b.data(), m.data(), weight, groups, actual.data());
                    ASSERT_EQ(actual, expected);
                    // The bytes after the last group are not touched.
                    EXPECT_TRUE(std::equal(actual.end() - kGuard, actual.end(), start.end() - kGuard));
                    // In place over the first input gives the same bytes.
                    Bytes inPlace = a;
                    run(*k, inPlace.data(), b.data(), m.data(), weight, groups, inPlace.data());
                    EXPECT_TRUE(std::equal(inPlace.begin(), inPlace.begin() + groups * 8, expected.begin()));
                }
}

Picture filled(int w, int h, Byte value) {
    Picture p(w, h);
    std::fill(p.bytes().begin(), p.bytes().end(), value);
    return p;
}

TEST(Kernels, ScreenKernelsLeaveRowRemaindersAndUnsharedAreas) {
    // 5-pixel rows are 15 bytes: one group, 7 bytes left alone per row.
    const Picture a = filled(5, 3, 200);
    const Picture b = filled(5, 3, 100);
    Picture out = filled(5, 3, 7);
    CrossFadeScreen(a, b, 256, out);
    for (int y = 0; y < 3; ++y)
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(out.row(y)[i], i < 8 ? 200 : 7) << y << "," << i;

    // A smaller input limits the area written.
    const Picture small = filled(4, 2, 10);
    Picture screen = filled(8, 4, 1);
    AddConstant(small, screen, 5);
    for (int y = 0; y < 4; ++y)
        for (int i = 0; i < 24; ++i)
            EXPECT_EQ(screen.row(y)[i], (y < 2 && i < 8) ? 15 : 1) << y << "," << i;
}

TEST(Kernels, WholeScreenKernels) {
    std::mt19937 random(3);
    Picture a(800, 600), b(800, 600), m(800, 600), out(800, 600);
    for (auto* p : {&a, &b, &m})
        for (auto& x : p->bytes())
            x = static_cast<Byte>(random());
    MaskBlendScreen(a, b, m, out);
    for (std::size_t i = 0; i < out.bytes().size(); i += 997) {
        const unsigned av = a.bytes()[i], bv = b.bytes()[i], mv = m.bytes()[i];
        ASSERT_EQ(out.bytes()[i], ((av * (255 - mv)) >> 8) + ((bv * mv) >> 8)) << i;
    }
    CrossFadeScreen(a, b, 100, out);
    for (std::size_t i = 0; i < out.bytes().size(); i += 997)
        ASSERT_EQ(out.bytes()[i], (a.bytes()[i] * 100u + b.bytes()[i] * 156u) >> 8) << i;
    ScaleScreen(a, out, 255);
    EXPECT_EQ(out.bytes().back(), (a.bytes().back() * 255u) >> 8);
    AddPictures(a, b, out);
    EXPECT_EQ(out.bytes().back(), std::min(255, a.bytes().back() + b.bytes().back()));
    // Weights outside 0 ... 256 are held to it.
    CrossFadeScreen(a, b, 300, out);
    EXPECT_EQ(out, a);
    CrossFadeScreen(a, b, -5, out);
    EXPECT_EQ(out, b);
}

TEST(Kernels, CrossFadeBlockTouchesOnlyItsBlock) {
    const Picture prev = filled(800, 600, 200), next = filled(800, 600, 100);
    struct Case {
        int x, y;
        int left, top, right, bottom; // expected changed area
    };
    const Case cases[] = {{160, 120, 160, 120, 240, 180},
                          {760, 570, 760, 570, 800, 600},
                          {-40, -30, 0, 0, 40, 30},
                          {800, 0, 0, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        Picture out = filled(800, 600, 1);
        CrossFadeBlock(prev, next, c.x, c.y, 256, out);
        for (int y = 0; y < 600; y += 1)
            for (int x = 0; x < 800; x += 1) {
                const bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
                ASSERT_EQ(out.pixel(x, y), inside ? makeColour(200, 200, 200) : makeColour(1, 1, 1))
                    << x << "," << y;
            }
    }
}

// A sprite whose bytes tell their column: s = column + 10; with a full mask
// a drawn byte becomes 255 * s / 256.
Picture columnSprite(int w, int h) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int i = 0; i < 3; ++i)
                p.row(y)[x * 3 + i] = static_cast<Byte>(x + 10);
    return p;
}

Byte drawn(int column) { return static_cast<Byte>((255 * (column + 10)) >> 8); }

TEST(Kernels, MaskedSpriteIsClipped) {
    struct Case {
        const char* name;
        int x, y;
    };
    const Case cases[] = {{"inside", 10, 2},          {"left edge", -50, 0},      {"top edge", 3, -5},
                          {"right edge", 90, 1},      {"bottom edge", 0, 28},     {"all corners", -77, -9},
                          {"past the right", 100, 0}, {"past the bottom", 0, 30}, {"past the left", -80, 0},
                          {"above", 0, -12}};
    const int w = 80, h = 12;
    const Picture sprite = columnSprite(w, h);
    const Picture mask = filled(w, h, 255);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Picture dest = filled(100, 30, 3);
        DrawMaskedSprite(dest, sprite, c.x, c.y, mask);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 100; ++x) {
                const int sx = x - c.x, sy = y - c.y;
                const bool inside = sx >= 0 && sx < w && sy >= 0 && sy < h;
                ASSERT_EQ(dest.row(y)[x * 3], inside ? drawn(sx) : 3) << x << "," << y;
            }
    }
}

TEST(Kernels, MaskedSpriteOnAScreen) {
    // The cases the scene relies on: 50 columns cut on the left, 10 rows left at the bottom.
    const Picture sprite = columnSprite(200, 600);
    const Picture mask = filled(200, 600, 255);
    Picture screen = filled(800, 600, 0);
    DrawMaskedSprite(screen, sprite, -50, 590, mask);
    EXPECT_EQ(screen.row(590)[0], drawn(50));
    EXPECT_EQ(screen.row(599)[149 * 3], drawn(199));
    EXPECT_EQ(screen.row(599)[150 * 3], 0);
    EXPECT_EQ(screen.row(589)[0], 0);
}

TEST(Kernels, MaskedSpriteRemainderPixelsUseOneDivision) {
    // 9 pixels: one 8-pixel block through the group kernel, one pixel byte by byte.
    struct Case {
        Byte under, picture, mask;
        Byte block, remainder;
    };
    const Case cases[] = {
        {200, 50, 0, 200, 199},    // zero mask: the block keeps, the last pixel darkens
        {255, 255, 128, 253, 254}, // two floors against one
        {10, 200, 255, 199, 199},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.under) << " " << int(c.picture) << " " << int(c.mask));
        Picture dest = filled(9, 1, c.under);
        DrawMaskedSprite(dest, filled(9, 1, c.picture), 0, 0, filled(9, 1, c.mask));
        for (int i = 0; i < 27; ++i)
            EXPECT_EQ(dest.row(0)[i], i < 24 ? c.block : c.remainder) << i;
    }
}

TEST(Kernels, HalfMaskedDraws) {
    // Left half picture, right half mask.
    Picture h(6, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x)
            for (int i = 0; i < 3; ++i)
                h.row(y)[x * 3 + i] = x < 3 ? 200 : (x == 4 ? 0 : 255);
    Picture dest = filled(10, 4, 100);
    DrawHalfMaskedH(dest, -1, h, 3);
    // Column 1 of the picture (mask 0) lands on column 0, column 2 on column 1; one row fits.
    EXPECT_EQ(dest.pixel(0, 3), makeColour(99, 99, 99));
    EXPECT_EQ(dest.pixel(1, 3), makeColour(199, 199, 199));
    EXPECT_EQ(dest.pixel(2, 3), makeColour(100, 100, 100));
    EXPECT_EQ(dest.pixel(0, 2), makeColour(100, 100, 100));

    // Top half picture, bottom half mask; a 100-pixel row blends 37 groups.
    Picture v(100, 4);
    for (int y = 0; y < 4; ++y)
        std::fill(v.row(y), v.row(y) + 300, y < 2 ? 200 : 255);
    Picture screen = filled(800, 600, 0);
    EXPECT_TRUE(DrawHalfMaskedV(screen, 700, v, 598));
    for (int y = 598; y < 600; ++y) {
        EXPECT_EQ(screen.row(y)[700 * 3 + 295], 199);
        EXPECT_EQ(screen.row(y)[700 * 3 + 296], 0);
        EXPECT_EQ(screen.row(y)[700 * 3 + 299], 0);
    }
    const std::pair<int, int> refused[] = {{701, 0}, {0, 599}, {-1, 0}, {0, -1}};
    for (const auto& [x, y] : refused) {
        Picture before = filled(800, 600, 0);
        EXPECT_FALSE(DrawHalfMaskedV(before, x, v, y)) << x << "," << y;
        EXPECT_EQ(before, filled(800, 600, 0));
    }
}

TEST(Kernels, RowEntryPointsClampAndSkip) {
    Bytes a(16, 200), b(16, 100), out(16, 5);
    CrossFadeRow(a.data(), b.data(), 1000, 2, out.data());
    EXPECT_EQ(out, a);
    Bytes untouched(16, 5);
    MaskBlendRow(a.data(), b.data(), a.data(), 0, untouched.data());
    MaskBlendRow(a.data(), b.data(), a.data(), -3, untouched.data());
    EXPECT_EQ(untouched, Bytes(16, 5));
}

} // namespace
} // namespace veskar
