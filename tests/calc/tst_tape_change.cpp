#include "calc/tape_change.h"
#include "calc/tape_text.h"
#include "tests/support/fixed_width_measurer.h"

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
        for (const char* formula : {"2+3", "1.5*2", "4"})
            EvaluateOntoTapes(tapes, formula, format);
    }

    FixedWidthMeasurer measurer;
    LineFormat format{measurer, TwoDecimals, ListWidth};
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
    void change_is_taken_back_and_made_again_data();
    void change_is_taken_back_and_made_again();
    void emptied_lines_come_back_without_a_copy();
    void change_that_changes_nothing_is_empty_data();
    void change_that_changes_nothing_is_empty();
    void tape_as_text_has_a_row_per_line_data();
    void tape_as_text_has_a_row_per_line();
};

void TestTapeChange::change_is_taken_back_and_made_again_data() {
    QTest::addColumn<Action>("action");
    QTest::newRow("evaluation") << Action(evaluation);
    QTest::newRow("failed evaluation") << Action(failedEvaluation);
    QTest::newRow("Neu") << Action(newTape);
    QTest::newRow("correction of a middle line") << Action(correction);
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

QTEST_GUILESS_MAIN(TestTapeChange)
#include "tst_tape_change.moc"
