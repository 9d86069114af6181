#include "calc/evaluation.h"
#include "resources/fonts.h"
#include "sample_tapes.h"

#include <benchmark/benchmark.h>

namespace {

void BM_FormatResult(benchmark::State& state) {
    double value = 1234.5678;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatResult(value, 1));
        value += 0.001;
    }
}
BENCHMARK(BM_FormatResult);

void BM_RightAlignForList(benchmark::State& state) {
    const FontMeasurer measurer(fonts::WindowDefault());
    for (auto _ : state) {
        QString line = QStringLiteral("1234,57");
        benchmark::DoNotOptimize(RightAlignForList(measurer, 1695, line));
    }
}
BENCHMARK(BM_RightAlignForList);

// One evaluation onto tapes that already hold the given number of lines.
void BM_EvaluationOntoTape(benchmark::State& state) {
    SampleTapes sample;
    const auto lines = static_cast<int>(state.range(0));
    for (int i = 0; i < lines; ++i)
        EvaluateOntoTapes(sample.tapes, QStringLiteral("1,5*2"), sample.format);
    for (auto _ : state)
        EvaluateOntoTapes(sample.tapes, QStringLiteral("1234.5*3+17/4-2"), sample.format);
}
BENCHMARK(BM_EvaluationOntoTape)->Arg(100)->Arg(10000)->Arg(100000);

} // namespace
