#include "calc/module1.h"
#include "tests/support/fixed_width_measurer.h"

#include <QTest>

#include <cmath>

class TestModule1 : public QObject {
    Q_OBJECT

private slots:
    void formatResult_number_data();
    void formatResult_number();
    void formatResult_text_data();
    void formatResult_text();
    void toDecimalComma_data();
    void toDecimalComma();
    void numberToText_data();
    void numberToText();
    void textToNumber_data();
    void textToNumber();
    void rightAlign_data();
    void rightAlign();
    void rightAlign_checkBoxesLeaveRoomForTheMark_data();
    void rightAlign_checkBoxesLeaveRoomForTheMark();
    void rightAlign_failureLeavesTextUnchanged();
};

void TestModule1::formatResult_number_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("37.5 two decimals") << 37.5 << 1 << "37,50";
    QTest::newRow("half rounds away from zero") << 2.125 << 1 << "2,13";
    QTest::newRow("negative half rounds away") << -2.125 << 1 << "-2,13";
    QTest::newRow("negative below one") << -0.5 << 1 << "-0,50";
    QTest::newRow("no digit grouping") << 1000000.0 << 1 << "1000000,00";
    QTest::newRow("one third ten decimals") << 1.0 / 3 << 9 << "0,3333333333";
    QTest::newRow("quarter one decimal") << 0.25 << 0 << "0,3";
    QTest::newRow("negative quarter one decimal") << -0.25 << 0 << "-0,3";
    QTest::newRow("15-digit form of 2.675") << 2.675 << 1 << "2,68";
    QTest::newRow("1.005 from its decimal form") << 1.005 << 1 << "1,01";
    QTest::newRow("negative rounding to zero has no sign") << -0.001 << 1 << "0,00";
    QTest::newRow("negative zero") << -0.0 << 1 << "0,00";
    QTest::newRow("zero") << 0.0 << 2 << "0,000";
    QTest::newRow("carry into new digit") << 9.999 << 1 << "10,00";
    QTest::newRow("tiny value") << 1e-20 << 1 << "0,00";
    QTest::newRow("tiny value rounds up") << 0.005 << 1 << "0,01";
    QTest::newRow("large value no exponent") << 1e20 << 1 << "100000000000000000000,00";
    QTest::newRow("beyond 15 digits") << 123456789012345678.0 << 0 << "123456789012346000,0";
    QTest::newRow("no entry selected") << 37.5 << -1 << "";
    QTest::newRow("index past the list") << 37.5 << 10 << "";
    QTest::newRow("infinity") << HUGE_VAL << 1 << "";
}

void TestModule1::formatResult_number() {
    QFETCH(double, value);
    QFETCH(int, index);
    QFETCH(QString, expected);
    QCOMPARE(FormatResult(value, index), expected);
}

void TestModule1::formatResult_text_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("comma text") << "37,5" << 1 << "37,50";
    QTest::newRow("padded tape line") << "     12,50" << 1 << "12,50";
    QTest::newRow("engine text with comma") << "0,333333333333333" << 1 << "0,33";
    QTest::newRow("three blanks unchanged") << "   " << 1 << "   ";
    QTest::newRow("empty unchanged") << "" << 1 << "";
    QTest::newRow("word unchanged") << "Wahr" << 1 << "Wahr";
    QTest::newRow("non-number gets commas") << "a.b" << 1 << "a,b";
    QTest::newRow("no entry selected") << "37,5" << -1 << "";
    QTest::newRow("CR and LF become blanks") << "a\rb\nc" << 1 << "a b c";
    QTest::newRow("CR LF becomes one blank") << "a\r\nb" << 1 << "a b";
    QTest::newRow("other line breaks become blanks")
        << "a\u0085b\u2028c\u2029d\ve\ff" << 1 << "a b c d e f";
    QTest::newRow("control characters become blanks")
        << QString("a\tb") + QChar(0) + "c\x1b" + "d\x7f" + "e\u009b" << 1 << "a b c d e ";
    QTest::newRow("direction formats become blanks")
        << "\u202E00,001 a\u202Ab\u202Dc\u2066d\u2069e\u200Ef\u200Fg\u061Ch" << 1
        << " 00,001 a b c d e f g h";
}

void TestModule1::formatResult_text() {
    QFETCH(QString, value);
    QFETCH(int, index);
    QFETCH(QString, expected);
    QCOMPARE(FormatResult(value, index), expected);
}

void TestModule1::toDecimalComma_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text with point") << "1.5"
                                     << "1,5";
    QTest::newRow("every point") << "1.2.3"
                                 << "1,2,3";
    QTest::newRow("padded") << "  8.00"
                            << "  8,00";
    QTest::newRow("nothing to replace") << "8,00"
                                        << "8,00";
}

void TestModule1::toDecimalComma() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ToDecimalComma(text), expected);
    QCOMPARE(ToDecimalComma(2.5), QStringLiteral("2,5"));
}

