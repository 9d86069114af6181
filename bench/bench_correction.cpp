#include "calc/recalculation.h"
#include "resources/fonts.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int TapeWidthTwips = 1695;
constexpr DecimalsIndex TwoDecimals = 1;

// A tape of the given length as evaluations leave it, with aligned lines.
void FillTape(NumberTape& tapes, const LineFormat& format, int lines) {
    QStringList formulas, results, totals;
    for (int i = 0; i < lines; ++i) {
        formulas << AlignedForList(format, tapes.List1, QStringLiteral("%1*1.5").arg(i));
        results << AlignedForList(format, tapes.List2, FormatResult(i * 1.5, format.decimals));
        totals << AlignedForList(format, tapes.List3, FormatResult(0.0, format.decimals));
    }
    tapes.List1.append(formulas);
    tapes.List2.append(results);
    tapes.List3.append(totals);
}

// Correcting the middle line of a tape and recomputing all of its totals.
void BM_Recalculate(benchmark::State& state) {
    const FontMeasurer measurer(fonts::WindowDefault());
    const LineFormat format{measurer, TwoDecimals};
    NumberTape tapes;
    for (Tape* tape : {&tapes.List1, &tapes.List2, &tapes.List3})
        tape->setWidthTwips(TapeWidthTwips);
    const int lines = static_cast<int>(state.range(0));
    FillTape(tapes, format, lines);
    for (auto _ : state) {
        CorrectLine(tapes, lines / 2, QStringLiteral("2+3"), QStringLiteral("5"), format);
        benchmark::DoNotOptimize(tapes.List3.text(lines - 1));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Recalculate)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
