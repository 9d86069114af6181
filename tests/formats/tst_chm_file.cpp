#include "formats/chm_file.h"
#include "tests/support/file_places.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray manual() {
    return fileContent(QStringLiteral(ZIFFERON_HELP_FILE));
}

QByteArray garbage() {
    QRandomGenerator random(15);
    QByteArray bytes(50000, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return bytes;
}

} // namespace

class TestChmFile : public QObject {
    Q_OBJECT

private slots:
    void hostileHelpFile_data();
    void hostileHelpFile();
};

void TestChmFile::hostileHelpFile_data() {
    QTest::addColumn<Place>("place");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("cause"); // empty: opens on its start page
    const QString invalid = "Sie ist keine gültige kompilierte Hilfedatei.";
    const QByteArray whole = manual();
    QVERIFY(whole.size() > 4096);
    QTest::newRow("the manual") << Place::File << whole << "";
    QTest::newRow("missing") << Place::Missing << QByteArray() << "Die Datei fehlt.";
    QTest::newRow("empty") << Place::File << QByteArray() << invalid;
    QTest::newRow("cut within the headers") << Place::File << whole.first(100) << invalid;
    QTest::newRow("cut after the headers")
        << Place::File << whole.first(1000) << "Sie enthält keine Startseite.";
    QTest::newRow("garbage") << Place::File << garbage() << invalid;
    QTest::newRow("a folder") << Place::Folder << QByteArray()
                              << "An dieser Stelle liegt ein Ordner.";
    QTest::newRow("a pipe, never opened")
        << Place::Pipe << QByteArray() << "An dieser Stelle liegt keine gewöhnliche Datei.";
}

void TestChmFile::hostileHelpFile() {
    QFETCH(Place, place);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, cause);
    const QTemporaryDir folder;
    const QString path = folder.filePath("Hilfe.chm");
    QVERIFY(makePlace(place, path, bytes));

    const std::variant<std::unique_ptr<ChmFile>, Failure> loaded = ChmFile::load(path);

    if (cause.isEmpty()) {
        QVERIFY(std::holds_alternative<std::unique_ptr<ChmFile>>(loaded));
        QCOMPARE(std::get<std::unique_ptr<ChmFile>>(loaded)->defaultTopic(), "index.html");
        return;
    }
    QVERIFY(std::holds_alternative<Failure>(loaded));
    QCOMPARE(std::get<Failure>(loaded).reason,
             "Die Hilfedatei „" + path + "“ kann nicht angezeigt werden. " + cause);
}

QTEST_GUILESS_MAIN(TestChmFile)
#include "tst_chm_file.moc"
