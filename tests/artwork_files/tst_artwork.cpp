// The committed artwork: formats, sizes, colour depths and the credits file's encoding; and
// the GIF and icon writers that produce the 16-colour pictures.

#include "files/windows1252.h"
#include "resources/picture_file.h"
#include "tools/artwork/gif_writer.h"
#include "tools/artwork/ico_writer.h"
#include "tools/artwork/indexed_image.h"

#include <QBuffer>
#include <QCryptographicHash>
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

struct ArtworkFile {
    QString path;
    QByteArray format;
    QSize size;
};

QList<ArtworkFile> artworkFiles() {
    const QString images = QStringLiteral(":/images/");
    QList<ArtworkFile> files{
        {images + "background.jpg", "jpeg", {593, 472}}, {images + "face_a.jpg", "jpeg", {33, 60}},
        {images + "face_b.jpg", "jpeg", {33, 60}},       {images + "face_c.jpg", "jpeg", {76, 60}},
        {images + "command1.jpg", "jpeg", {104, 27}},    {images + "title.jpg", "jpeg", {675, 610}},
        {images + "zifferon.ico", "ico", {32, 32}},
    };
    for (int number = 1; number <= 9; ++number) {
        const bool gif = number == 3;
        files.append(
            {images + QStringLiteral("imagelist2_%1.%2").arg(number).arg(gif ? "gif" : "ico"),
             gif ? "gif" : "ico",
             {32, 32}});
    }
    files.append({QStringLiteral(ZIFFERON_FILES_DIR "/1_logo_1.jpg"), "jpeg", {660, 600}});
    return files;
}

QImage readImage(const QString& path) {
    QImage image = QImageReader(path).read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1);
    return image;
}

// Mean difference of the colour channels, 0 to 255.
double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) +
                   qAbs(qBlue(p) - qBlue(q)) + qAbs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * a.width() * a.height());
}

QImage scaled(const QImage& image, QSize size) {
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// How much an image shows beyond what half its size holds: a picture only scaled up from half
// its size shows almost nothing.
double detailBeyondHalf(const QImage& image) {
    return meanDifference(image, scaled(scaled(image, image.size() / 2), image.size()));
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
    void pictures_at_their_own_size_are_unchanged_data();
    void pictures_at_their_own_size_are_unchanged();
    void double_pictures_show_the_same_design_in_more_detail_data();
    void double_pictures_show_the_same_design_in_more_detail();
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

// Every picture and, drawn at twice the size beside it, its "@2x" version.
void TestArtwork::pictures_have_their_format_and_size_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    for (const ArtworkFile& file : artworkFiles()) {
        QTest::newRow(qPrintable(file.path)) << file.path << file.format << file.size;
        QTest::newRow(qPrintable(file.path + " @2x"))
            << DoubleSizePath(file.path) << file.format << file.size * 2;
    }
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

// The pictures the windows show on ordinary screens are, byte for byte, the ones they always
// showed: adding the "@2x" versions changed none of them.
void TestArtwork::pictures_at_their_own_size_are_unchanged_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("sha256");
    const QList<std::pair<const char*, const char*>> hashes{
        {"background.jpg", "2c5ca77b5cf02f1382d1bdab385d63764f326b8e541fbd09925a9ffc437108ef"},
        {"face_a.jpg", "891459a7885aa04b2fe24e7b8541d6554e9efda6369775c918eefbac13d56b8a"},
        {"face_b.jpg", "73b8663eb0115eeac70a458a792e83cc0de7a7c67ca950da1db92b697392c2dc"},
        {"face_c.jpg", "55631c28b9a6f61d56d921222083c4f075b8c9eda2b54fe6a04379c8186e924c"},
        {"command1.jpg", "6624295297a79c55a877296394abb32032999c23635ee0ba657b415247232536"},
        {"title.jpg", "702651c7f6cb5f7f6a1d24c24adc630dd265f49006bbcdee05cfc7604ee9d1d0"},
        {"zifferon.ico", "ed7e765a7b6465e5aa6ac7842d111ef54703f82461122ae1e3867526ab0d1135"},
        {"imagelist2_1.ico", "709d744c4d5182a67032c874eb613355dbcf8a24ba9597c3a07d60962113e759"},
        {"imagelist2_2.ico", "da2a6ee5b92418f5310c1740400dcc73b9939b87b15fd2c50b2eab6b13dc7ab3"},
        {"imagelist2_3.gif", "ed81d05026846a5806c94a20efba986526f1c40ab0a2401a53c4c57767339538"},
        {"imagelist2_4.ico", "e9ced1931dde34b17a4df97963e2f8536801a55b43fa3947c63e6cbaf09ebe7f"},
        {"imagelist2_5.ico", "3faf3275319010398f4645a7441b329981715217a95492a4026c068293c59560"},
        {"imagelist2_6.ico", "86c61aad84367503b57306408d8a427b6aa3228e5c1ca266aba950903abf9bfe"},
        {"imagelist2_7.ico", "7cfaa49c3946c10ceeef59117e60fa3827e6ec095940d6570b01bcbf32eac692"},
        {"imagelist2_8.ico", "eb08532d51c9640c06f8e46204d935c0df9a58c651b6e68fcaabec12aee01a11"},
        {"imagelist2_9.ico", "d52db1cbe1fe5b5cf580f753b19b86e6b3749ff6ddf83c9818786029095725d7"},
    };
    for (const auto& [name, hash] : hashes)
        QTest::newRow(name) << QStringLiteral(":/images/") + QLatin1String(name)
                            << QByteArray(hash);
    QTest::newRow("1_logo_1.jpg")
        << QStringLiteral(ZIFFERON_FILES_DIR "/1_logo_1.jpg")
        << QByteArray("7afeb2012d244632c5b576664610ef3dd405704613d6b3b8e615a48ce9a06eaa");
}

void TestArtwork::pictures_at_their_own_size_are_unchanged() {
    QFETCH(QString, path);
    QFETCH(QByteArray, sha256);
    QCOMPARE(QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha256).toHex(), sha256);
}

