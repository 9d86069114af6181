#include "resources/picture_file.h"
#include "tests/support/file_places.h"
#include "tests/support/hostile_pictures.h"

#include <QTemporaryDir>
#include <QTest>

class TestPictureFile : public QObject {
    Q_OBJECT

private slots:
    void load_data();
    void load();
};

void TestPictureFile::load_data() {
    QTest::addColumn<Place>("place");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("sparseSize"); // a file of this size without data, when not 0
    QTest::addColumn<QSize>("size");        // of the picture loaded
    QTest::addColumn<bool>("missing");      // of the failure
    QTest::addColumn<QString>("reason");    // of the failure
    const QString notRegular = "An dieser Stelle liegt keine gewöhnliche Datei.";
    const QString noPicture = "Die Datei ist kein lesbares Bild.";
    const QByteArray none;
    QTest::newRow("jpeg") << Place::File << JpegOf({40, 30}, Qt::red) << 0ll << QSize(40, 30)
                          << false << "";
    QTest::newRow("largest picture allowed")
        << Place::File << JpegOf({4096, 4096}, Qt::red) << 0ll << QSize(4096, 4096) << false << "";
    QTest::newRow("missing") << Place::Missing << none << 0ll << QSize() << true
                             << "Die Datei fehlt.";
    QTest::newRow("png") << Place::File << PictureIn("PNG") << 0ll << QSize(8, 4) << false << "";
    const QString notRaster = "Die Datei ist kein Bild im Format JPEG, GIF, PNG oder ICO.";
    QTest::newRow("svg under the name of a jpeg")
        << Place::File << QByteArray(R"(<svg xmlns="http://www.w3.org/2000/svg" width="8"/>)")
        << 0ll << QSize() << false << notRaster;
    QTest::newRow("bmp") << Place::File << PictureIn("BMP") << 0ll << QSize() << false << notRaster;
    QTest::newRow("png cut short")
        << Place::File << PictureIn("PNG").first(40) << 0ll << QSize() << false << noPicture;
    QTest::newRow("empty file") << Place::File << none << 0ll << QSize() << false << notRaster;
    QTest::newRow("text, not a picture")
        << Place::File << QByteArray("kein JPEG") << 0ll << QSize() << false << notRaster;
    QTest::newRow("20000 x 20000 declared in the header")
        << Place::File << JpegDeclaring({20000, 20000}) << 0ll << QSize() << false
        << "Das Bild ist mit 20.000 × 20.000 Bildpunkten zu groß; erlaubt sind höchstens "
           "16.777.216 Bildpunkte.";
    QTest::newRow("one pixel row too many")
        << Place::File << JpegDeclaring({4096, 4097}) << 0ll << QSize() << false
        << "Das Bild ist mit 4.096 × 4.097 Bildpunkten zu groß; erlaubt sind höchstens "
           "16.777.216 Bildpunkte.";
    QTest::newRow("file of more than 32 MiB")
        << Place::File << none << MaxPictureFileBytes + 1 << QSize() << false
        << "Die Datei ist größer als 32 MiB.";
    QTest::newRow("folder") << Place::Folder << none << 0ll << QSize() << false
                            << "An dieser Stelle liegt ein Ordner.";
    QTest::newRow("pipe") << Place::Pipe << none << 0ll << QSize() << false << notRegular;
    QTest::newRow("link to /dev/zero")
        << Place::LinkToZero << none << 0ll << QSize() << false << notRegular;
}

void TestPictureFile::load() {
    QFETCH(Place, place);
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, sparseSize);
    QFETCH(QSize, size);
    QFETCH(bool, missing);
    QFETCH(QString, reason);
    const QTemporaryDir folder;
    const QString path = folder.filePath("Layout.jpg");
    QVERIFY(sparseSize > 0 ? makeSparseFile(path, sparseSize) : makePlace(place, path, bytes));

    const std::variant<QImage, Failure> loaded = LoadPictureFile(path);

    if (size.isValid()) {
        QVERIFY(std::holds_alternative<QImage>(loaded));
        QCOMPARE(std::get<QImage>(loaded).size(), size);
        return;
    }
    QVERIFY(std::holds_alternative<Failure>(loaded));
    QCOMPARE(std::get<Failure>(loaded).kind == Failure::Kind::Missing, missing);
    QCOMPARE(std::get<Failure>(loaded).reason, reason);
}

QTEST_GUILESS_MAIN(TestPictureFile)
#include "tst_picture_file.moc"
