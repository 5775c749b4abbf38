// Picture decoding: packed pictures in MB/s of decoded output, and an
// 800 x 600 JPEG made here with libjpeg.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include "bench_pictures.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/packed_picture.h"

namespace veskar::bench {
namespace {

std::vector<std::uint8_t> encodeJpeg(const Picture& picture, int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(picture.width());
    info.image_height = static_cast<JDIMENSION>(picture.height());
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.row(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

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

void BM_DecodePackedScenery(benchmark::State& state) { decodePacked(state, scenery(800, 600, 3), PackedStages::Smallest); }
BENCHMARK(BM_DecodePackedScenery);

void BM_DecodePackedSprite(benchmark::State& state) { decodePacked(state, spriteLike(), PackedStages::Smallest); }
BENCHMARK(BM_DecodePackedSprite);

void BM_DecodePackedAllStages(benchmark::State& state) {
    decodePacked(state, scenery(800, 600, 3), PackedStages::DeltaRunLength);
}
BENCHMARK(BM_DecodePackedAllStages);

void BM_DecodeJpeg800x600(benchmark::State& state) {
    const auto jpeg = encodeJpeg(scenery(800, 600, 6), 90);
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