void TestArtwork::double_pictures_show_the_same_design_in_more_detail_data() {
    QTest::addColumn<QString>("path");
    for (const ArtworkFile& file : artworkFiles())
        QTest::newRow(qPrintable(file.path)) << file.path;
}

// Shrunk to the picture's size the "@2x" version is the picture; it is drawn anew at twice the
// size, not scaled up from it, so it holds more detail than the picture scaled up (which holds
// exactly as much as scaling it up again would add).
void TestArtwork::double_pictures_show_the_same_design_in_more_detail() {
    QFETCH(QString, path);
    const QImage single = readImage(path);
    const QImage twice = readImage(DoubleSizePath(path));
    QCOMPARE(twice.size(), single.size() * 2);
    const double shrunk = meanDifference(scaled(twice, single.size()), single);
    const double detail = detailBeyondHalf(twice);
    const double scaledUp = detailBeyondHalf(scaled(single, twice.size()));
    QVERIFY2(shrunk < 8, qPrintable(QString::number(shrunk))); // 16 colours round off more
    QVERIFY2(detail > 1.05 * scaledUp,
             qPrintable(QStringLiteral("%1 against %2").arg(detail).arg(scaledUp)));
}

void TestArtwork::icons_have_16_colours_and_a_mask_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    QStringList icons{QStringLiteral(":/images/zifferon.ico")};
    for (int number : {1, 2, 4, 5, 6, 7, 8, 9})
        icons << QStringLiteral(":/images/imagelist2_%1.ico").arg(number);
    for (const QString& icon : icons) {
        QTest::newRow(qPrintable(icon)) << icon << 32;
        QTest::newRow(qPrintable(icon + " @2x")) << DoubleSizePath(icon) << 64;
    }
}

void TestArtwork::icons_have_16_colours_and_a_mask() {
    QFETCH(QString, path);
    QFETCH(int, size);
    const QByteArray bytes = readAll(path);
    constexpr int Entry = 6;
    constexpr int Bitmap = Entry + 16;
    const int maskRow = (size + 31) / 32 * 4;
    QCOMPARE(word(bytes, 2), 1);                                // an icon
    QCOMPARE(word(bytes, 4), 1);                                // one picture
    QCOMPARE(static_cast<unsigned char>(bytes[Entry]), size);   // width
    QCOMPARE(static_cast<unsigned char>(bytes[Entry + 2]), 16); // colours
    QCOMPARE(word(bytes, Entry + 6), 4);                        // bits per pixel
    QCOMPARE(word(bytes, Bitmap + 14), 4);                      // bitmap's bits per pixel
    QCOMPARE(bytes.size(), Bitmap + 40 + 16 * 4 + size * size / 2 + maskRow * size);

    const QImage image = decode(bytes, "ico");
    const int opaque = opaquePixels(image);
    QVERIFY2(opaque > size * size / 5, "the picture covers a fair part of the icon");
    QVERIFY2(opaque < size * size, "the mask leaves the background transparent");
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
