// The benchmark program's entry.

#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
