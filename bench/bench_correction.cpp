#include "calc/recalculation.h"
#include "calc/tape_change.h"
#include "sample_tapes.h"

#include <benchmark/benchmark.h>

namespace {

// Correcting the middle line of a tape and recomputing all of its totals; the corrections
// alternate between two results, so that every one changes the second half of the totals.
template <typename Correction>
void correctTheMiddleLine(benchmark::State& state, Correction correct) {
    const int lines = static_cast<int>(state.range(0));
    SampleTapes sample(lines);
    bool odd = false;
    for (auto _ : state) {
        odd = !odd;
        correct(sample.tapes, lines / 2, odd ? QStringLiteral("2+3") : QStringLiteral("2+4"),
                odd ? QStringLiteral("5") : QStringLiteral("6"), sample.format);
        benchmark::DoNotOptimize(sample.tapes.List3.text(lines - 1));
    }
    state.SetComplexityN(state.range(0));
}

void BM_Recalculate(benchmark::State& state) {
    correctTheMiddleLine(state, CorrectLine);
}
BENCHMARK(BM_Recalculate)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The correction kept as a step, as the correction window makes it: the totals it replaces stay
// with the step until it is dropped.
void BM_RecalculateAsStep(benchmark::State& state) {
    correctTheMiddleLine(state, CorrectLineAsChange);
}
BENCHMARK(BM_RecalculateAsStep)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
