#include "sample_tapes.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

SampleTapes::SampleTapes(int lines) {
    QStringList formulas, results, totals;
    for (int i = 0; i < lines; ++i) {
        formulas << AlignedForList(format, QStringLiteral("%1+0,5").arg(i));
        results << AlignedForList(format, FormatResult(i + 0.5, format.decimals));
        totals << AlignedForList(format, FormatResult(0.5 * (i + 1) * (i + 1), format.decimals));
    }
    tapes.List1.append(formulas);
    tapes.List2.append(results);
    tapes.List3.append(totals);
}

std::unique_ptr<Form1> WindowWith(benchmark::State& state, const SampleTapes& sample) {
    auto window = std::make_unique<Form1>();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        state.SkipWithError("the main window did not become active");
    NumberTape& tapes = window->tapes();
    tapes.List1.append(sample.tapes.List1.lines());
    tapes.List2.append(sample.tapes.List2.lines());
    tapes.List3.append(sample.tapes.List3.lines());
    QApplication::processEvents();
    return window;
}

void Press(Form1& window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(window.Text1, key, modifiers);
    QApplication::processEvents();
}
