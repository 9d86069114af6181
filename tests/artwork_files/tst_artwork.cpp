// The committed artwork: formats, sizes, colour depths and the credits file's encoding; and
// the GIF and icon writers that produce the 16-colour pictures.

#include "calc/windows1252.h"
#include "tools/artwork/gif_writer.h"
#include "tools/artwork/ico_writer.h"
#include "tools/artwork/indexed_image.h"

#include <QBuffer>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImageReader>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <functional>

namespace {

const QRgb MaskColour = qRgb(192, 192, 192);

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int word(const QByteArray& bytes, int offset) {
    return static_cast<unsigned char>(bytes[offset]) | static_cast<unsigned char>(bytes[offset + 1])
                                                           << 8;
}

QImage decode(const QByteArray& bytes, const char* format) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, format);
    return reader.read();
}

// 16 well-separated colours; entry 0 is the mask colour.
QList<QRgb> testPalette() {
    QList<QRgb> palette{MaskColour};
    for (int i = 1; i < 16; ++i)
        palette.append(qRgb((i * 53) % 256, (i * 97) % 256, (i * 151) % 256));
    return palette;
}

IndexedImage patternImage(QSize size, const std::function<int(int, int)>& indexAt) {
    IndexedImage image;
    image.width = size.width();
    image.height = size.height();
    image.palette = testPalette();
    image.transparentIndex = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.indices.append(static_cast<char>(indexAt(x, y)));
    return image;
}

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
    return count;
}

} // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pictures_have_their_format_and_size_data();
    void pictures_have_their_format_and_size();
    void icons_have_16_colours_and_a_mask_data();
    void icons_have_16_colours_and_a_mask();
    void info_picture_is_a_gif_with_light_grey_transparency();
    void credits_are_windows_1252_with_crlf_lines();
    void credits_contain_lines_that_must_wrap();
    void writers_round_trip_through_qt_readers_data();
    void writers_round_trip_through_qt_readers();
    void reduction_keeps_up_to_15_colours_exactly();
};

void TestArtwork::initTestCase() {
    QFontDatabase::addApplicationFont(
        QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"));
}

void TestArtwork::pictures_have_their_format_and_size_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    const QString images = QStringLiteral(":/images/");
    const QString files = QStringLiteral(ZIFFERON_FILES_DIR "/");
    QTest::newRow("background") << images + "background.jpg" << QByteArray("jpeg")
                                << QSize(593, 472);
    QTest::newRow("face A") << images + "face_a.jpg" << QByteArray("jpeg") << QSize(33, 60);
    QTest::newRow("face B") << images + "face_b.jpg" << QByteArray("jpeg") << QSize(33, 60);
    QTest::newRow("face C") << images + "face_c.jpg" << QByteArray("jpeg") << QSize(76, 60);
    QTest::newRow("calculate") << images + "command1.jpg" << QByteArray("jpeg") << QSize(104, 27);
    QTest::newRow("title") << images + "title.jpg" << QByteArray("jpeg") << QSize(675, 610);
    QTest::newRow("window icon") << images + "zifferon.ico" << QByteArray("ico") << QSize(32, 32);
    for (int number = 1; number <= 9; ++number) {
        const bool gif = number == 3;
        const QString name =
            QStringLiteral("imagelist2_%1.%2").arg(number).arg(gif ? "gif" : "ico");
        QTest::newRow(qPrintable(name))
            << images + name << QByteArray(gif ? "gif" : "ico") << QSize(32, 32);
    }
    QTest::newRow("logo") << files + "1_logo_1.jpg" << QByteArray("jpeg") << QSize(660, 600);
}

void TestArtwork::pictures_have_their_format_and_size() {
    QFETCH(QString, path);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QCOMPARE(reader.format(), format);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), size);
}

void TestArtwork::icons_have_16_colours_and_a_mask_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("window icon") << QStringLiteral(":/images/zifferon.ico");
    for (int number : {1, 2, 4, 5, 6, 7, 8, 9})
        QTest::newRow(qPrintable(QStringLiteral("toolbar %1").arg(number)))
            << QStringLiteral(":/images/imagelist2_%1.ico").arg(number);
}

