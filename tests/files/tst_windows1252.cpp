#include "files/windows1252.h"

#include <QTest>

#include <iconv.h>

#include <optional>

namespace {

// What glibc's converter makes of one byte; nothing for a byte it leaves undefined.
std::optional<char16_t> iconvDecode(unsigned char byte) {
    iconv_t converter = iconv_open("UTF-16LE", "WINDOWS-1252");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    char input = static_cast<char>(byte);
    char output[4] = {};
    char* in = &input;
    char* out = output;
    size_t inLeft = 1;
    size_t outLeft = sizeof output;
    const size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (converted == static_cast<size_t>(-1) || outLeft != 2)
        return std::nullopt;
    return static_cast<char16_t>(static_cast<unsigned char>(output[0]) |
                                 static_cast<unsigned char>(output[1]) << 8);
}

} // namespace

class TestWindows1252 : public QObject {
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void decode_agreesWithIconvOnEveryDefinedByte();
    void everyByteSurvivesDecodeAndEncode();
};

void TestWindows1252::decode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("ascii") << QByteArray("Zifferon 1.0") << "Zifferon 1.0";
    QTest::newRow("umlauts") << QByteArray("\xC4\xD6\xDC\xE4\xF6\xFC\xDF") << "ÄÖÜäöüß";
    QTest::newRow("euro sign") << QByteArray("\x80") << "€";
    QTest::newRow("german quotes") << QByteArray("\x84Text\x93") << "„Text“";
    QTest::newRow("dashes and ellipsis") << QByteArray("\x96\x97\x85") << "–—…";
    QTest::newRow("last special byte") << QByteArray("\x9F") << "Ÿ";
    QTest::newRow("undefined byte keeps its number") << QByteArray("\x81") << QString(QChar(0x81));
    QTest::newRow("nul inside") << QByteArray("a\0b", 3) << QString::fromUtf16(u"a\0b", 3);
    QTest::newRow("cr lf kept") << QByteArray("a\r\nb") << "a\r\nb";
    QTest::newRow("y diaeresis") << QByteArray("\xFF") << "ÿ";
}

void TestWindows1252::decode() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(DecodeWindows1252(bytes), expected);
}

void TestWindows1252::encode_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("umlauts") << "Größe"
                             << QByteArray("Gr\xF6\xDF"
                                           "e");
    QTest::newRow("euro sign") << "5 €" << QByteArray("5 \x80");
    QTest::newRow("trademark") << "™" << QByteArray("\x99");
    QTest::newRow("latin-1 control without a byte") << QString(QChar(0x80)) << QByteArray("?");
    QTest::newRow("undefined byte back to itself") << QString(QChar(0x9D)) << QByteArray("\x9D");
    QTest::newRow("cyrillic") << "Жx" << QByteArray("?x");
    QTest::newRow("emoji is one question mark") << "a😀b" << QByteArray("a?b");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "a" << QByteArray("?a");
}

void TestWindows1252::encode() {
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(EncodeWindows1252(text), expected);
}

void TestWindows1252::decode_agreesWithIconvOnEveryDefinedByte() {
    int compared = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const std::optional<char16_t> reference = iconvDecode(static_cast<unsigned char>(byte));
        if (!reference)
            continue;
        ++compared;
        const QString decoded = DecodeWindows1252(QByteArray(1, static_cast<char>(byte)));
        QVERIFY2(decoded == QString(QChar(*reference)), qPrintable(QString::number(byte, 16)));
    }
    QVERIFY(compared >= 251);
}

void TestWindows1252::everyByteSurvivesDecodeAndEncode() {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(static_cast<char>(byte));
    QCOMPARE(EncodeWindows1252(DecodeWindows1252(all)), all);
}

QTEST_GUILESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
