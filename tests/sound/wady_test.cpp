// The two WADY code variants against vectors worked out by hand from the
// code tables, and damaged entries that must be refused.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "sound/wady.h"

namespace veskar {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A one-shot channel block: u32 (not read), u32 n, i16 first sample, codes.
Bytes block(std::uint32_t n, std::int16_t first, const Bytes& codes) {
    Bytes b(10, 0);
    std::memcpy(b.data() + 4, &n, 4);
    std::memcpy(b.data() + 8, &first, 2);
    b.insert(b.end(), codes.begin(), codes.end());
    return b;
}

struct OneShotCase {
    const char* what;
    std::int16_t first;
    Bytes codes;
    std::vector<std::int16_t> expected;
};

TEST(WadyOneShot, DecodesCodesOfTheTables) {
    const std::vector<OneShotCase> cases = {
        {"one-byte deltas and absolute values", 100, {0x03, 0x81, 0xFF}, {100, 104, 0, -1024}},
        {"the negative half of D and its largest step", 0, {0x43, 0x3F}, {0, -4, 7996}},
        {"absolute value 31 and -32", 0, {0xBF, 0xC1}, {0, 31744, -32768}},
        {"delta wraps around 16 bits", 32767, {0x03}, {32767, -32765}},
        {"ramp of 3 to a target", 100, {0x00, 0x01}, {100, 152, 204, 256}},
        {"ramp of 4 down", 0, {0x02, 0xFF}, {0, -64, -128, -192, -256}},
        {"ramp values truncate toward zero", 0, {0xF0, 0xFF}, {0, -5, -10, -16}},
    };
    for (const auto& c : cases) {
        std::uint32_t n = 0;
        for (std::size_t i = 0; i < c.codes.size(); ++i, ++n)
            if ((c.codes[i] & 1) == 0) ++i;
        std::vector<std::int16_t> out(c.expected.size(), 0x5555);
        auto written = DecodeWadyOneShot(block(n, c.first, c.codes), out, 1);
        ASSERT_TRUE(written) << c.what << ": " << written.error();
        EXPECT_EQ(*written, c.expected.size()) << c.what;
        EXPECT_EQ(out, c.expected) << c.what;
    }
}

TEST(WadyOneShot, LongestRampHas256Samples) {
    // k = 7, target 0xFF00 = -256: one step of -1 per sample.
    std::vector<std::int16_t> out(257);
    auto written = DecodeWadyOneShot(block(1, 0, {0x0E, 0xFF}), out, 1);
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, 257u);
    for (int i = 0; i <= 256; ++i)
        EXPECT_EQ(out[static_cast<std::size_t>(i)], -i);
}

TEST(WadyOneShot, PredictorIsClearedThreeHundredCodesBeforeTheEnd) {
    // n = 301: the second code (i = 1) starts from 0.
    std::vector<std::int16_t> out(302);
    auto written = DecodeWadyOneShot(block(301, 5000, Bytes(301, 0x03)), out, 1);
    ASSERT_TRUE(written);
    EXPECT_EQ(out[0], 5000);
    EXPECT_EQ(out[1], 5004);
    EXPECT_EQ(out[2], 4);
    EXPECT_EQ(out[301], 1200);
    // Fewer than 300 codes: never cleared.
    std::vector<std::int16_t> shortOut(3);
    ASSERT_TRUE(DecodeWadyOneShot(block(2, 5000, {0x03, 0x03}), shortOut, 1));
    EXPECT_EQ(shortOut[2], 5008);
}

TEST(WadyOneShot, StrideWritesEveryOtherSample) {
    std::vector<std::int16_t> out(6, 7);
    auto written = DecodeWadyOneShot(block(2, 1, {0x03, 0x03}), out, 2);
    ASSERT_TRUE(written);
    EXPECT_EQ(out, (std::vector<std::int16_t>{1, 7, 5, 7, 9, 7}));
}

TEST(WadyOneShot, RefusesBlocksThatLie) {
    std::vector<std::int16_t> out(8);
    EXPECT_FALSE(DecodeWadyOneShot(Bytes(9, 0), out, 1)) << "shorter than the block header";
    EXPECT_FALSE(DecodeWadyOneShot(block(5, 0, {0x03, 0x03}), out, 1)) << "count above the code bytes";
    EXPECT_FALSE(DecodeWadyOneShot(block(2, 0, {0x03, 0x00}), out, 1)) << "two-byte code cut off";
    std::vector<std::int16_t> small(2);
    EXPECT_FALSE(DecodeWadyOneShot(block(1, 0, {0x0E, 0xFF}), small, 1)) << "more samples than the PCM";
}

