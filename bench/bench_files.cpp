#include "formats/tape_file.h"
#include "sample_tapes.h"
#include "toolbar/office_export.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

void BM_SaveTape(benchmark::State& state) {
    const SampleTapes sample(static_cast<int>(state.range(0)));
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Zahlen/Zahlen.txt"));
    for (auto _ : state) {
        if (SaveTapeFile(sample.tapes, path))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveTape)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every saved line is appended to the formula tape, padded where it fits; bytes_per_line is the
// heap the opened lines hold.
void BM_OpenTape(benchmark::State& state) {
    SampleTapes sample(static_cast<int>(state.range(0)));
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Zahlen.txt"));
    SaveTapeFile(sample.tapes, path);
    double heldPerLine = 0;
    for (auto _ : state) {
        state.PauseTiming();
        sample.tapes.List1.clear();
        const std::size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        if (OpenTapeFile(sample.tapes, sample.format, path))
            state.SkipWithError("open failed");
        state.PauseTiming();
        heldPerLine = static_cast<double>(mallinfo2().uordblks - before) /
                      static_cast<double>(sample.tapes.List1.count());
        state.ResumeTiming();
    }
    state.counters["bytes_per_line"] = heldPerLine;
}
BENCHMARK(BM_OpenTape)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

class NoOpener : public FileOpener {
public:
    bool open(const QString&) override { return true; }
};

// Each export writes a new file; it is removed untimed so that names never clash.
template <typename Target, typename Export>
void benchmarkExport(benchmark::State& state, Target (*create)(FileOpener&, const QString&),
                     Export exportTo) {
    const SampleTapes sample(10000);
    const QTemporaryDir folder;
    NoOpener opener;
    for (auto _ : state) {
        const auto target = create(opener, folder.path());
        if (exportTo(sample.tapes, *target))
            state.SkipWithError("export failed");
        state.PauseTiming();
        for (const QString& file : QDir(folder.path()).entryList(QDir::Files))
            QFile::remove(folder.filePath(file));
        state.ResumeTiming();
    }
}

void BM_ExportWord(benchmark::State& state) {
    benchmarkExport(state, &CreateWordTarget, &ExportToWord);
}
BENCHMARK(BM_ExportWord)->Unit(benchmark::kMillisecond);

void BM_ExportExcel(benchmark::State& state) {
    benchmarkExport(state, &CreateExcelTarget, &ExportToExcel);
}
BENCHMARK(BM_ExportExcel)->Unit(benchmark::kMillisecond);

} // namespace
