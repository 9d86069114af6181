#include "calc/tape_change.h"
#include "calc/tape_text.h"
#include "tests/support/fixed_width_measurer.h"

#include <QAbstractItemModelTester>
#include <QTest>

namespace {

constexpr int ListWidth = 1300; // twelve characters of the fixed-width measurer
constexpr int TwoDecimals = 1;

using Lines = std::array<QStringList, 3>;

Lines linesOf(const NumberTape& tapes) {
    return {tapes.List1.lines(), tapes.List2.lines(), tapes.List3.lines()};
}

// A tape of three evaluations: 2+3, 1.5*2 and 4.
struct ThreeLineTape {
    ThreeLineTape() {
        for (Tape* list : {&tapes.List1, &tapes.List2, &tapes.List3})
            list->setWidthTwips(ListWidth);
        for (const char* formula : {"2+3", "1.5*2", "4"})
            EvaluateOntoTapes(tapes, formula, format);
    }

    FixedWidthMeasurer measurer;
    LineFormat format{measurer, TwoDecimals};
    NumberTape tapes;
};

using Action = TapeChange (*)(ThreeLineTape&);

TapeChange evaluation(ThreeLineTape& sample) {
    const TapeEnds ends(sample.tapes);
    EvaluateOntoTapes(sample.tapes, "7*2", sample.format);
    return AppendedSince(sample.tapes, ends);
}

TapeChange failedEvaluation(ThreeLineTape& sample) {
    const TapeEnds ends(sample.tapes);
    EvaluateOntoTapes(sample.tapes, "5/0", sample.format);
    return AppendedSince(sample.tapes, ends);
}

TapeChange newTape(ThreeLineTape& sample) {
    return EmptyTapes(sample.tapes);
}

TapeChange correction(ThreeLineTape& sample) {
    sample.tapes.List1.setSelected(1);
    return CorrectLineAsChange(sample.tapes, 1, "1.5*4", "6", sample.format);
}

TapeChange correctionOfTheFirstLine(ThreeLineTape& sample) {
    return CorrectLineAsChange(sample.tapes, 0, "2+4", "6", sample.format);
}

TapeChange correctionOfTheLastLine(ThreeLineTape& sample) {
    return CorrectLineAsChange(sample.tapes, 2, "4/0", "", sample.format);
}

TapeChange openedFile(ThreeLineTape& sample) {
    const TapeEnds ends(sample.tapes);
    sample.tapes.List1.append(QStringList{"Eingabe Zeile Spalte", "  9+9"});
    return AppendedSince(sample.tapes, ends);
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestTapeChange : public QObject {
    Q_OBJECT

private slots:
    void swap_puts_lines_in_place_of_others_data();
    void swap_puts_lines_in_place_of_others();
    void change_is_taken_back_and_made_again_data();
    void change_is_taken_back_and_made_again();
    void emptied_lines_come_back_without_a_copy();
    void change_that_changes_nothing_is_empty_data();
    void change_that_changes_nothing_is_empty();
    void tape_as_text_has_a_row_per_line_data();
    void tape_as_text_has_a_row_per_line();
    void selected_entry_has_no_alignment_blanks();
};

void TestTapeChange::swap_puts_lines_in_place_of_others_data() {
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

void TestTapeChange::swap_puts_lines_in_place_of_others() {
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
    tape.setSelected(selected);
    // Fails the test on any signal that does not tell the views what changed.
    QAbstractItemModelTester tester(&tape, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(tape.swapLines(position, count, put), returned);
    QCOMPARE(tape.lines(), expected);
    QCOMPARE(tape.selected(), selectedAfter);
}

void TestTapeChange::change_is_taken_back_and_made_again_data() {
    QTest::addColumn<Action>("action");
    QTest::newRow("evaluation") << Action(evaluation);
    QTest::newRow("failed evaluation") << Action(failedEvaluation);
    QTest::newRow("Neu") << Action(newTape);
    QTest::newRow("correction of the selected line") << Action(correction);
    QTest::newRow("correction of the first line") << Action(correctionOfTheFirstLine);
    QTest::newRow("correction of the last line") << Action(correctionOfTheLastLine);
    QTest::newRow("opened file") << Action(openedFile);
}

void TestTapeChange::change_is_taken_back_and_made_again() {
    QFETCH(Action, action);
    ThreeLineTape sample;
    const Lines before = linesOf(sample.tapes);
    TapeChange change = action(sample);
    const Lines after = linesOf(sample.tapes);
    QVERIFY(after != before);
    change.takeBack();
    QCOMPARE(linesOf(sample.tapes), before);
    change.makeAgain();
    QCOMPARE(linesOf(sample.tapes), after);
    change.takeBack();
    QCOMPARE(linesOf(sample.tapes), before);
}

// Taking "Neu" back hands the lists over: the lines stand in the same memory as before.
void TestTapeChange::emptied_lines_come_back_without_a_copy() {
    ThreeLineTape sample;
    const QString* lines = sample.tapes.List1.lines().constData();
    const QChar* firstLine = sample.tapes.List1.lines().first().constData();
    TapeChange change = EmptyTapes(sample.tapes);
    QCOMPARE(sample.tapes.List1.count(), 0);
    change.takeBack();
    QCOMPARE(sample.tapes.List1.lines().constData(), lines);
    QCOMPARE(sample.tapes.List1.lines().first().constData(), firstLine);
    change.makeAgain();
    change.takeBack();
    QCOMPARE(sample.tapes.List1.lines().constData(), lines);
}

void TestTapeChange::change_that_changes_nothing_is_empty_data() {
    QTest::addColumn<Action>("action");
    QTest::newRow("Neu on an empty tape") << Action([](ThreeLineTape& sample) {
        EmptyTapes(sample.tapes);
        return EmptyTapes(sample.tapes);
    });
    QTest::newRow("correction without a selected line") << Action([](ThreeLineTape& sample) {
        return CorrectLineAsChange(sample.tapes, -1, "9", "9", sample.format);
    });
    QTest::newRow("correction to the same formula") << Action([](ThreeLineTape& sample) {
        return CorrectLineAsChange(sample.tapes, 0, "2+3", "5", sample.format);
    });
    QTest::newRow("open of an empty file") << Action([](ThreeLineTape& sample) {
        const TapeEnds ends(sample.tapes);
        sample.tapes.List1.append(QStringList{});
        return AppendedSince(sample.tapes, ends);
    });
}

void TestTapeChange::change_that_changes_nothing_is_empty() {
    QFETCH(Action, action);
    ThreeLineTape sample;
    QVERIFY(action(sample).isEmpty());
}

void TestTapeChange::tape_as_text_has_a_row_per_line_data() {
    QTest::addColumn<QStringList>("formulas");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QStringList>("totals");
    QTest::addColumn<QString>("expected");
    QTest::newRow("three fields without blanks")
        << QStringList{"   2+3", " 1.5*2"} << QStringList{"  5,00", "  3,00"}
        << QStringList{"  5,00", "  8,00"} << "2+3\t5,00\t5,00\n1.5*2\t3,00\t8,00\n";
    QTest::newRow("a longer formula tape gives empty fields")
        << QStringList{"  2+3", "Eingabe Zeile Spalte"} << QStringList{" 5,00"}
        << QStringList{" 5,00"} << "2+3\t5,00\t5,00\nEingabe Zeile Spalte\t\t\n";
    QTest::newRow("a blank line gives an empty field")
        << QStringList{"  5/0"} << QStringList{"     "} << QStringList{" 0,00"} << "5/0\t\t0,00\n";
    QTest::newRow("tabs and line breaks within an entry become blanks")
        << QStringList{" a\tb\nc\rd\u2028e"} << QStringList{"1"} << QStringList{"1"}
        << "a b c d e\t1\t1\n";
    QTest::newRow("an empty tape is an empty text")
        << QStringList{} << QStringList{} << QStringList{} << "";
}

void TestTapeChange::tape_as_text_has_a_row_per_line() {
    QFETCH(QStringList, formulas);
    QFETCH(QStringList, results);
    QFETCH(QStringList, totals);
    QFETCH(QString, expected);
    NumberTape tapes;
    tapes.List1.append(formulas);
    tapes.List2.append(results);
    tapes.List3.append(totals);
    QCOMPARE(TapeAsText(tapes), expected);
}

void TestTapeChange::selected_entry_has_no_alignment_blanks() {
    Tape list;
    list.append(QStringList{"   8,00 ", "  12,00"});
    QCOMPARE(SelectedEntry(list), QString());
    list.setSelected(0);
    QCOMPARE(SelectedEntry(list), QStringLiteral("8,00"));
}

QTEST_GUILESS_MAIN(TestTapeChange)
#include "tst_tape_change.moc"