void TestModule1::numberToText_data() {
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("expected");
    QTest::newRow("decimal") << 37.5 << "37,5";
    QTest::newRow("whole negative") << -2.0 << "-2";
    QTest::newRow("fraction below one") << 0.15 << "0,15";
    QTest::newRow("fifteen digits") << 1.0 / 3 << "0,333333333333333";
    QTest::newRow("binary noise rounded") << 0.1 + 0.2 << "0,3";
    QTest::newRow("largest plain") << 123456789012345.0 << "123456789012345";
    QTest::newRow("exponent form large") << 1e20 << "1E+20";
    QTest::newRow("exponent at 15 digits") << 1e15 << "1E+15";
    QTest::newRow("exponent form small") << 1.5e-7 << "1,5E-07";
    QTest::newRow("small plain") << 0.0001 << "0,0001";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("three digit exponent") << 2.5e-300 << "2,5E-300";
}

void TestModule1::numberToText() {
    QFETCH(double, number);
    QFETCH(QString, expected);
    QCOMPARE(NumberToText(number), expected);
}

void TestModule1::textToNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("expected");
    QTest::newRow("padded comma") << "  12,50" << true << 12.5;
    QTest::newRow("point") << "1.5" << true << 1.5;
    QTest::newRow("trailing blanks") << "7   " << true << 7.0;
    QTest::newRow("plus sign") << "+3" << true << 3.0;
    QTest::newRow("minus sign") << "-0,5" << true << -0.5;
    QTest::newRow("leading separator") << ",5" << true << 0.5;
    QTest::newRow("trailing separator") << "5." << true << 5.0;
    QTest::newRow("exponent") << "1,5E-07" << true << 1.5e-7;
    QTest::newRow("lower exponent with plus") << "2e+3" << true << 2000.0;
    QTest::newRow("formula") << "3+4" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks only") << "   " << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("separator alone") << "," << false << 0.0;
    QTest::newRow("sign alone") << "-" << false << 0.0;
    QTest::newRow("two separators") << "1,2,3" << false << 0.0;
    QTest::newRow("exponent without digits") << "1E" << false << 0.0;
    QTest::newRow("blank inside") << "1 2" << false << 0.0;
    QTest::newRow("double sign") << "--1" << false << 0.0;
    QTest::newRow("beyond double range") << "1E400" << false << 0.0;
    QTest::newRow("non-ASCII digits") << QString::fromUtf8("١٢") << false << 0.0;
}

void TestModule1::textToNumber() {
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, expected);
    const std::optional<double> number = TextToNumber(text);
    QCOMPARE(number.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*number, expected);
}

void TestModule1::rightAlign_data() {
    // Blanks 10 twips wide, other characters 100; the list leaves room = width - w - 100.
    QTest::addColumn<int>("listWidth");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("blanks");
    QTest::newRow("exactly as wide as the room") << 300 << "AA" << 0;
    QTest::newRow("room of 6.5 blanks rounds to even") << 365 << "AA" << 6;
    QTest::newRow("room of 7.5 blanks rounds to even") << 375 << "AA" << 8;
    QTest::newRow("overhang below half a blank") << 296 << "AA" << 0;
    QTest::newRow("empty text") << 300 << "" << 20;
}

void TestModule1::rightAlign() {
    QFETCH(int, listWidth);
    QFETCH(QString, text);
    QFETCH(int, blanks);
    FixedWidthMeasurer measurer;
    measurer.setWidth(u' ', 10);
    QString argument = text;
    const std::optional<QString> padded = RightAlignForList(measurer, listWidth, argument);
    QVERIFY(padded);
    QCOMPARE(*padded, QString(blanks, u' ') + text);
    QCOMPARE(argument, *padded);
}

void TestModule1::rightAlign_checkBoxesLeaveRoomForTheMark_data() {
    // Blanks 10 twips wide; a list of 2000 twips leaves 1700 twips of room beside "AA".
    QTest::addColumn<int>("checkMark"); // pixels
    QTest::addColumn<int>("blanks");
    QTest::newRow("13 pixels take 225 twips") << 13 << 148;
    QTest::newRow("no mark still takes the padding") << 0 << 167;
}

void TestModule1::rightAlign_checkBoxesLeaveRoomForTheMark() {
    QFETCH(int, checkMark);
    QFETCH(int, blanks);
    FixedWidthMeasurer measurer(100.0, checkMark);
    measurer.setWidth(u' ', 10);
    const int list = 2000;
    QString text = QStringLiteral("AA");
    QCOMPARE(RightAlignForList(measurer, list, text, ListStyle::Standard).value_or(QString()),
             QString(170, u' ') + "AA");
    text = QStringLiteral("AA");
    QCOMPARE(RightAlignForList(measurer, list, text, ListStyle::CheckBox).value_or(QString()),
             QString(blanks, u' ') + "AA");
}

void TestModule1::rightAlign_failureLeavesTextUnchanged() {
    FixedWidthMeasurer measurer;
    measurer.setWidth(u' ', 10);
    QString argument = QStringLiteral("AA");
    QVERIFY(!RightAlignForList(measurer, 294, argument)); // overhang of 6 twips, over half a blank
    QCOMPARE(argument, QStringLiteral("AA"));

    FixedWidthMeasurer noBlankWidth;
    noBlankWidth.setWidth(u' ', 0);
    QVERIFY(!RightAlignForList(noBlankWidth, 10000, argument));
    QCOMPARE(argument, QStringLiteral("AA"));
}

QTEST_GUILESS_MAIN(TestModule1)
#include "tst_module1.moc"
