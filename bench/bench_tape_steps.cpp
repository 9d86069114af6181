#include "bench/sample_tapes.h"
#include "calc/tape_change.h"
#include "main_window/form1.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Ctrl+Z after "Neu" on a main window with range(0) lines in each tape: the lines come back
// and the views show them before the time stops.
void BM_UndoNew(benchmark::State& state) {
    const SampleTapes sample(static_cast<int>(state.range(0)));
    const std::unique_ptr<Form1> window = WindowWith(state, sample);
    Press(*window, Qt::Key_N, Qt::ControlModifier);
    for (auto _ : state) {
        Press(*window, Qt::Key_Z, Qt::ControlModifier);
        state.PauseTiming();
        if (window->tapes().List3.count() != state.range(0))
            state.SkipWithError("Ctrl+Z did not give the tape back");
        Press(*window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UndoNew)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// The tapes alone, without views: "Neu" taken back and made again.
void BM_UndoNewOfTheTapes(benchmark::State& state) {
    SampleTapes sample(static_cast<int>(state.range(0)));
    TapeChange change = EmptyTapes(sample.tapes);
    for (auto _ : state) {
        change.takeBack();
        change.makeAgain();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UndoNewOfTheTapes)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();

// Ctrl+Shift+C on a main window with range(0) lines in each tape.
void BM_CopyWholeTape(benchmark::State& state) {
    const SampleTapes sample(static_cast<int>(state.range(0)));
    const std::unique_ptr<Form1> window = WindowWith(state, sample);
    for (auto _ : state) {
        QTest::keyClick(window->Text1, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        state.PauseTiming();
        if (QGuiApplication::clipboard()->text().count(u'\n') != state.range(0))
            state.SkipWithError("Ctrl+Shift+C did not copy the tape");
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CopyWholeTape)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
