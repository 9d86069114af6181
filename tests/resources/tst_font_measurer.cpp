#include "resources/fonts.h"
#include "tests/support/gui_fixture.h"

#include <QRandomGenerator>

namespace {

// Tape-like texts: numbers, totals, formulas and blanks, drawn from the characters a tape shows.
QStringList randomTapeTexts(quint32 seed, int count) {
    static const QString characters = QStringLiteral("0123456789,.-+*/() E");
    QRandomGenerator random(seed);
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        QString text;
        const int length = random.bounded(1, 24);
        for (int j = 0; j < length; ++j)
            text += characters.at(random.bounded(static_cast<int>(characters.size())));
        texts.append(text);
    }
    return texts;
}

} // namespace

class TestFontMeasurer : public QObject {
    Q_OBJECT

private slots:
    void textWidth_isWhatTheFontMeasures_data();
    void textWidth_isWhatTheFontMeasures();
};

void TestFontMeasurer::textWidth_isWhatTheFontMeasures_data() {
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QStringList>("texts");
    const QStringList kerned{"11",        "1,11",  "-7,77",   "111111111,11",
                             "(1+2)*3",   "1E+20", "7.5/1.1", "  12,50",
                             "  -0,10  ", "",      " ",       "-1234567890123456,78"};
    const QStringList otherCharacters{"Wahr", "Falsch", "1,5 €", "Straße 11", "3^2", "7\t1"};
    const QFont window = fonts::WindowDefault();
    QTest::newRow("window font: kerning pairs") << window << kerned;
    QTest::newRow("window font: texts with other characters") << window << otherCharacters;
    QTest::newRow("window font: random tape texts") << window << randomTapeTexts(7, 3000);
    QTest::newRow("bold 12 pt: random tape texts")
        << fonts::SansSerif(12, true) << randomTapeTexts(11, 1000);
    QFont unkerned = fonts::SansSerif(12);
    unkerned.setKerning(false);
    QTest::newRow("12 pt without kerning: random tape texts")
        << unkerned << randomTapeTexts(13, 1000);
}

void TestFontMeasurer::textWidth_isWhatTheFontMeasures() {
    QFETCH(QFont, font);
    QFETCH(QStringList, texts);
    const FontMeasurer measurer(font);
    const QFontMetricsF metrics(font);
    for (const QString& text : texts) {
        QCOMPARE(measurer.textWidth(text), metrics.horizontalAdvance(text) * 15);
        QCOMPARE(measurer.textWidth(text), metrics.horizontalAdvance(text) * 15); // cached
    }
}

ZIFFERON_GUI_TEST_MAIN(TestFontMeasurer)
#include "tst_font_measurer.moc"
