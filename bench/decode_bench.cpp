// Picture decoding: packed pictures in MB/s of decoded output, and an
// 800 x 600 JPEG made here with libjpeg.

#include <benchmark/benchmark.h>

#include "bench_pictures.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/jpeg_encoder.h"
#include "graphics/packed_picture.h"

namespace veskar::bench {
namespace {

// A sprite-like picture: a figure on a flat colour, as most packed pictures are.
Picture spriteLike() {
    Picture p = scenery(800, 600, 7);
    const Picture mask = figureMask(800, 600);
    for (std::size_t i = 0; i < p.bytes().size(); ++i)
        if (mask.bytes()[i] == 0) p.bytes()[i] = (i % 3 == 0) ? 255 : (i % 3 == 1 ? 255 : 0);
    return p;
}

void decodePacked(benchmark::State& state, const Picture& source, PackedStages stages) {
    const auto packed = *EncodePackedPicture(source, stages);
    for (auto _ : state) {
        auto picture = DecodePackedPicture(packed);
        benchmark::DoNotOptimize(picture);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(source.bytes().size()));
    state.counters["entry_bytes"] = static_cast<double>(packed.size());
}

void BM_DecodePackedScenery(benchmark::State& state) {
    decodePacked(state, scenery(800, 600, 3), PackedStages::Smallest);
}
BENCHMARK(BM_DecodePackedScenery);

void BM_DecodePackedSprite(benchmark::State& state) {
    decodePacked(state, spriteLike(), PackedStages::Smallest);
}
BENCHMARK(BM_DecodePackedSprite);

void BM_DecodePackedAllStages(benchmark::State& state) {
    decodePacked(state, scenery(800, 600, 3), PackedStages::DeltaRunLength);
}
BENCHMARK(BM_DecodePackedAllStages);

void BM_DecodeJpeg800x600(benchmark::State& state) {
    const auto jpeg = EncodeJpeg(scenery(800, 600, 6), 90);
    for (auto _ : state) {
        auto picture = DecodeJpeg(jpeg);
        benchmark::DoNotOptimize(picture);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 800 * 600 * 3);
    state.counters["entry_bytes"] = static_cast<double>(jpeg.size());
}
BENCHMARK(BM_DecodeJpeg800x600);

void BM_EncodePackedScreen(benchmark::State& state) {
    const Picture source = scenery(800, 600, 3);
    for (auto _ : state) {
        auto packed = EncodePackedPicture(source);
        benchmark::DoNotOptimize(packed);
    }
}
BENCHMARK(BM_EncodePackedScreen)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace veskar::bench
