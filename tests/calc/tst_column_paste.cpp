#include "calc/column_paste.h"

#include <QTest>

class TestColumnPaste : public QObject {
    Q_OBJECT

private slots:
    void formulas_data();
    void formulas();
    void moreThanMaxLinesGiveNone();
};

void TestColumnPaste::formulas_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isColumn");
    QTest::addColumn<QStringList>("expected");
    const auto row = [](const char* name, const char* text, bool isColumn,
                        const QStringList& expected) {
        QTest::newRow(name) << QString::fromUtf8(text) << isColumn << expected;
    };
    row("one line and blank ones", "5\r\n \n\t", false, {"5"});
    row("only blank lines", "\n \u00a0\n", false, {});
    row("typed formulas stay", "100+5\n6*2\n abc \n", true, {"100+5", "6*2", " abc "});
    row("blank lines and CR LF skipped", "1\r\n\r\n  \r\n2\u20283", true, {"1", "2", "3"});
    row("bank column", "1.234,56 €\n12,00-\n−5,00\n+12,00", true,
        {"1234,56", "-12,00", "-5,00", "12,00"});
    row("currency codes and signs around", "EUR -1.234,56\n- 7,5 EUR\n€1,00 -\n$ 3,25", true,
        {"-1234,56", "-7,5", "-1,00", "3,25"});
    row("blanks part three-digit groups", "1 234,56\n1\u00a0234\u202f567,00\n12 34\n1  234,00",
        true, {"1234,56", "1234567,00", "12 34", "1  234,00"});
    row("a decimal comma makes points separators", "1.234\n1.234,56\n1.5", true,
        {"1234", "1234,56", "1.5"});
    row("without one a point is the decimal point", "1.234\n2.5\n1.234.567\n1.234.56", true,
        {"1,234", "2,5", "1234567", "1.234.56"});
    row("no amount", "--5\n5-3\n€\nEURO 5\nNOT 5\n1,2,3\n1.234 567\n,5\n(5,00)", true,
        {"--5", "5-3", "€", "EURO 5", "NOT 5", "1,2,3", "1.234 567", ",5", "(5,00)"});
    row("copied tape rows give the formula", "2+3\t5,00\t5,00\n\t\t5,00\n+12\t12,00\t17,00\n\t\t\n",
        true, {"2+3", "", "+12"});
}

void TestColumnPaste::formulas() {
    QFETCH(QString, text);
    QFETCH(bool, isColumn);
    QFETCH(QStringList, expected);
    QCOMPARE(column_paste::IsColumn(text), isColumn);
    QCOMPARE(column_paste::Formulas(text), std::optional(expected));
}

void TestColumnPaste::moreThanMaxLinesGiveNone() {
    const QString most = QStringLiteral("1\n").repeated(column_paste::MaxLines);
    QCOMPARE(column_paste::Formulas(most)->size(), column_paste::MaxLines);
    QVERIFY(!column_paste::Formulas(most + QStringLiteral(" 2")));
}

QTEST_GUILESS_MAIN(TestColumnPaste)
#include "tst_column_paste.moc"
