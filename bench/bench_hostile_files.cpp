// What reading each hostile file costs the reader that meets it. Each input is written in pieces
// to a temporary folder, so that the process's peak memory (tools/measure_hostile_files.sh runs
// each under heaptrack) is the reader's own.
#include "credits/bas_credit_und_info_box.h"
#include "formats/chm_file.h"
#include "formats/tape_file.h"
#include "main_window/form1.h"
#include "resources/fonts.h"
#include "resources/picture_file.h"
#include "tests/support/file_places.h"
#include "tests/support/fixed_width_measurer.h"
#include "tests/support/hostile_pictures.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

using Maker = std::function<bool(const QString& path)>;
using Reader = std::function<void(const QString& path)>;

// The piece written the given number of times.
Maker repeated(QByteArray piece, int times) {
    return [piece = std::move(piece), times](const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        for (int i = 0; i < times; ++i)
            file.write(piece);
        return file.flush();
    };
}

Maker bytes(QByteArray content) {
    return repeated(std::move(content), 1);
}

Maker place(Place kind) {
    return [kind](const QString& path) { return makePlace(kind, path); };
}

bool sparse64MiBPlusOne(const QString& path) {
    return makeSparseFile(path, MaxTapeFileBytes + 1);
}

// Short lines "0+1" to "9+1" by turns.
Maker shortLines(int count) {
    return [count](const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        for (int i = 0; i < count; ++i)
            file.write(QByteArray::number(i % 10) + "+1\r\n");
        return file.flush();
    };
}

// Lines of nines of the given length.
Maker longLines(qsizetype length, int count) {
    return [length, count](const QString& path) {
        constexpr qsizetype Piece = 64 * 1024;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        for (int line = 0; line < count; ++line) {
            for (qsizetype written = 0; written < length; written += Piece)
                file.write(QByteArray(std::min(Piece, length - written), '9'));
            file.write("\r\n");
        }
        return file.flush();
    };
}

QByteArray everyByte() {
    QByteArray bytes(256, Qt::Uninitialized);
    for (int byte = 0; byte < 256; ++byte)
        bytes[byte] = static_cast<char>(byte);
    return bytes;
}

QByteArray helpFile(qsizetype keep) {
    QFile file(QCoreApplication::applicationDirPath() +
               QStringLiteral("/../Benutzerhandbuch_Zifferal_Version_1.chm"));
    return file.open(QIODevice::ReadOnly) ? file.read(keep) : QByteArray();
}

void openTape(const QString& path) {
    static const FixedWidthMeasurer measurer;
    NumberTape tapes;
    benchmark::DoNotOptimize(OpenTapeFile(tapes, LineFormat{measurer, 1, 1695}, path));
}

void loadHelp(const QString& path) {
    benchmark::DoNotOptimize(ChmFile::load(path));
}

void layOutCredits(const QString& path) {
    static const FontMeasurer measurer(CreditsFont());
    benchmark::DoNotOptimize(
        LayOutCreditLines(ReadCreditsText(path, path), LayoutBox{measurer, 10140}, 9126, 0));
}

void loadPicture(const QString& path) {
    benchmark::DoNotOptimize(LoadPictureFile(path));
}

void runReader(benchmark::State& state, const Maker& make, const Reader& read) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("datei"));
    if (!make(path)) {
        state.SkipWithError("the input could not be made");
        return;
    }
    for (auto _ : state)
        read(path);
}

void registerReader(const char* reader, const Reader& read,
                    std::initializer_list<std::pair<const char*, Maker>> inputs) {
    for (const auto& [input, make] : inputs) {
        benchmark::RegisterBenchmark(
            (std::string("BM_Hostile/") + reader + "/" + input).c_str(),
            [make = make, read](benchmark::State& state) { runReader(state, make, read); })
            ->Unit(benchmark::kMillisecond);
    }
}

// The main window opens a tape file, as "Öffnen" does, with range(0) short lines; the views lay
// out and paint the new lines before the time stops.
void BM_MainWindowOpens(benchmark::State& state) {
    const QTemporaryDir folder;
    Form1Services services = Form1Services::Default();
    services.tapeFile = folder.filePath(QStringLiteral("Zahlen.txt"));
    shortLines(static_cast<int>(state.range(0)))(services.tapeFile);
    Form1 window(services);
    window.show();
    auto* open = window.findChild<QToolButton*>(QStringLiteral("Toolbar1_Oeffnen"));
    auto* clear = window.findChild<QToolButton*>(QStringLiteral("Toolbar1_Neu"));
    for (auto _ : state) {
        open->click();
        QApplication::processEvents();
        state.PauseTiming();
        clear->click();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindowOpens)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The main window opens a tape file with a line at the length bound, then evaluates a formula.
void BM_EvaluateAfterOpeningTheLongestLine(benchmark::State& state) {
    const QTemporaryDir folder;
    Form1Services services = Form1Services::Default();
    services.tapeFile = folder.filePath(QStringLiteral("Zahlen.txt"));
    longLines(MaxTapeLineLength, 1)(services.tapeFile);
    Form1 window(services);
    window.show();
    window.findChild<QToolButton*>(QStringLiteral("Toolbar1_Oeffnen"))->click();
    QApplication::processEvents();
    for (auto _ : state) {
        window.Text1->setText(QStringLiteral("1+1"));
        window.Command1->click();
        QApplication::processEvents(); // the views lay out and paint the new lines
    }
}
BENCHMARK(BM_EvaluateAfterOpeningTheLongestLine)->Unit(benchmark::kMillisecond);

const bool Registered = [] {
    registerReader("tape", openTape,
                   {{"empty", bytes({})},
                    {"only_cr", bytes("\r")},
                    {"one_5MB_line", longLines(5'000'000, 1)},
                    {"64_lines_of_64KiB", longLines(64 * 1024, 64)},
                    {"1000000_short_lines", shortLines(1'000'000)},
                    {"1000001_short_lines", shortLines(1'000'001)},
                    {"bytes_81_8D_00", repeated(QByteArray("\x81\x8D\x00\r\n", 5), 1000)},
                    {"utf8_text", repeated("5 \xE2\x82\xAC + \xC3\xA4\r\n", 1000)},
                    {"folder", place(Place::Folder)},
                    {"pipe", place(Place::Pipe)},
                    {"link_dev_zero", place(Place::LinkToZero)},
                    {"link_dev_urandom", place(Place::LinkToRandom)},
                    {"sparse_64MiB_plus_1", sparse64MiBPlusOne}});
    registerReader("help", loadHelp,
                   {{"missing", place(Place::Missing)},
                    {"empty", bytes({})},
                    {"truncated_1000_bytes", bytes(helpFile(1000))},
                    {"garbage", repeated(everyByte(), 200)},
                    {"folder", place(Place::Folder)},
                    {"pipe", place(Place::Pipe)}});
    registerReader("credits", layOutCredits,
                   {{"missing", place(Place::Missing)},
                    {"binary", repeated(everyByte(), 64)},
                    {"10MB", repeated(QByteArray("Dank\r\n").repeated(10'000), 170)},
                    {"pipe", place(Place::Pipe)}});
    registerReader("picture", loadPicture,
                   {{"missing", place(Place::Missing)},
                    {"not_a_picture", bytes("kein JPEG")},
                    {"declared_20000x20000", bytes(JpegDeclaring({20000, 20000}))},
                    {"pipe", place(Place::Pipe)}});
    return true;
}();

} // namespace
