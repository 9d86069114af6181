#include "calc/tape_change.h"
#include "main_window/form1.h"
#include "main_window/tape_commands.h"
#include "sample_tapes.h"

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

// Twelve "Neu" and refills of a main window's tapes with range(0) lines each: the history keeps
// the newest steps within about twice the tape's lines.
void BM_HistoryOfNewAndRefill(benchmark::State& state) {
    const SampleTapes sample(static_cast<int>(state.range(0)));
    Form1 window;
    NumberTape& tapes = window.tapes();
    const auto refill = [&] {
        const TapeEnds ends(tapes);
        tapes.List1.append(sample.tapes.List1.lines());
        tapes.List2.append(sample.tapes.List2.lines());
        tapes.List3.append(sample.tapes.List3.lines());
        return AppendedSince(tapes, ends);
    };
    for (auto _ : state) {
        for (int i = 0; i < 12; ++i) {
            window.changeTapes([&] { return EmptyTapes(tapes); });
            window.changeTapes(refill);
        }
    }
    state.counters["lines held"] = static_cast<double>(window.history().linesHeld());
    state.counters["lines shown"] = 3.0 * static_cast<double>(state.range(0));
}
BENCHMARK(BM_HistoryOfNewAndRefill)->Arg(100000)->Unit(benchmark::kMillisecond);

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
