// The demo game played headless in auto mode with --audio-out: what it plays
// (music with its loop, effects, the looping surf, voices, the fade) is
// mixed in virtual time, the same on every run. The expected checksum of the
// mix is kept in demo-audio.fnv; after a deliberate change of the demo's
// sounds or script, listen to the kept WAV and put the printed checksum there.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/files.h"
#include "sound/wav_file.h"
#include "support/test_support.h"

namespace veskar {
namespace {

std::string fnv1a64(std::span<const std::uint8_t> bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (std::uint8_t b : bytes) {
        h ^= b;
        h *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

TEST(DemoGame, AudioOutMatchesTheExpectedMix) {
    const std::filesystem::path game = std::filesystem::path(VESKAR_BINARY_DIR) / "games" / "demo";
    const std::filesystem::path wavPath = std::filesystem::path(VESKAR_BINARY_DIR) / "demo-audio.wav";
    std::filesystem::remove(wavPath);
    const auto run = test::runProgram(VESKAR_EXE, {"--headless", game.string(), "--seed", "0", "--until",
                                                   "600000", "--audio-out", wavPath.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find("damaged"), std::string::npos) << run.err;
    auto bytes = readWholeFile(wavPath);
    ASSERT_TRUE(bytes) << bytes.error();
    auto wav = parseWav(*bytes);
    ASSERT_TRUE(wav) << wav.error();
    EXPECT_EQ(wav->format, (PcmFormat{2, 44100, 16}));
    EXPECT_GT(wav->frames(), 44100u * 60) << "the demo lasts minutes in auto mode";

    // Music from the first second on: no ten-second stretch is silent.
    const std::size_t window = 44100 * 10;
    for (std::size_t from = 44100; from + window <= wav->frames(); from += window) {
        int peak = 0;
        for (std::size_t f = from; f < from + window; ++f) {
            const auto v = static_cast<std::int16_t>(wav->pcm[4 * f] | (wav->pcm[4 * f + 1] << 8));
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        }
        EXPECT_GT(peak, 3000) << "silent from " << from / 44100 << " s";
    }

    std::ifstream expectedFile(std::filesystem::path(VESKAR_SOURCE_DIR) / "tests" / "e2e" / "demo-audio.fnv");
    std::string expected;
    expectedFile >> expected;
    EXPECT_EQ(fnv1a64(*bytes), expected) << "the mix differs; it is kept at " << wavPath;
}

} // namespace
} // namespace veskar
