#include "calc/tape_change.h"
#include "main_window/form1.h"
#include "main_window/tape_journal.h"
#include "sample_tapes.h"

#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

JournalRecordSource sourceOf(const NumberTape& tapes, JournalCounts keep) {
    return {{&tapes.List1.lines(), &tapes.List2.lines(), &tapes.List3.lines()}, keep, u"5", u"5"};
}

JournalCounts countsOf(const NumberTape& tapes) {
    return {tapes.List1.count(), tapes.List2.count(), tapes.List3.count()};
}

void check(const std::optional<Failure>& failure, benchmark::State& state) {
    if (failure)
        state.SkipWithError(qPrintable(failure->reason));
}

// The journal's part of an evaluation on a tape of n lines: one line more on each list, recorded.
// The file is written anew whenever it outgrows its tapes, which the mean includes.
void BM_JournalPerEvaluation(benchmark::State& state) {
    const QTemporaryDir folder;
    SampleTapes sample(static_cast<int>(state.range(0)));
    FileTapeJournal journal(folder.path(), "bench");
    check(journal.record(sourceOf(sample.tapes, {})), state);
    const QString line = QStringLiteral("    2+3");
    for (auto _ : state) {
        const JournalCounts before = countsOf(sample.tapes);
        for (Tape* list : {&sample.tapes.List1, &sample.tapes.List2, &sample.tapes.List3})
            list->append(line);
        check(journal.record(sourceOf(sample.tapes, before)), state);
    }
}
BENCHMARK(BM_JournalPerEvaluation)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// An evaluation in the main window whose tapes hold n lines, with the journal (1) and without (0):
// the whole path from Enter to the record.
void BM_EvaluationInWindow(benchmark::State& state) {
    const QTemporaryDir folder;
    Form1Services services = Form1Services::Default();
    services.journal =
        state.range(1) != 0 ? std::make_shared<FileTapeJournal>(folder.path(), "bench") : nullptr;
    Form1 window(std::move(services));
    SampleTapes sample(static_cast<int>(state.range(0)));
    NumberTape& tapes = window.tapes();
    tapes.List1.append(sample.tapes.List1.lines());
    tapes.List2.append(sample.tapes.List2.lines());
    tapes.List3.append(sample.tapes.List3.lines());
    for (auto _ : state) {
        window.Text1->setText(QStringLiteral("2+3"));
        window.Command1_Click();
    }
}
BENCHMARK(BM_EvaluationInWindow)
    ->ArgsProduct({{1000, 100000}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// A correction of the middle line with its record: the totals below it go to the journal.
void BM_CorrectionWithJournal(benchmark::State& state) {
    const QTemporaryDir folder;
    const int lines = static_cast<int>(state.range(0));
    SampleTapes sample(lines);
    FileTapeJournal journal(folder.path(), "bench");
    check(journal.record(sourceOf(sample.tapes, {})), state);
    bool odd = false;
    for (auto _ : state) {
        odd = !odd;
        CorrectLineAsChange(sample.tapes, lines / 2, odd ? u"2+3"_qs : u"2+4"_qs,
                            odd ? u"5"_qs : u"6"_qs, sample.format);
        const qsizetype middle = lines / 2;
        check(journal.record(sourceOf(sample.tapes, {middle, middle, middle})), state);
    }
}
BENCHMARK(BM_CorrectionWithJournal)->Arg(100000)->Unit(benchmark::kMillisecond);

// "Neu" on a tape of n lines: the tapes emptied and the journal written anew.
void BM_NewTapeWithJournal(benchmark::State& state) {
    const QTemporaryDir folder;
    SampleTapes sample(static_cast<int>(state.range(0)));
    FileTapeJournal journal(folder.path(), "bench");
    check(journal.record(sourceOf(sample.tapes, {})), state);
    for (auto _ : state) {
        TapeChange emptied = EmptyTapes(sample.tapes);
        check(journal.record(sourceOf(sample.tapes, {})), state);
        state.PauseTiming();
        emptied.takeBack();
        check(journal.record(sourceOf(sample.tapes, {})), state);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_NewTapeWithJournal)->Arg(100000)->Unit(benchmark::kMillisecond);

// The main window of a run that finds the last run's journal of n lines (0: none): the hint is
// all that is read. The splash window comes before and reads nothing of it.
void BM_MainWindowWithLastRun(benchmark::State& state) {
    const QTemporaryDir folder;
    if (state.range(0) > 0) {
        SampleTapes sample(static_cast<int>(state.range(0)));
        FileTapeJournal earlier(folder.path(), "earlier");
        check(earlier.record(sourceOf(sample.tapes, {})), state);
    }
    for (auto _ : state) {
        Form1Services services = Form1Services::Default();
        services.journal = std::make_shared<FileTapeJournal>(folder.path(), "bench");
        Form1 window(std::move(services));
        window.show();
        benchmark::DoNotOptimize(window.Text1->placeholderText());
    }
}
BENCHMARK(BM_MainWindowWithLastRun)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
