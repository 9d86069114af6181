#include "calc/recalculation.h"
#include "main_window/tape_view.h"
#include "tests/support/fixed_width_measurer.h"
#include "tests/support/gui_fixture.h"

#include <QAbstractItemModelTester>
#include <QListView>
#include <QTest>

namespace {

// As a click on the line does.
void select(QListView& view, int row) {
    if (row >= 0)
        view.setCurrentIndex(view.model()->index(row, 0));
}

} // namespace

// The tapes' lines as the views show and select them.
class TestTapeView : public QObject {
    Q_OBJECT

private slots:
    void swap_puts_lines_in_place_of_others_data();
    void swap_puts_lines_in_place_of_others();
    void correction_drops_selection_of_replaced_lines_only();
    void selected_entry_has_no_alignment_blanks();
};

void TestTapeView::swap_puts_lines_in_place_of_others_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("put");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("returned");
    QTest::addColumn<int>("selectedAfter");
    const QStringList abc{"a", "b", "c"};
    QTest::newRow("a whole list changes hands")
        << abc << 1 << 0 << 3 << QStringList{} << QStringList{} << abc << -1;
    QTest::newRow("into an empty list")
        << QStringList{} << -1 << 0 << 0 << abc << abc << QStringList{} << -1;
    QTest::newRow("one line in place keeps another selected")
        << abc << 2 << 1 << 1 << QStringList{"x"} << QStringList{"a", "x", "c"} << QStringList{"b"}
        << 2;
    QTest::newRow("a replaced line is no longer selected")
        << abc << 1 << 1 << 1 << QStringList{"x"} << QStringList{"a", "x", "c"} << QStringList{"b"}
        << -1;
    QTest::newRow("lines taken from the end")
        << abc << 0 << 1 << 2 << QStringList{} << QStringList{"a"} << QStringList{"b", "c"} << 0;
    QTest::newRow("a selected line taken away leaves no other selected")
        << abc << 2 << 1 << 2 << QStringList{} << QStringList{"a"} << QStringList{"b", "c"} << -1;
    QTest::newRow("lines put at the end")
        << QStringList{"a"} << 0 << 1 << 0 << QStringList{"b", "c"} << abc << QStringList{} << 0;
    QTest::newRow("a line moved by a change of count is no longer selected")
        << abc << 2 << 0 << 1 << QStringList{"x", "y"} << QStringList{"x", "y", "b", "c"}
        << QStringList{"a"} << -1;
    QTest::newRow("more lines in the middle")
        << abc << -1 << 1 << 1 << QStringList{"x", "y"} << QStringList{"a", "x", "y", "c"}
        << QStringList{"b"} << -1;
    QTest::newRow("place beyond the end is the end")
        << QStringList{"a", "b"} << -1 << 5 << 3 << QStringList{"c"} << abc << QStringList{} << -1;
}

void TestTapeView::swap_puts_lines_in_place_of_others() {
    QFETCH(QStringList, lines);
    QFETCH(int, selected);
    QFETCH(int, position);
    QFETCH(int, count);
    QFETCH(QStringList, put);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, returned);
    QFETCH(int, selectedAfter);
    Tape tape;
    tape.append(lines);
    QListView view;
    BindTapeView(view, tape);
    select(view, selected);
    // Fails the test on any signal that does not tell the views what changed.
    QAbstractItemModelTester tester(&tape, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(tape.swapLines(position, count, put), returned);
    QCOMPARE(tape.lines(), expected);
    QCOMPARE(SelectedRow(view), selectedAfter);
}

void TestTapeView::correction_drops_selection_of_replaced_lines_only() {
    NumberTape tapes;
    tapes.List1.append(QStringList{"1", "2", "3"});
    tapes.List2.append(QStringList{"1,00", "2,00", "3,00"});
    tapes.List3.append(QStringList{"1,00", "3,00", "6,00"});
    std::array<QListView, 3> views;
    const std::array<Tape*, 3> lists{&tapes.List1, &tapes.List2, &tapes.List3};
    for (std::size_t i = 0; i < views.size(); ++i)
        BindTapeView(views[i], *lists[i]);
    select(views[0], 1);
    select(views[1], 2);
    select(views[2], 0);
    const FixedWidthMeasurer measurer;

    CorrectLine(tapes, 1, "5", "5", LineFormat{measurer, 1, 1300});

    QCOMPARE(SelectedRow(views[0]), -1);
    QCOMPARE(SelectedRow(views[1]), 2);
    QCOMPARE(SelectedRow(views[2]), -1);
}

void TestTapeView::selected_entry_has_no_alignment_blanks() {
    Tape list;
    list.append(QStringList{"   8,00 ", "  12,00"});
    QListView view;
    BindTapeView(view, list);
    QCOMPARE(SelectedEntry(view), QString());
    select(view, 0);
    QCOMPARE(SelectedEntry(view), QStringLiteral("8,00"));
}

ZIFFERON_GUI_TEST_MAIN(TestTapeView)
#include "tst_tape_view.moc"
