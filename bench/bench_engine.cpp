#include "calc/expression_engine.h"

#include <benchmark/benchmark.h>

namespace {

// One keypad formula through a fresh engine, as every evaluation runs it.
void BM_EvaluateFormula(benchmark::State& state) {
    const QString formula = QStringLiteral("1234.5*3+17/4-2");
    for (auto _ : state)
        benchmark::DoNotOptimize(EvaluateFormula(formula));
}
BENCHMARK(BM_EvaluateFormula);

// A formula of function calls: each name is looked up in the table of built-in functions.
void BM_EvaluateFunctionFormula(benchmark::State& state) {
    const QString formula = QStringLiteral("Sqr(16)+Abs(-2.5)*Round(3.5)-Int(2.7)");
    for (auto _ : state)
        benchmark::DoNotOptimize(EvaluateFormula(formula));
}
BENCHMARK(BM_EvaluateFunctionFormula);

// The longest formula the engine accepts, to show that its cost grows linearly.
void BM_EvaluateLongFormula(benchmark::State& state) {
    QString formula = QStringLiteral("1");
    while (formula.size() < 9980)
        formula += QStringLiteral("+1.5*2");
    for (auto _ : state)
        benchmark::DoNotOptimize(EvaluateFormula(formula));
}
BENCHMARK(BM_EvaluateLongFormula);

} // namespace
