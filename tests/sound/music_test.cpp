// The music stream on the virtual clock, checked through the samples the
// headless device mixes: the ring refilled across the loop point, the fade,
// the play-once switch, and the rules of PlayMusicNumber.

#include <gtest/gtest.h>

#include <cstring>

#include "sound/volume.h"
#include "sound_rig.h"

namespace veskar {
namespace {

using test::SoundRig;

// A mono 22050 Hz piece of 10000 frames in quarters of 2205 frames (0.1 s),
// looping from frame 3010. Every code is an absolute value, (i % 50) * 512,
// except the one at the loop start, which adds 2 to the predictor: it gives
// 4610 only if the loop starts from the header's predictor (that of frame
// 3009), not the one the piece ended with.
constexpr std::uint32_t kFrames = 10000, kLoop = 3010, kQuarter = 2205;

std::int16_t valueAt(std::uint64_t frame) {
    if (frame >= kFrames) frame = kLoop + (frame - kFrames) % (kFrames - kLoop);
    if (frame == kLoop) return static_cast<std::int16_t>((kLoop - 1) % 50 * 512 + 2);
    return static_cast<std::int16_t>(frame % 50 * 512);
}

std::vector<std::uint8_t> piece() {
    std::vector<std::uint8_t> e(48 + kFrames, 0);
    std::memcpy(e.data(), "WADY", 4);
    e[5] = 1;
    const auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(e.data() + at, &v, 2); };
    const auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(e.data() + at, &v, 4); };
    put16(6, 1);
    put32(8, kQuarter);
    put32(12, kFrames);
    put32(16, kFrames);
    put32(20, kFrames * 2);
    put32(24, kLoop);
    put16(28, static_cast<std::uint16_t>((kLoop - 1) % 50 * 512));
    put16(32, 1);
    put16(34, 1);
    put32(36, 22050);
    put32(40, 44100);
    put16(44, 2);
    put16(46, 16);
    for (std::uint32_t i = 0; i < kFrames; ++i)
        e[48 + i] = i == kLoop ? 1 : static_cast<std::uint8_t>(0x80 | (i % 50));
    return e;
}

// Left samples of the mix from mix frame `from` for `count` frames.
std::vector<std::int16_t> leftOf(const std::vector<std::int16_t>& mix, std::size_t from, std::size_t count) {
    std::vector<std::int16_t> left;
    for (std::size_t n = from; n < from + count && 2 * n < mix.size(); ++n)
        left.push_back(mix[2 * n]);
    return left;
}

TEST(Music, RingIsRefilledAcrossTheLoopPointWithoutAGap) {
    SoundRig rig;
    rig.entry("vk_bgm.vsk", "M05", piece());
    Engine& e = rig.start();
    rig.clock().advanceTo(10);
    e.music.PlayMusicNumber(5);
    EXPECT_EQ(e.vars.S(3), 5);
    EXPECT_EQ(e.vars.S(5), 5);
    rig.tickUntil(700);
    e.music.PlayMusicNumber(5); // the same piece again: it plays on
    rig.tickUntil(2000);
    const std::size_t start = 441; // 10 ms
    const auto mix = rig.audio().recorded();
    const auto left = leftOf(mix, start, 44100 * 2 - 441 - 10);
    std::size_t wrong = 0, firstWrong = 0;
    for (std::size_t n = 0; n < left.size(); ++n) {
        if (left[n] != valueAt(n / 2)) {
            if (wrong++ == 0) firstWrong = n;
        }
    }
    EXPECT_EQ(wrong, 0u) << "first at mix frame " << firstWrong << ": " << left[firstWrong] << " instead of "
                         << valueAt(firstWrong / 2);
    // Before the music there was silence.
    for (std::int16_t v : leftOf(mix, 0, 441))
        ASSERT_EQ(v, 0);
}