// A one-shot entry: header with the PCM format, then the channel blocks.
Bytes oneShotEntry(int channels, std::uint32_t pcmSize, const std::vector<Bytes>& blocks) {
    Bytes e(48, 0);
    std::memcpy(e.data(), "WADY", 4);
    std::memcpy(e.data() + 20, &pcmSize, 4);
    const std::uint16_t tag = 1, ch = static_cast<std::uint16_t>(channels), bits = 16;
    const std::uint32_t rate = 22050;
    std::memcpy(e.data() + 32, &tag, 2);
    std::memcpy(e.data() + 34, &ch, 2);
    std::memcpy(e.data() + 36, &rate, 4);
    std::memcpy(e.data() + 46, &bits, 2);
    if (channels == 2) {
        const std::uint32_t leftSize = static_cast<std::uint32_t>(blocks[0].size() - 4);
        e.resize(52);
        std::memcpy(e.data() + 48, &leftSize, 4);
    }
    for (const auto& b : blocks)
        e.insert(e.end(), b.begin(), b.end());
    return e;
}

std::vector<std::int16_t> samplesOf(const DecodedSound& s) {
    std::vector<std::int16_t> v(s.pcm.size() / 2);
    std::memcpy(v.data(), s.pcm.data(), s.pcm.size());
    return v;
}

TEST(WadyOneShot, StereoEntryInterleavesItsBlocks) {
    const Bytes e = oneShotEntry(2, 12, {block(2, 10, {0x03, 0x03}), block(2, -10, {0x43, 0x43})});
    auto sound = decodeWadyOneShotEntry(e);
    ASSERT_TRUE(sound) << sound.error();
    EXPECT_EQ(sound->format.channels, 2);
    EXPECT_EQ(samplesOf(*sound), (std::vector<std::int16_t>{10, -10, 14, -14, 18, -18}));
}

TEST(WadyOneShot, MonoEntryWithOddPcmSizeAndShortCodes) {
    // 7 bytes taken down to 6; the codes fill 2 of 3 samples, the rest stays silent.
    auto sound = decodeWadyOneShotEntry(oneShotEntry(1, 7, {block(1, 3, {0x03})}));
    ASSERT_TRUE(sound) << sound.error();
    EXPECT_EQ(samplesOf(*sound), (std::vector<std::int16_t>{3, 7, 0}));
}

TEST(WadyOneShot, RefusesDamagedEntries) {
    const Bytes good = oneShotEntry(2, 12, {block(2, 10, {0x03, 0x03}), block(2, -10, {0x43, 0x43})});
    ASSERT_TRUE(decodeWadyOneShotEntry(good));
    struct Damage {
        const char* what;
        std::size_t at;
        std::vector<std::uint8_t> bytes;
        std::size_t truncateTo = 0;
    };
    const std::vector<Damage> damages = {
        {"not WADY", 0, {'W', 'A', 'V', 'E'}},
        {"format tag 2", 32, {2, 0}},
        {"three channels", 34, {3, 0}},
        {"8 bits per sample", 46, {8, 0}},
        {"sample rate 0", 36, {0, 0, 0, 0}},
        {"PCM size far beyond the codes", 20, {0, 0, 0, 0x40}},
        {"right block past the end", 48, {0xF0, 0xFF, 0, 0}},
        {"left count above its codes", 56, {0x50, 0, 0, 0}},
        {"header cut short", 0, {}, 40},
        {"right block cut short", 0, {}, good.size() - 1},
    };
    for (const auto& d : damages) {
        Bytes e = good;
        std::copy(d.bytes.begin(), d.bytes.end(), e.begin() + static_cast<std::ptrdiff_t>(d.at));
        if (d.truncateTo) e.resize(d.truncateTo);
        auto sound = decodeWadyOneShotEntry(e);
        EXPECT_FALSE(sound) << d.what;
        if (!sound) {
            EXPECT_FALSE(sound.error().empty()) << d.what;
        }
    }
}

struct StreamCase {
    const char* what;
    std::uint8_t m;
    int channels;
    Bytes codes;
    std::vector<std::int16_t> expected;
};

TEST(WadyStream, DecodesCodesOfTheTables) {
    const std::vector<StreamCase> cases = {
        {"absolute values and the zero step",
         1,
         1,
         {0x80, 0xC0, 64, 0x81, 0xFF},
         {0, -32768, -32768, 512, -512}},
        {"m = 2 scales the steps", 2, 1, {0x81, 65, 1, 63}, {512, 508, 512, 2512}},
        {"predictor wraps around 16 bits", 2, 1, {0xBF, 63}, {32256, -31280}},
        {"channels keep their own predictors",
         1,
         2,
         {0x81, 0x82, 1, 127, 1, 127},
         {512, 1024, 514, 24, 516, -976}},
    };
    for (const auto& c : cases) {
        std::array<std::int16_t, 2> p{};
        std::vector<std::int16_t> out(c.expected.size());
        DecodeWadyStream(c.codes, out, c.m, p, c.channels,
                         c.codes.size() / static_cast<std::size_t>(c.channels), false);
        EXPECT_EQ(out, c.expected) << c.what;
    }
}

