// vsktool sound and the sound folders of vsktool build, run as a program.

#include <gtest/gtest.h>

#include <cmath>

#include "archive/archives.h"
#include "core/files.h"
#include "sound/wady.h"
#include "sound/wav_file.h"
#include "support/test_support.h"

namespace veskar {
namespace {

namespace fs = std::filesystem;
using test::runVsktool;
using test::TempDir;

std::vector<std::uint8_t> toneWav(int channels, std::size_t frames) {
    std::vector<std::uint8_t> pcm;
    for (std::size_t i = 0; i < frames * static_cast<std::size_t>(channels); ++i) {
        const auto v = static_cast<std::int16_t>(8000 * std::sin(static_cast<double>(i) * 0.03));
        pcm.push_back(static_cast<std::uint8_t>(v & 0xFF));
        pcm.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    }
    return encodeWav(PcmFormat{channels, 22050, 16}, pcm);
}

void put(const fs::path& path, std::span<const std::uint8_t> bytes) {
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(writeFileAtomically(path, bytes));
}

TEST(SoundCommand, EncodesBothVariantsAndDecodesThemBack) {
    TempDir dir;
    put(dir.path() / "in.wav", toneWav(2, 30000));
    auto r = runVsktool({"sound", "encode", (dir.path() / "in.wav").string(), (dir.path() / "fx").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("one-shot WADY, stereo 22050 Hz, 30000 frames"), std::string::npos) << r.err;
    r = runVsktool({"sound", "encode", (dir.path() / "in.wav").string(), (dir.path() / "bgm").string(),
                    "--loop", "1200"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(
        r.err.find("stream WADY, stereo 22050 Hz, 30000 frames (1.36 s), quarters of 22050 frames, loop "
                   "from frame 1200"),
        std::string::npos)
        << r.err;
    for (const char* name : {"fx", "bgm"}) {
        r = runVsktool({"sound", "decode", (dir.path() / name).string(), (dir.path() / "out.wav").string()});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        auto back = readWholeFile(dir.path() / "out.wav");
        ASSERT_TRUE(back);
        auto wav = parseWav(*back);
        ASSERT_TRUE(wav) << wav.error();
        EXPECT_EQ(wav->format, (PcmFormat{2, 22050, 16})) << name;
        EXPECT_EQ(wav->frames(), 30000u) << name;
    }
}

TEST(SoundCommand, RefusesWhatItCannotEncodeOrDecode) {
    TempDir dir;
    put(dir.path() / "in.wav", toneWav(1, 100));
    std::vector<std::uint8_t> notWav(64, 1);
    put(dir.path() / "bad.wav", notWav);
    const auto p = [&](const char* n) { return (dir.path() / n).string(); };
    EXPECT_EQ(runVsktool({"sound", "encode", p("bad.wav"), p("o")}).exitCode, 1);
    EXPECT_EQ(runVsktool({"sound", "encode", p("in.wav"), p("o"), "--loop", "100"}).exitCode, 1);
    EXPECT_EQ(runVsktool({"sound", "decode", p("bad.wav"), p("o.wav")}).exitCode, 1);
    EXPECT_EQ(runVsktool({"sound", "encode", p("in.wav")}).exitCode, 2);
    EXPECT_FALSE(fs::exists(dir.path() / "o"));
}

TEST(SoundCommand, BuildEncodesWavFoldersAndStoresOgg) {
    TempDir dir;
    const fs::path src = dir.path() / "src";
    put(src / "vk_data" / "main.txt", std::vector<std::uint8_t>{'\\', '\n'});
    put(src / "vk_se0" / "bell.wav", toneWav(1, 500));
    put(src / "vk_bgm" / "M01.wav", toneWav(2, 30000));
    const std::string loop = "2000\n";
    put(src / "vk_bgm" / "M01.loop",
        std::span(reinterpret_cast<const std::uint8_t*>(loop.data()), loop.size()));
    const std::vector<std::uint8_t> ogg = {'O', 'g', 'g', 'S', 1, 2, 3};
    put(src / "vk_ogg1" / "V01.ogg", ogg);
    auto r = runVsktool({"build", src.string(), (dir.path() / "game").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    Archives archives(dir.path() / "game");
    archives.OpenArchives({}, "NULL");
    const auto bell = archives.FindEntry(search::kEffects, "BELL");
    ASSERT_TRUE(bell);
    auto sound = decodeWadyOneShotEntry(*archives.readEntry(*bell));
    ASSERT_TRUE(sound) << sound.error();
    EXPECT_EQ(sound->pcm.size(), 1000u);
    const auto music = archives.FindEntry(search::kMusic, "M01");
    ASSERT_TRUE(music);
    const auto bytes = *archives.readEntry(*music);
    auto stream = checkWadyStream(bytes, bytes.size());
    ASSERT_TRUE(stream) << stream.error();
    EXPECT_EQ(stream->loopStart, 4000u);
    EXPECT_FALSE(archives.FindEntry(search::kMusic, "M01.LOOP"));
    const auto voice = archives.FindEntry(search::kVoices, "V01");
    ASSERT_TRUE(voice);
    EXPECT_EQ(*archives.readEntry(*voice), ogg);
}

} // namespace
} // namespace veskar
