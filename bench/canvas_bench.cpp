#include "canvas/point_capture.h"

#include <benchmark/benchmark.h>

namespace {

void BM_MapCursor(benchmark::State &state)
{
    const CursorInput in{123.5f, 77.25f, 255, 255, 2, 27};
    for (auto _ : state)
        benchmark::DoNotOptimize(mapCursorToGrid(in, 0));
}

// The list lengths go in as counts only: a press must cost the same at every length.
void BM_Capture(benchmark::State &state)
{
    const CursorInput in{123.5f, 77.25f, 255, 255, 2, 27};
    const qsizetype n = state.range(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(capturePoint(in, "40", "0", n, n));
}

BENCHMARK(BM_MapCursor);
BENCHMARK(BM_Capture)->Arg(10)->Arg(10000)->Arg(100000);

} // namespace