TEST(Music, FadeOutLowersTheLevelEachTickAndStopsBelowMinus3000) {
    SoundRig rig;
    rig.entry("vk_bgm.vsk", "M05", piece());
    Engine& e = rig.start();
    e.music.PlayMusicNumber(5);
    rig.tickUntil(55 * 10);
    e.music.PlayMusicNumber(-30);
    EXPECT_EQ(e.vars.S(5), 0);
    rig.tickUntil(55 * 10 + 55 * 99);
    EXPECT_TRUE(rig.audio().hasBuffer(3));
    EXPECT_EQ(e.music.MusicLevel, -1 - 30 * 99);
    EXPECT_EQ(rig.audio().volume(3), -1 - 30 * 99);
    rig.tickUntil(55 * 10 + 55 * 100);
    EXPECT_FALSE(rig.audio().hasBuffer(3));
    // The mix follows the level: at tick 50 of the fade, about -15 dB.
    const auto mix = rig.audio().recorded();
    const std::size_t at = (55 * 10 + 55 * 50 + 20) * 441 / 10;
    int peak = 0;
    for (std::int16_t v : leftOf(mix, at, 400))
        peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_NEAR(peak, 49 * 512 * amplitudeOf(-1 - 30 * 50), 49 * 512 * 0.02);
    // -30 when nothing plays changes nothing.
    e.music.PlayMusicNumber(-30);
    EXPECT_EQ(e.music.FadeLevel, 0);
}

TEST(Music, PlayOnceSwitchSilencesThePieceAtItsEnd) {
    SoundRig rig;
    rig.entry("vk_bgm.vsk", "M05", piece());
    Engine& e = rig.start();
    e.vars.S(57) = 1;
    e.music.PlayMusicNumber(5);
    rig.tickUntil(1500);
    EXPECT_EQ(e.vars.S(57), 2);
    EXPECT_TRUE(rig.audio().hasBuffer(3)) << "the stream keeps running";
    const auto left = leftOf(rig.audio().recorded(), 0, 44100);
    for (std::size_t n = 0; n < left.size(); ++n)
        ASSERT_EQ(left[n], n / 2 < kFrames ? valueAt(n / 2) : 0) << "mix frame " << n;
}

TEST(Music, RequestsFollowTheMusicSwitchAndTheWindow) {
    SoundRig rig;
    rig.entry("vk_bgm.vsk", "M05", piece()).entry("vk_bgm.vsk", "M03", piece());
    Engine& e = rig.start();

    e.settings.BGM_ENA = 0;
    e.music.PlayMusicNumber(5);
    EXPECT_FALSE(rig.audio().hasBuffer(3));
    EXPECT_EQ(e.vars.S(3), 5);
    EXPECT_EQ(e.vars.S(5), 0);
    e.settings.BGM_ENA = 1;
    e.music.RestartMusic();
    EXPECT_TRUE(rig.audio().isPlaying(3));
    EXPECT_EQ(e.vars.S(5), 5);

    // 0 stops; 5 again starts from the beginning.
    rig.tickUntil(300);
    e.music.PlayMusicNumber(0);
    EXPECT_FALSE(rig.audio().hasBuffer(3));
    e.music.PlayMusicNumber(5);
    EXPECT_LT(rig.audio().playPosition(3), 4u);

    // In the background a start waits until the window is active again.
    e.music.PlayMusicNumber(0);
    e.sound.setWindowActive(false);
    e.music.PlayMusicNumber(3);
    EXPECT_EQ(e.run.DeferredMusic, 3);
    rig.tickUntil(300 + 55 * 6);
    EXPECT_EQ(e.music.StreamSource, 0);
    e.sound.setWindowActive(true);
    rig.tickUntil(300 + 55 * 9);
    EXPECT_EQ(e.music.StreamSource, 1);
    EXPECT_EQ(e.vars.S(5), 3);

    // A number without an entry plays nothing and is not retried.
    e.music.PlayMusicNumber(7);
    EXPECT_EQ(e.vars.S(5), 7);
}

TEST(Music, DamagedStreamIsRefusedOnce) {
    auto bad = piece();
    bad[12] = 0xFF; // code size far beyond the entry
    bad[13] = 0xFF;
    SoundRig rig;
    rig.entry("vk_bgm.vsk", "M01", bad);
    Engine& e = rig.start();
    testing::internal::CaptureStderr();
    e.music.PlayMusicNumber(1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(rig.audio().hasBuffer(3));
    EXPECT_NE(said.find("M01 in vk_bgm.vsk is damaged: code size"), std::string::npos) << said;
}

} // namespace
} // namespace veskar
