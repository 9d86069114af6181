#include "credits/bas_credit_und_info_box.h"
#include "files/windows1252.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int BoxWidth = 10140;
constexpr int TextAreaWidth = 9126;

// A credits text of the given number of lines: headings, short credit lines, and every fourth
// line a paragraph long enough to wrap three to four times in the info box.
QString creditsText(int lines) {
    const QString paragraph = QStringLiteral(
        "Für die geduldige Hilfe bei der Gestaltung, beim Testen der Zahlenkolonne und beim "
        "Korrekturlesen des Handbuches danken wir herzlich allen Mitwirkenden, die mit ihren "
        "Hinweisen, Fragen und Vorschlägen (auch zu später Stunde) diese Software verbessert "
        "haben; ohne sie wäre Zifferon nicht, was es heute ist.");
    QStringList text;
    for (int line = 0; line < lines; ++line) {
        switch (line % 4) {
        case 0:
            text.append(QStringLiteral("Mitwirkende %1").arg(line));
            break;
        case 1:
            text.append(QStringLiteral("Graphik und Design: Lena Haberkorn, Bremen"));
            break;
        case 2:
            text.append(QString());
            break;
        default:
            text.append(paragraph);
        }
    }
    return text.join(QStringLiteral("\r\n"));
}

QString writeCredits(const QTemporaryDir& folder, int lines) {
    const QString path = folder.filePath(QStringLiteral("Tiska.dpi"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(EncodeWindows1252(creditsText(lines)));
    return path;
}

// Reading and laying out a credits file of range(0) lines for the info box.
void BM_WrapCreditText(benchmark::State& state) {
    const QTemporaryDir folder;
    CreditsState credits;
    credits.CreditsFile = writeCredits(folder, static_cast<int>(state.range(0)));
    const FontMeasurer measurer(CreditsFont());
    for (auto _ : state) {
        WrapCreditText(credits, LayoutBox{measurer, BoxWidth}, credits.CreditsFile, TextAreaWidth,
                       0);
        benchmark::DoNotOptimize(credits.CreditsLines.size());
    }
    state.counters["laid_out_lines"] = static_cast<double>(credits.CreditsLines.size());
}
BENCHMARK(BM_WrapCreditText)->Arg(20)->Arg(2000)->Unit(benchmark::kMillisecond);

// One timer tick of the info box with range(0) lines of credits that fill the box: the text
// moves from the box's top edge up by 400 pixels, then starts there again. The cost of a tick
// does not depend on how long the credits are.
void BM_ScrollTick(benchmark::State& state) {
    const QTemporaryDir folder;
    CreditsState credits;
    credits.ScrollStep = 3;
    credits.WidthFactor = 0.9f;
    credits.CreditsFile = writeCredits(folder, static_cast<int>(state.range(0)));
    CreditsPicture box;
    box.setFont(CreditsFont());
    box.setGeometry(0, 0, BoxWidth / 15, 615);
    StartCredits(credits, box);
    StopCredits(credits);
    constexpr int Top = 0;
    constexpr int Bottom = -400 * 15;
    credits.ScrollY = Top;
    for (auto _ : state) {
        ScrollCredits(credits);
        if (credits.ScrollY < Bottom)
            credits.ScrollY = Top;
    }
    state.counters["credit_lines"] = static_cast<double>(credits.CreditsLines.size());
}
BENCHMARK(BM_ScrollTick)->Arg(60)->Arg(6000)->Unit(benchmark::kMicrosecond);

} // namespace
