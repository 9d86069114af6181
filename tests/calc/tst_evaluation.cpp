#include "calc/evaluation.h"
#include "tests/support/fixed_width_measurer.h"
#include "tests/support/tape_lines.h"

#include <QTest>

namespace {

constexpr int ListWidth = 1695;
constexpr int TwoDecimals = 1;

struct Lines {
    QString formula, result, total;
};

} // namespace

class TestEvaluation : public QObject {
    Q_OBJECT

private slots:
    void init();
    void tapeSequence_data();
    void tapeSequence();
    void displayedValuesAreAdded();
    void changedDecimalsAffectOnlyNewLines();
    void noDecimalsSelected();
    void blankTotalContinuesFromNearestNumber();
    void linesAreRightAligned();
    void tooWideLineIsAddedUnpadded();
    void missingEngineGivesEmptyResult();
    void outcomeCarriesResultAndUnroundedTotal();

private:
    Lines evaluate(const QString& field, int decimals = TwoDecimals);

    FixedWidthMeasurer m_measurer{90.0};
    std::unique_ptr<NumberTape> m_tapes;
};

void TestEvaluation::init() {
    m_tapes = std::make_unique<NumberTape>();
}

Lines TestEvaluation::evaluate(const QString& field, int decimals) {
    EvaluateOntoTapes(*m_tapes, field, LineFormat{m_measurer, decimals, ListWidth});
    const int last = m_tapes->List1.count() - 1;
    return {m_tapes->List1.text(last).trimmed(), m_tapes->List2.text(last).trimmed(),
            m_tapes->List3.text(last).trimmed()};
}

void TestEvaluation::tapeSequence_data() {
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("formulas");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QStringList>("totals");
    QTest::newRow("sum, comma input, division by zero, empty field")
        << QStringList{"2+3", "1,5*2", "5/0", ""} << QStringList{"2+3", "1.5*2", "5/0", ""}
        << QStringList{"5,00", "3,00", "", ""} << QStringList{"5,00", "8,00", "8,00", "8,00"};
    QTest::newRow("failure on the first line")
        << QStringList{"1+"} << QStringList{"1+"} << QStringList{""} << QStringList{"0,00"};
    QTest::newRow("negative results")
        << QStringList{"-2*3", "1-0.5"} << QStringList{"-2*3", "1-0.5"}
        << QStringList{"-6,00", "0,50"} << QStringList{"-6,00", "-5,50"};
    QTest::newRow("variables do not carry over")
        << QStringList{"x", "x+1"} << QStringList{"x", "x+1"} << QStringList{"", "1,00"}
        << QStringList{"0,00", "1,00"};
    QTest::newRow("a direction format shows as a blank, not reordering the digits")
        << QStringList{R"(ChrW(8238) & "00,001")"} << QStringList{R"(ChrW(8238) & "00.001")"}
        << QStringList{"00,001"} << QStringList{"0,00"};
}

void TestEvaluation::tapeSequence() {
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, formulas);
    QFETCH(QStringList, results);
    QFETCH(QStringList, totals);
    for (const QString& input : inputs)
        evaluate(input);
    QCOMPARE(trimmedLines(m_tapes->List1), formulas);
    QCOMPARE(trimmedLines(m_tapes->List2), results);
    QCOMPARE(trimmedLines(m_tapes->List3), totals);
}

void TestEvaluation::displayedValuesAreAdded() {
    for (int i = 0; i < 3; ++i)
        evaluate(QStringLiteral("1/3"));
    QCOMPARE(trimmedLines(m_tapes->List2), (QStringList{"0,33", "0,33", "0,33"}));
    QCOMPARE(trimmedLines(m_tapes->List3), (QStringList{"0,33", "0,66", "0,99"}));
}

void TestEvaluation::changedDecimalsAffectOnlyNewLines() {
    evaluate(QStringLiteral("1/3"));
    const Lines next = evaluate(QStringLiteral("1/3"), 0);
    QCOMPARE(next.result, QStringLiteral("0,3"));
    QCOMPARE(next.total, QStringLiteral("0,6")); // 0,3 plus the displayed 0,33
    QCOMPARE(m_tapes->List2.text(0).trimmed(), QStringLiteral("0,33"));
}

void TestEvaluation::noDecimalsSelected() {
    const Lines lines = evaluate(QStringLiteral("2+3"), -1);
    QCOMPARE(lines.formula, QStringLiteral("2+3"));
    QCOMPARE(lines.result, QString());
    QCOMPARE(lines.total, QString());
    QCOMPARE(m_tapes->List3.count(), 1);
}

void TestEvaluation::blankTotalContinuesFromNearestNumber() {
    evaluate(QStringLiteral("4"));
    evaluate(QStringLiteral("10"), -1);
    evaluate(QStringLiteral("10"), -1);
    const Lines lines = evaluate(QStringLiteral("1"));
    QCOMPARE(lines.total, QStringLiteral("5,00"));
}

void TestEvaluation::linesAreRightAligned() {
    evaluate(QStringLiteral("2+3"));
    for (const Tape* tape : {&m_tapes->List1, &m_tapes->List2, &m_tapes->List3}) {
        const QString line = tape->text(0);
        const double room = ListWidth - 100 - m_measurer.textWidth(line);
        QVERIFY2(room >= -45 && room <= 45, qPrintable(line));
        QVERIFY(line.startsWith(u' '));
    }
}

void TestEvaluation::tooWideLineIsAddedUnpadded() {
    const QString formula = QStringLiteral("1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1");
    const Lines lines = evaluate(formula);
    QCOMPARE(m_tapes->List1.text(0), formula);
    QCOMPARE(lines.result, QStringLiteral("20,00"));
    QCOMPARE(m_tapes->List1.count(), m_tapes->List3.count());
}

void TestEvaluation::missingEngineGivesEmptyResult() {
    const EvaluationOutcome outcome = EvaluateOntoTapes(
        *m_tapes, QStringLiteral("2+3"), LineFormat{m_measurer, TwoDecimals, ListWidth},
        [] { return std::unique_ptr<ExpressionEngine>(); });
    QCOMPARE(outcome.resultText, QString());
    QCOMPARE(m_tapes->List3.text(0).trimmed(), QStringLiteral("0,00"));
}

void TestEvaluation::outcomeCarriesResultAndUnroundedTotal() {
    evaluate(QStringLiteral("1"));
    const EvaluationOutcome outcome = EvaluateOntoTapes(
        *m_tapes, QStringLiteral("1/3"), LineFormat{m_measurer, TwoDecimals, ListWidth});
    QCOMPARE(outcome.resultText, QStringLiteral("0,333333333333333"));
    QCOMPARE(outcome.totalText, QStringLiteral("1,33"));
}

QTEST_GUILESS_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
