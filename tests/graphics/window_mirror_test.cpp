// The 32-bit copy of the window the desktop shows: the conversion kernels
// held to their reference, and what a present, a whole frame and a read of
// the window picture leave in each copy.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "graphics/present_kernels.h"
#include "graphics/window_mirror.h"

namespace veskar {
namespace {

std::vector<std::uint8_t> randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> v(n);
    for (auto& b : v)
        b = static_cast<std::uint8_t>(random());
    return v;
}

TEST(PresentKernels, EveryTableMatchesTheReference) {
    const auto& reference = referencePresentKernels();
    ASSERT_GE(availablePresentKernels().size(), 1u);
    EXPECT_EQ(&activePresentKernels(), availablePresentKernels().back());
    // Lengths around every vector step and tail, a screen row, and starts
    // off any alignment.
    std::vector<int> lengths;
    for (int n = 0; n <= 40; ++n)
        lengths.push_back(n);
    lengths.push_back(800);
    for (const PresentKernels* k : availablePresentKernels()) {
        SCOPED_TRACE(std::string(k->name));
        for (int n : lengths)
            for (int start : {0, 1, 3}) {
                SCOPED_TRACE(std::to_string(n) + " pixels from byte " + std::to_string(start));
                const auto source = randomBytes(static_cast<std::size_t>(n * 3 + start + 8), n * 7 + start);
                // Guard words after the output show a kernel writing too far.
                std::vector<std::uint32_t> want(n + 4, 0x12345678u), got(n + 4, 0x12345678u);
                reference.expand(source.data() + start, n, want.data());
                k->expand(source.data() + start, n, got.data());
                ASSERT_EQ(got, want);
                for (int i = 0; i < n; ++i)
                    ASSERT_EQ(got[i] >> 24, 0xFFu);

                std::vector<std::uint8_t> back(static_cast<std::size_t>(n * 3 + 8), 0xA5),
                    backWant(static_cast<std::size_t>(n * 3 + 8), 0xA5);
                reference.pack(want.data(), n, backWant.data());
                k->pack(want.data(), n, back.data());
                ASSERT_EQ(back, backWant);
                ASSERT_TRUE(std::equal(back.begin(), back.begin() + n * 3, source.begin() + start));
            }
    }
}

Picture patterned(int w, int h, int seed) {
    Picture p(w, h);
    const auto bytes = randomBytes(p.bytes().size(), static_cast<unsigned>(seed));
    std::copy(bytes.begin(), bytes.end(), p.bytes().begin());
    return p;
}

std::uint32_t screenPixel(Colour c) {
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

TEST(WindowMirror, APresentConvertsOnlyItsRectangle) {
    WindowMirror m(40, 30);
    m.picture() = patterned(40, 30, 1);
    EXPECT_EQ(m.present({5, 6, 7, 8}), (Rect{5, 6, 7, 8}));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= 5 && x < 12 && y >= 6 && y < 14;
            ASSERT_EQ(m.pixel(x, y), inside ? screenPixel(m.picture().pixel(x, y)) : 0xFF000000u)
                << x << "," << y;
        }
    // Rectangles reaching past the window are clipped to it.
    EXPECT_EQ(m.present({-5, 25, 10, 100}), (Rect{0, 25, 5, 5}));
    EXPECT_EQ(m.present({50, 0, 10, 10}), (Rect{40, 0, 0, 10}));
    EXPECT_EQ(m.present({0, 0, -3, 4}), (Rect{0, 0, 0, 4}));
}

TEST(WindowMirror, AWholeFrameIsShownFromItsOwnBufferAndThePictureCatchesUp) {
    WindowMirror m(40, 30);
    m.picture() = patterned(40, 30, 2);
    m.refresh();
    const Picture frame = patterned(40, 30, 3);
    m.showFrame(frame);
    EXPECT_TRUE(m.pictureBehind());
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(m.pixel(x, y), screenPixel(frame.pixel(x, y)));
    // Asked for again, the window picture is the frame.
    EXPECT_EQ(m.picture(), frame);
    EXPECT_FALSE(m.pictureBehind());

    // A smaller frame covers its corner; the rest stays as it was.
    const Picture before = m.picture();
    const Picture corner = patterned(10, 5, 4);
    EXPECT_EQ(m.showFrame(corner), (Rect{0, 0, 10, 5}));
    Picture expected = before;
    expected.copyFrom(corner, 0, 0, 10, 5, 0, 0);
    EXPECT_EQ(m.picture(), expected);

    // While the picture is behind, a refresh does not undo the frame.
    m.showFrame(frame);
    m.refresh();
    EXPECT_EQ(m.pixel(7, 7), screenPixel(frame.pixel(7, 7)));
}

} // namespace
} // namespace veskar
