// Label lookups: a jump to the last label of a 256 KB script against a jump
// to a label near its start, timed in the same iterations; the counter
// "x_near" is their ratio and stays close to 1 whatever the script's size.
// For scale, "x_scan" is a scan of the text from its start for the last
// label against the lookup. Indexing the script when it is loaded is timed
// against copying its bytes ("x_memcpy").

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "script/label_index.h"

namespace veskar::bench {
namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A story script of text lines, commands and a few labels and blocks, filled
// to 256 KB, with ":near" on its second line and ":last" on its last.
std::vector<std::uint8_t> storyScript() {
    std::string text;
    const auto line = [&](std::string_view s) {
        text += s;
        text.push_back('\0');
    };
    line("*bg S000 1");
    line(":near");
    for (int i = 0; text.size() < 262144 - 64; ++i) {
        line("The lighthouse keeper counted the waves again, line " + std::to_string(i));
        if (i % 40 == 0) line(":scene" + std::to_string(i));
        if (i % 25 == 0) line("{:choice" + std::to_string(i));
        if (i % 25 == 1) line("}:choice" + std::to_string(i - 1));
        if (i % 7 == 0) line("*if (V001=" + std::to_string(i % 5) + ") *go near");
    }
    line(":last");
    return {text.begin(), text.end()};
}

// The search a jump made before scripts were indexed.
std::int32_t scanForLabel(const std::vector<std::uint8_t>& s, std::string_view name) {
    for (std::size_t pos = 0; pos < s.size(); ++pos) {
        if (s[pos] != ':') continue;
        const std::size_t end = pos + 1 + name.size();
        if (end >= s.size() || s[end] != 0) continue;
        if (std::memcmp(s.data() + pos + 1, name.data(), name.size()) == 0)
            return static_cast<std::int32_t>(end + 1);
    }
    return -1;
}

template <typename Work, typename Reference>
void timeAgainst(benchmark::State& state, const char* counter, Work work, Reference reference) {
    double workTime = 0, referenceTime = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        work();
        const auto t1 = Clock::now();
        reference();
        const auto t2 = Clock::now();
        workTime += seconds(t1 - t0);
        referenceTime += seconds(t2 - t1);
        state.SetIterationTime(seconds(t1 - t0));
    }
    state.counters[counter] = workTime / referenceTime;
}

void BM_JumpToTheLastLabel(benchmark::State& state) {
    const auto script = storyScript();
    LabelIndex index;
    index.build(script);
    timeAgainst(
        state, "x_near", [&] { benchmark::DoNotOptimize(index.findLabel("last")); },
        [&] { benchmark::DoNotOptimize(index.findLabel("near")); });
    state.counters["script_bytes"] = static_cast<double>(script.size());
}
BENCHMARK(BM_JumpToTheLastLabel)->UseManualTime();

void BM_ScanToTheLastLabel(benchmark::State& state) {
    const auto script = storyScript();
    LabelIndex index;
    index.build(script);
    timeAgainst(
        state, "x_scan", [&] { benchmark::DoNotOptimize(scanForLabel(script, "last")); },
        [&] { benchmark::DoNotOptimize(index.findLabel("last")); });
}
BENCHMARK(BM_ScanToTheLastLabel)->UseManualTime();

void BM_IndexA256KScript(benchmark::State& state) {
    const auto script = storyScript();
    std::vector<std::uint8_t> copy(script.size());
    LabelIndex index;
    timeAgainst(
        state, "x_memcpy", [&] { index.build(script); },
        [&] {
            std::memcpy(copy.data(), script.data(), script.size());
            benchmark::ClobberMemory();
        });
}
BENCHMARK(BM_IndexA256KScript)->UseManualTime();

} // namespace
} // namespace veskar::bench
