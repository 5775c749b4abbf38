// Sound decoding against memcpy of the PCM it produces, and one refill of
// the music ring (a quarter of one second of 44.1 kHz stereo, the largest the
// ring holds) read from a file that stays open, against the 55 ms timer tick
// that drives it (tick_fraction, shown with an SI prefix: 4.6m is 0.46 %).

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/files.h"
#include "sound/entry_reader.h"
#include "sound/ogg_voice.h"
#include "sound/wady.h"

namespace veskar::bench {
namespace {

std::vector<std::int16_t> voiceLike(std::size_t frames, int channels) {
    std::vector<std::int16_t> s(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / 22050;
        s[i] =
            static_cast<std::int16_t>(9000 * std::sin(2 * 3.14159 * 180 * t) * std::sin(2 * 3.14159 * 3 * t) +
                                      2000 * std::sin(2 * 3.14159 * 1100 * t));
    }
    return s;
}

void BM_MemcpyVoicePcm(benchmark::State& state) {
    const std::size_t bytes = 22050 * 3 * 2; // three seconds of mono 22.05 kHz
    std::vector<std::uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_MemcpyVoicePcm);

void BM_DecodeWadyOneShot(benchmark::State& state) {
    const auto entry = encodeWadyOneShot(PcmFormat{1, 22050, 16}, voiceLike(22050 * 3, 1));
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto sound = decodeWadyOneShotEntry(entry);
        bytes = sound->pcm.size();
        benchmark::DoNotOptimize(sound);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_DecodeWadyOneShot);

void BM_DecodeOggVoice(benchmark::State& state) {
    // One of the demo's voices (about three seconds of mono 22.05 kHz).
    const auto path = std::filesystem::path(VESKAR_SOURCE_DIR) / "games/demo/source/vk_ogg1/MORI001.ogg";
    const auto entry = readWholeFile(path);
    if (!entry) {
        state.SkipWithError("the demo's voice is missing");
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto sound = decodeOggVoice(*entry);
        bytes = sound->pcm.size();
        benchmark::DoNotOptimize(sound);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_DecodeOggVoice);

void BM_MusicRefillQuarter(benchmark::State& state) {
    constexpr std::uint32_t kQuarter = 44100;
    const auto codes = encodeWadyStream(PcmFormat{2, 44100, 16}, voiceLike(kQuarter * 8, 2), kQuarter, 0);
    const auto path = std::filesystem::temp_directory_path() / "veskar-bench-music.wady";
    if (!writeFileAtomically(path, codes)) {
        state.SkipWithError("cannot write the piece");
        return;
    }
    EntryReader reader;
    reader.open(path, 0, codes.size());
    std::vector<std::uint8_t> chunk(kQuarter * 2), pcm(kQuarter * 4);
    std::vector<std::int16_t> samples(kQuarter * 2);
    std::array<std::int16_t, 2> p{};
    std::uint64_t at = 48;
    for (auto _ : state) {
        if (at + chunk.size() > codes.size()) at = 48;
        reader.read(at, chunk);
        at += chunk.size();
        DecodeWadyStream(chunk, samples, codes[5], p, 2, kQuarter, false);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const auto v = static_cast<std::uint16_t>(samples[i]);
            pcm[2 * i] = static_cast<std::uint8_t>(v & 0xFF);
            pcm[2 * i + 1] = static_cast<std::uint8_t>(v >> 8);
        }
        benchmark::DoNotOptimize(pcm.data());
    }
    state.counters["tick_fraction"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 0.055,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    std::filesystem::remove(path);
}
BENCHMARK(BM_MusicRefillQuarter);

} // namespace
} // namespace veskar::bench
