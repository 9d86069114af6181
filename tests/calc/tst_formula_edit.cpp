#include "calc/formula_edit.h"

#include <QTest>

class TestFormulaEdit : public QObject {
    Q_OBJECT

private slots:
    void withoutLastCharacter_data();
    void withoutLastCharacter();
    void negated_data();
    void negated();
    void resolvePercent_data();
    void resolvePercent();
    void percent_data();
    void percent();
    void lineBreaksAsBlanks_data();
    void lineBreaksAsBlanks();
};

void TestFormulaEdit::withoutLastCharacter_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("operator dropped") << "12+"
                                      << "12";
    QTest::newRow("point dropped") << "1."
                                   << "1";
    QTest::newRow("empty stays empty") << ""
                                       << "";
    QTest::newRow("umlaut is one character") << "1ä"
                                             << "1";
}

void TestFormulaEdit::withoutLastCharacter() {
    QFETCH(QString, field);
    QFETCH(QString, expected);
    QCOMPARE(formula_edit::WithoutLastCharacter(field), expected);
}

void TestFormulaEdit::negated_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("positive whole") << "12"
                                    << "-12";
    QTest::newRow("negative whole") << "-7"
                                    << "7";
    QTest::newRow("decimals kept") << "2,5"
                                   << "-2,5";
    QTest::newRow("point input gets comma") << "1.5"
                                            << "-1,5";
    QTest::newRow("beyond 32 bits") << "5000000000"
                                    << "-5000000000";
    QTest::newRow("zero has no sign") << "0"
                                      << "0";
    QTest::newRow("formula unchanged") << "3+4"
                                       << "3+4";
    QTest::newRow("empty unchanged") << ""
                                     << "";
    QTest::newRow("letters unchanged") << "abc"
                                       << "abc";
}

void TestFormulaEdit::negated() {
    QFETCH(QString, field);
    QFETCH(QString, expected);
    QCOMPARE(formula_edit::Negated(field), expected);
    QCOMPARE(formula_edit::Negated(formula_edit::Negated(field)), field == "1.5" ? "1,5" : field);
}

void TestFormulaEdit::resolvePercent_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no percent") << "200+15"
                                << "200+15";
    QTest::newRow("product") << "200*15%"
                             << "200*15/100";
    QTest::newRow("bare percent") << "50%"
                                  << "50/100";
    QTest::newRow("minus has no special meaning") << "200-15%"
                                                  << "200-15/100";
    QTest::newRow("every percent") << "1%*2%"
                                   << "1/100*2/100";
    QTest::newRow("two digit rate") << "200+15%"
                                    << "200*1.15";
    QTest::newRow("leading zero rate") << "200+05%"
                                       << "200*1.05";
    QTest::newRow("rest dropped") << "200+15%+3"
                                  << "200*1.15";
    QTest::newRow("one digit rate") << "200+5%"
                                    << "200*1.05";
    QTest::newRow("decimal rate") << "200+7.5%"
                                  << "200*1.075";
    QTest::newRow("decimal comma rate") << "200+7,5%"
                                        << "200*1.075";
    QTest::newRow("three digit rate") << "200+150%"
                                      << "200*2.5";
    QTest::newRow("percent before plus") << "10%+5"
                                         << "10/100+5";
    QTest::newRow("rate with operator") << "200+3*5%"
                                        << "200+3*5/100";
    QTest::newRow("empty rate") << "200+%"
                                << "200+/100";
    QTest::newRow("only the first plus counts") << "1+2+10%"
                                                << "1+2+10/100";
    const QString nines308(308, u'9');
    QTest::newRow("rate at the end of a number's range") << "1+" + nines308 + "%"
                                                         << "1*1E+306";
    const QString nines400(400, u'9');
    QTest::newRow("rate beyond a number's range keeps its digits") << "1+" + nines400 + "%"
                                                                   << "1+" + nines400 + "/100";
}

void TestFormulaEdit::resolvePercent() {
    QFETCH(QString, field);
    QFETCH(QString, expected);
    QCOMPARE(formula_edit::ResolvePercent(field), expected);
}

void TestFormulaEdit::percent_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole number") << "15"
                                  << "0,15";
    QTest::newRow("decimal comma") << "2,5"
                                   << "0,025";
    QTest::newRow("negative") << "-50"
                              << "-0,5";
    QTest::newRow("formula unchanged") << "3+4"
                                       << "3+4";
    QTest::newRow("typed percent unchanged") << "15%"
                                             << "15%";
}

void TestFormulaEdit::percent() {
    QFETCH(QString, field);
    QFETCH(QString, expected);
    QCOMPARE(formula_edit::Percent(field), expected);
}

void TestFormulaEdit::lineBreaksAsBlanks_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one line stays") << "1+2"
                                    << "1+2";
    QTest::newRow("CR LF is one break") << "1\r\n+2"
                                        << "1 +2";
    QTest::newRow("CR and LF") << "1\r+2\n"
                               << "1 +2 ";
    QTest::newRow("LF CR is two breaks") << "1\n\r2"
                                         << "1  2";
    QTest::newRow("blank lines keep their blanks") << "\r\n\r\n3"
                                                   << "  3";
    QTest::newRow("vertical tab, form feed, next line") << "1\v2\f3\u00854"
                                                        << "1 2 3 4";
    QTest::newRow("line and paragraph separators") << "1\u20282\u20293"
                                                   << "1 2 3";
    QTest::newRow("tab is no line break") << "1\t2"
                                          << "1\t2";
}

void TestFormulaEdit::lineBreaksAsBlanks() {
    QFETCH(QString, field);
    QFETCH(QString, expected);
    QCOMPARE(formula_edit::LineBreaksAsBlanks(field), expected);
}

QTEST_GUILESS_MAIN(TestFormulaEdit)
#include "tst_formula_edit.moc"
