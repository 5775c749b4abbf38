// Kernels on full screens, each against memcpy of one 800 x 600 picture
// timed in the same run: the counter "x_memcpy" is the kernel's time over
// memcpy's, "goal" the most it should be.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <functional>

#include "bench_pictures.h"
#include "graphics/kernel_rows.h"
#include "graphics/kernels.h"

namespace veskar::bench {
namespace {

using Clock = std::chrono::steady_clock;

struct Screens {
    Picture a = scenery(800, 600, 1);
    Picture b = scenery(800, 600, 2);
    Picture mask = scenery(800, 600, 3);
    Picture out = Picture(800, 600);
    Picture copy = Picture(800, 600);
};

Screens& screens() {
    static Screens s;
    return s;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Times `kernel` (manual time) and a memcpy of one screen picture in the
// same iterations, and reports their ratio.
// A goal of 0 means none; `bytes` is what one call writes.
void againstMemcpy(benchmark::State& state, double goal, const std::function<void()>& kernel,
                   std::int64_t bytes = 800 * 600 * 3) {
    Screens& s = screens();
    double kernelTime = 0, copyTime = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        kernel();
        const auto t1 = Clock::now();
        std::memcpy(s.copy.bytes().data(), s.a.bytes().data(), s.a.bytes().size());
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        kernelTime += seconds(t1 - t0);
        copyTime += seconds(t2 - t1);
        state.SetIterationTime(seconds(t1 - t0));
    }
    state.counters["x_memcpy"] = kernelTime / copyTime;
    if (goal > 0) state.counters["goal"] = goal;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
}

void BM_Memcpy(benchmark::State& state) {
    Screens& s = screens();
    for (auto _ : state) {
        std::memcpy(s.copy.bytes().data(), s.a.bytes().data(), s.a.bytes().size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 800 * 600 * 3);
}
BENCHMARK(BM_Memcpy);

void BM_CrossFadeScreen(benchmark::State& state) {
    Screens& s = screens();
    againstMemcpy(state, 3.0, [&] { CrossFadeScreen(s.a, s.b, 100, s.out); });
}
BENCHMARK(BM_CrossFadeScreen)->UseManualTime();

void BM_MaskBlendScreen(benchmark::State& state) {
    Screens& s = screens();
    againstMemcpy(state, 4.0, [&] { MaskBlendScreen(s.a, s.b, s.mask, s.out); });
}
BENCHMARK(BM_MaskBlendScreen)->UseManualTime();

// The same two kernels on every instruction set this processor has.
void BM_CrossFadeRows(benchmark::State& state) {
    Screens& s = screens();
    const auto& k = *kernels::availableRows()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(std::string(k.name));
    againstMemcpy(state, 3.0, [&] { k.crossFade(s.a.row(0), s.b.row(0), 100, 180000, s.out.row(0)); });
}

void BM_MaskBlendRows(benchmark::State& state) {
    Screens& s = screens();
    const auto& k = *kernels::availableRows()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(std::string(k.name));
    againstMemcpy(state, 4.0,
                  [&] { k.maskBlendAll(s.a.row(0), s.b.row(0), s.mask.row(0), 180000, s.out.row(0)); });
}

void eachInstructionSet(benchmark::internal::Benchmark* b) {
    for (std::size_t i = 0; i < kernels::availableRows().size(); ++i)
        b->Arg(static_cast<int>(i));
}
BENCHMARK(BM_CrossFadeRows)->Apply(eachInstructionSet)->UseManualTime();
BENCHMARK(BM_MaskBlendRows)->Apply(eachInstructionSet)->UseManualTime();

void BM_DrawMaskedSprite400x600(benchmark::State& state) {
    Screens& s = screens();
    const Picture sprite = scenery(400, 600, 9);
    const Picture mask = figureMask(400, 600);
    againstMemcpy(
        state, 0, [&] { DrawMaskedSprite(s.out, sprite, 200, 0, mask); }, 400 * 600 * 3);
}
BENCHMARK(BM_DrawMaskedSprite400x600)->UseManualTime();

// One frame of a scene change: background into the scene, three sprites,
// the scene into the next screen, then one step of the cross-fade.
void BM_ComposeAndFadeFrame(benchmark::State& state) {
    Screens& s = screens();
    Picture scene(800, 600), next(800, 600), fx(800, 600);
    const Picture bg = scenery(800, 600, 4);
    const Picture sprite = scenery(200, 600, 5);
    const Picture mask = figureMask(200, 600);
    int weight = 0;
    againstMemcpy(state, 0, [&] {
        std::memcpy(scene.bytes().data(), bg.bytes().data(), bg.bytes().size());
        for (int x : {50, 300, 550})
            DrawMaskedSprite(scene, sprite, x, 0, mask);
        std::memcpy(next.bytes().data(), scene.bytes().data(), scene.bytes().size());
        CrossFadeScreen(next, s.a, weight, fx);
        weight = (weight + 8) % 257;
    });
}
BENCHMARK(BM_ComposeAndFadeFrame)->UseManualTime();

} // namespace
} // namespace veskar::bench
