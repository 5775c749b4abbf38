// Presenting to the desktop window: the 24- to 32-bit conversion of a whole
// screen against memcpy of the 32-bit bytes it writes, on every instruction
// set here, and a typed glyph's present (its 32 x 35 cell) against a full
// present. "x_memcpy" and "x_full" are ratios timed in the same iterations.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench_pictures.h"
#include "graphics/present_kernels.h"
#include "graphics/window_mirror.h"

namespace veskar::bench {
namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Times `work` and `baseline` in the same iterations and reports their ratio
// under `counter`.
void against(benchmark::State& state, const char* counter, const std::function<void()>& work,
             const std::function<void()>& baseline) {
    double workTime = 0, baseTime = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        work();
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        baseline();
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        workTime += seconds(t1 - t0);
        baseTime += seconds(t2 - t1);
        state.SetIterationTime(seconds(t1 - t0));
    }
    state.counters[counter] = workTime / baseTime;
}

void BM_PresentConversion(benchmark::State& state) {
    const auto& k = *availablePresentKernels()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(std::string(k.name));
    static const Picture screen = scenery(800, 600, 1);
    static std::vector<std::uint32_t> out(800 * 600), copy(800 * 600), source(800 * 600, 7);
    against(
        state, "x_memcpy", [&] { k.expand(screen.row(0), 800 * 600, out.data()); },
        [&] { std::memcpy(copy.data(), source.data(), copy.size() * 4); });
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 800 * 600 * 4);
}

void eachPresentKernel(benchmark::internal::Benchmark* b) {
    for (std::size_t i = 0; i < availablePresentKernels().size(); ++i)
        b->Arg(static_cast<int>(i));
}
BENCHMARK(BM_PresentConversion)->Apply(eachPresentKernel)->UseManualTime();

void BM_PresentGlyphAgainstFull(benchmark::State& state) {
    static WindowMirror mirror(800, 600);
    mirror.picture() = scenery(800, 600, 2);
    int x = 0;
    against(
        state, "x_full",
        [&] {
            mirror.present({100 + x, 480, 32, 35});
            x = (x + 26) % 600;
        },
        [&] {
            mirror.present({0, 0, 800, 600});
        });
}
BENCHMARK(BM_PresentGlyphAgainstFull)->UseManualTime();

} // namespace
} // namespace veskar::bench
