#include "main_window/form1.h"

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

} // namespace
