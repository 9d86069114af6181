#include "main_window/form1.h"
#include "sample_tapes.h"

#include <QApplication>
#include <QClipboard>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

void BM_KeypadClick(benchmark::State& state) {
    Form1 window;
    window.show();
    auto* seven = window.findChild<QPushButton*>(QStringLiteral("cmd7"));
    auto* exit = window.findChild<QPushButton*>(QStringLiteral("cmdExit"));
    for (auto _ : state) {
        seven->click();
        if (window.Text1->text().size() > 1000)
            exit->click();
    }
}
BENCHMARK(BM_KeypadClick);

// From nothing to a main window that is constructed and shown.
void BM_StartupToMainWindow(benchmark::State& state) {
    for (auto _ : state) {
        Form1 window;
        window.show();
        benchmark::DoNotOptimize(window.isVisible());
    }
}
BENCHMARK(BM_StartupToMainWindow)->Unit(benchmark::kMillisecond);

// One evaluation by Enter on tapes of range(0) lines, until the views have shown it.
void BM_EvaluateWithViews(benchmark::State& state) {
    const SampleTapes sample(static_cast<int>(state.range(0)));
    const std::unique_ptr<Form1> window = WindowWith(state, sample);
    for (auto _ : state) {
        window->Text1->setText(QStringLiteral("2+3"));
        Press(*window, Qt::Key_Return);
    }
}
BENCHMARK(BM_EvaluateWithViews)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A column of range(0) amounts pasted onto tapes of as many lines, until the views have shown it.
void BM_PasteColumn(benchmark::State& state) {
    const auto lines = static_cast<int>(state.range(0));
    const SampleTapes sample(lines);
    QStringList column;
    for (int i = 0; i < lines; ++i)
        column << QStringLiteral("%1,%2 €").arg(i).arg(i % 100, 2, 10, QChar(u'0'));
    QGuiApplication::clipboard()->setText(column.join(u'\n'));
    std::unique_ptr<Form1> window;
    for (auto _ : state) {
        state.PauseTiming();
        window.reset();
        window = WindowWith(state, sample);
        state.ResumeTiming();
        Press(*window, Qt::Key_V, Qt::ControlModifier);
    }
    if (window->tapes().List3.count() != 2 * lines)
        state.SkipWithError("the column did not reach the tapes");
}
BENCHMARK(BM_PasteColumn)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