TEST(WadyStream, SilenceStillAdvancesThePredictors) {
    std::array<std::int16_t, 2> p{};
    std::vector<std::int16_t> out(3, 9);
    DecodeWadyStream(Bytes{0x81, 1, 1}, out, 1, p, 1, 3, true);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 0, 0}));
    EXPECT_EQ(p[0], 516);
}

// A stream header for checkWadyStream.
Bytes streamHeader(int channels, std::uint32_t quarter, std::uint32_t codeSize, std::uint32_t loopStart) {
    Bytes e = oneShotEntry(1, codeSize * 2, {});
    e[5] = 1;
    const std::uint16_t ch = static_cast<std::uint16_t>(channels);
    std::memcpy(e.data() + 6, &ch, 2);
    std::memcpy(e.data() + 34, &ch, 2);
    std::memcpy(e.data() + 8, &quarter, 4);
    std::memcpy(e.data() + 12, &codeSize, 4);
    std::memcpy(e.data() + 24, &loopStart, 4);
    return e;
}

TEST(WadyStream, HeaderIsCheckedAgainstTheEntry) {
    EXPECT_TRUE(checkWadyStream(streamHeader(2, 100, 1000, 200), 1048));
    struct Bad {
        const char* what;
        Bytes header;
        std::uint64_t entrySize;
    };
    const std::vector<Bad> bad = {
        {"codes past the entry", streamHeader(2, 100, 1000, 200), 1047},
        {"loop start at the end", streamHeader(2, 100, 1000, 1000), 1048},
        {"loop start inside a frame", streamHeader(2, 100, 1000, 201), 1048},
        {"quarter of no frames", streamHeader(2, 0, 1000, 0), 1048},
        {"quarters larger than the ring", streamHeader(2, 44101, 1000, 0), 1048},
        {"codes not whole frames", streamHeader(2, 100, 999, 0), 1048},
        {"no codes", streamHeader(1, 100, 0, 0), 48},
    };
    for (const auto& b : bad)
        EXPECT_FALSE(checkWadyStream(b.header, b.entrySize)) << b.what;
    Bytes mismatch = streamHeader(2, 100, 1000, 0);
    mismatch[6] = 1;
    EXPECT_FALSE(checkWadyStream(mismatch, 1048)) << "stream channels differ from the format";
}

std::vector<std::int16_t> tone(int channels, std::size_t frames, double hz, int rate) {
    std::vector<std::int16_t> s(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            s[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] =
                static_cast<std::int16_t>(
                    12000 * std::sin(2 * std::numbers::pi * hz * (c + 1) * static_cast<double>(i) / rate));
    return s;
}

double rmsError(std::span<const std::int16_t> a, std::span<const std::int16_t> b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += (a[i] - b[i]) * static_cast<double>(a[i] - b[i]);
    return std::sqrt(sum / static_cast<double>(a.size()));
}

TEST(WadyEncoder, OneShotRoundTripsCloselyInBothLayouts) {
    for (int channels : {1, 2}) {
        const auto samples = tone(channels, 5001, 440, 22050);
        const Bytes e = encodeWadyOneShot(PcmFormat{channels, 22050, 16}, samples);
        auto sound = decodeWadyOneShotEntry(e);
        ASSERT_TRUE(sound) << sound.error();
        const auto decoded = samplesOf(*sound);
        ASSERT_EQ(decoded.size(), samples.size());
        EXPECT_LT(rmsError(decoded, samples), 400.0) << channels << " channels";
    }
}

TEST(WadyEncoder, StreamRoundTripsAndKeepsTheLoopPredictors) {
    const auto samples = tone(2, 3000, 300, 22050);
    const Bytes e = encodeWadyStream(PcmFormat{2, 22050, 16}, samples, 1000, 1234);
    auto header = checkWadyStream(e, e.size());
    ASSERT_TRUE(header) << header.error();
    EXPECT_EQ(header->loopStart, 1234u * 2);
    std::array<std::int16_t, 2> p{};
    std::vector<std::int16_t> out(samples.size());
    DecodeWadyStream(std::span(e).subspan(48), out, header->stepMultiplier, p, 2, 3000, false);
    EXPECT_LT(rmsError(out, samples), 400.0);
    // Decoding from the loop start with the saved predictors gives the same samples.
    std::array<std::int16_t, 2> loopP = header->loopPredictors;
    std::vector<std::int16_t> again(out.size() - 1234 * 2);
    DecodeWadyStream(std::span(e).subspan(48 + 1234 * 2), again, header->stepMultiplier, loopP, 2,
                     3000 - 1234, false);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), out.begin() + 1234 * 2));
}

} // namespace
} // namespace veskar