void TestArtwork::icons_have_16_colours_and_a_mask() {
    QFETCH(QString, path);
    const QByteArray bytes = readAll(path);
    constexpr int Entry = 6;
    constexpr int Bitmap = Entry + 16;
    QCOMPARE(word(bytes, 2), 1);                                     // an icon
    QCOMPARE(word(bytes, 4), 1);                                     // one picture
    QCOMPARE(static_cast<unsigned char>(bytes[Entry + 2]), 16);      // colours
    QCOMPARE(word(bytes, Entry + 6), 4);                             // bits per pixel
    QCOMPARE(word(bytes, Bitmap + 14), 4);                           // bitmap's bits per pixel
    QCOMPARE(bytes.size(), Bitmap + 40 + 16 * 4 + 32 * 16 + 32 * 4); // 4-bit pixels and mask

    const QImage image = decode(bytes, "ico");
    const int opaque = opaquePixels(image);
    QVERIFY2(opaque > 32 * 32 / 5, "the picture covers a fair part of the icon");
    QVERIFY2(opaque < 32 * 32, "the mask leaves the background transparent");
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

void TestArtwork::info_picture_is_a_gif_with_light_grey_transparency() {
    const QByteArray bytes = readAll(QStringLiteral(":/images/imagelist2_3.gif"));
    QVERIFY(bytes.startsWith("GIF89a"));
    const int extension = static_cast<int>(bytes.indexOf("\x21\xF9\x04"));
    QVERIFY2(extension > 0, "graphic control extension present");
    QVERIFY2(bytes[extension + 3] & 1, "transparency flag set");
    const int transparentIndex = static_cast<unsigned char>(bytes[extension + 6]);
    const int colour = 13 + 3 * transparentIndex;
    QCOMPARE(qRgb(static_cast<unsigned char>(bytes[colour]),
                  static_cast<unsigned char>(bytes[colour + 1]),
                  static_cast<unsigned char>(bytes[colour + 2])),
             MaskColour);

    const QImage image = decode(bytes, "gif");
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(16, 20)), 255); // inside the triangle
}

void TestArtwork::credits_are_windows_1252_with_crlf_lines() {
    const QByteArray bytes = readAll(QStringLiteral(ZIFFERON_FILES_DIR "/Tiska.dpi"));
    QVERIFY(!bytes.isEmpty());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        QVERIFY2(byte >= 0x20 || byte == '\r' || byte == '\n',
                 qPrintable(QStringLiteral("control byte at %1").arg(i)));
        QVERIFY2(byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D,
                 qPrintable(QStringLiteral("byte undefined in Windows-1252 at %1").arg(i)));
        if (byte == '\r')
            QVERIFY2(i + 1 < bytes.size() && bytes[i + 1] == '\n', "CR without LF");
        if (byte == '\n')
            QVERIFY2(i > 0 && bytes[i - 1] == '\r', "LF without CR");
    }
    QVERIFY(!bytes.contains('?')); // every character was representable
    const QString text = DecodeWindows1252(bytes);
    for (const char* expected :
         {"ä", "ö", "ü", "Ü", "ß", "€", "Morvantis", "Zifferon",
          "Graphik und Design:", "Programmierung:", "Qualitätssicherung und Softwaretest:",
          "Handbuch und Onlinehilfe:", "Korrekturlesen des Handbuches und Hilfe:"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QVERIFY(lines.size() >= 30);
    QVERIFY(lines.count(QString()) >= 5);
}

void TestArtwork::credits_contain_lines_that_must_wrap() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(16); // 12 pt
    const QFontMetrics metrics(font);
    const QStringList lines =
        DecodeWindows1252(readAll(QStringLiteral(ZIFFERON_FILES_DIR "/Tiska.dpi")))
            .split(QStringLiteral("\r\n"));
    const auto wide = std::count_if(lines.begin(), lines.end(), [&](const QString& line) {
        return metrics.horizontalAdvance(line) > 540;
    });
    QVERIFY2(wide >= 3, qPrintable(QStringLiteral("%1 wide lines").arg(wide)));
}

void TestArtwork::writers_round_trip_through_qt_readers_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("seed"); // 0: stripes, else random indices
    QTest::newRow("icon-sized stripes") << QSize(32, 32) << 0;
    QTest::newRow("icon-sized noise") << QSize(32, 32) << 7;
    QTest::newRow("noise past the full LZW dictionary") << QSize(160, 120) << 11;
    QTest::newRow("odd width") << QSize(13, 5) << 3;
}

void TestArtwork::writers_round_trip_through_qt_readers() {
    QFETCH(QSize, size);
    QFETCH(int, seed);
    QRandomGenerator random(static_cast<quint32>(seed));
    const IndexedImage image = patternImage(
        size, [&](int x, int y) { return seed == 0 ? (x / 3 + y) % 16 : random.bounded(16); });
    const QImage gif = decode(EncodeGif(image), "gif");
    QCOMPARE(gif.size(), size);
    const bool icon = size == QSize(32, 32);
    const QImage ico = icon ? decode(EncodeIco(image), "ico") : QImage();
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int index = image.indexAt(x, y);
            const QRgb expected = index == 0 ? 0u : image.palette[index];
            const auto seen = [](QRgb pixel) { return qAlpha(pixel) == 0 ? 0u : pixel; };
            QCOMPARE(seen(gif.pixel(x, y)), expected);
            if (icon)
                QCOMPARE(seen(ico.pixel(x, y)), expected);
        }
}

void TestArtwork::reduction_keeps_up_to_15_colours_exactly() {
    const QList<QRgb> palette = testPalette();
    QImage picture(30, 10, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, y == 0 ? qRgba(255, 0, 0, 100) : palette[1 + x / 2]);
    const IndexedImage reduced = ToSixteenColours(picture, MaskColour);
    QCOMPARE(reduced.palette.size(), 16);
    QCOMPARE(reduced.palette[reduced.transparentIndex], MaskColour);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int index = reduced.indexAt(x, y);
            if (y == 0)
                QCOMPARE(index, reduced.transparentIndex);
            else
                QCOMPARE(reduced.palette[index], picture.pixel(x, y));
        }
}

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
