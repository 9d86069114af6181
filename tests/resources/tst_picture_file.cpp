#include "resources/picture_file.h"
#include "tests/support/hostile_pictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

enum class Kind { Bytes, Missing, Folder, Pipe, LinkToZero, Oversized };

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestPictureFile : public QObject {
    Q_OBJECT

private slots:
    void load_data();
    void load();
};

void TestPictureFile::load_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");     // of the picture loaded
    QTest::addColumn<bool>("missing");   // of the failure
    QTest::addColumn<QString>("reason"); // of the failure
    const QString notRegular = "An dieser Stelle liegt keine gewöhnliche Datei.";
    const QString noPicture = "Die Datei ist kein lesbares Bild.";
    QTest::newRow("jpeg") << Kind::Bytes << JpegOf({40, 30}, Qt::red) << QSize(40, 30) << false
                          << "";
    QTest::newRow("largest picture allowed")
        << Kind::Bytes << JpegOf({4096, 4096}, Qt::red) << QSize(4096, 4096) << false << "";
    QTest::newRow("missing") << Kind::Missing << QByteArray() << QSize() << true
                             << "Die Datei fehlt.";
    QTest::newRow("empty file") << Kind::Bytes << QByteArray() << QSize() << false << noPicture;
    QTest::newRow("text, not a picture")
        << Kind::Bytes << QByteArray("kein JPEG") << QSize() << false << noPicture;
    QTest::newRow("20000 x 20000 declared in the header")
        << Kind::Bytes << JpegDeclaring({20000, 20000}) << QSize() << false
        << "Das Bild ist mit 20.000 × 20.000 Bildpunkten zu groß; erlaubt sind höchstens "
           "16.777.216 Bildpunkte.";
    QTest::newRow("one pixel row too many")
        << Kind::Bytes << JpegDeclaring({4096, 4097}) << QSize() << false
        << "Das Bild ist mit 4.096 × 4.097 Bildpunkten zu groß; erlaubt sind höchstens "
           "16.777.216 Bildpunkte.";
    QTest::newRow("file of 32 MiB and more") << Kind::Oversized << QByteArray() << QSize() << false
                                             << "Die Datei ist größer als 32 MiB.";
    QTest::newRow("folder") << Kind::Folder << QByteArray() << QSize() << false
                            << "An dieser Stelle liegt ein Ordner.";
    QTest::newRow("pipe") << Kind::Pipe << QByteArray() << QSize() << false << notRegular;
    QTest::newRow("link to /dev/zero")
        << Kind::LinkToZero << QByteArray() << QSize() << false << notRegular;
}

void TestPictureFile::load() {
    QFETCH(Kind, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    QFETCH(bool, missing);
    QFETCH(QString, reason);
    const QTemporaryDir folder;
    const QString path = folder.filePath("Layout.jpg");
    QFile file(path);
    switch (kind) {
    case Kind::Bytes:
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        break;
    case Kind::Oversized:
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(MaxPictureFileBytes + 1));
        file.close();
        break;
    case Kind::Missing:
        break;
    case Kind::Folder:
        QVERIFY(QDir().mkdir(path));
        break;
    case Kind::Pipe:
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
    case Kind::LinkToZero:
        QVERIFY(QFile::link("/dev/zero", path));
        break;
    }

    const std::variant<QImage, PictureFailure> loaded = LoadPictureFile(path);

    if (size.isValid()) {
        QVERIFY(std::holds_alternative<QImage>(loaded));
        QCOMPARE(std::get<QImage>(loaded).size(), size);
        return;
    }
    QVERIFY(std::holds_alternative<PictureFailure>(loaded));
    QCOMPARE(std::get<PictureFailure>(loaded).missing, missing);
    QCOMPARE(std::get<PictureFailure>(loaded).reason, reason);
}

QTEST_GUILESS_MAIN(TestPictureFile)
#include "tst_picture_file.moc"
