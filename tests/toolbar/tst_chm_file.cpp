#include "toolbar/chm_file.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

enum class HelpFile {
    Manual,
    Missing,
    Empty,
    Truncated,
    CutAfterHeaders,
    Garbage,
    DividesByZero,
    Folder,
    Pipe
};

QByteArray manual() {
    QFile file(QStringLiteral(ZIFFERON_HELP_FILE));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A help file, found by fuzzing, on which chmlib divides by zero while opening it.
QByteArray dividingByZero() {
    QFile file(qEnvironmentVariable("ZIFFERON_TEST_DATA") + "/help/divides_by_zero.chm");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray garbage() {
    QRandomGenerator random(15);
    QByteArray bytes(50000, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(HelpFile)

class TestChmFile : public QObject {
    Q_OBJECT

private slots:
    void hostileHelpFile_data();
    void hostileHelpFile();
};

void TestChmFile::hostileHelpFile_data() {
    QTest::addColumn<HelpFile>("kind");
    QTest::addColumn<QString>("cause"); // empty: opens on its start page
    const QString invalid = "Sie ist keine gültige kompilierte Hilfedatei.";
    QTest::newRow("the manual") << HelpFile::Manual << "";
    QTest::newRow("missing") << HelpFile::Missing << "Die Datei fehlt.";
    QTest::newRow("empty") << HelpFile::Empty << invalid;
    QTest::newRow("cut within the headers") << HelpFile::Truncated << invalid;
    QTest::newRow("cut after the headers")
        << HelpFile::CutAfterHeaders << "Sie enthält keine Startseite.";
    QTest::newRow("garbage") << HelpFile::Garbage << invalid;
    QTest::newRow("makes chmlib divide by zero")
        << HelpFile::DividesByZero << "Sie ist beschädigt.";
    QTest::newRow("a folder") << HelpFile::Folder << "An dieser Stelle liegt ein Ordner.";
    QTest::newRow("a pipe, never opened")
        << HelpFile::Pipe << "An dieser Stelle liegt keine gewöhnliche Datei.";
}

void TestChmFile::hostileHelpFile() {
    QFETCH(HelpFile, kind);
    QFETCH(QString, cause);
    const QTemporaryDir folder;
    const QString path = folder.filePath("Hilfe.chm");
    const QByteArray whole = manual();
    QVERIFY(whole.size() > 4096);
    QFile file(path);
    switch (kind) {
    case HelpFile::Missing:
        break;
    case HelpFile::Folder:
        QVERIFY(QDir().mkdir(path));
        break;
    case HelpFile::Pipe:
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
    default: {
        const QByteArray bytes = kind == HelpFile::Manual            ? whole
                                 : kind == HelpFile::Truncated       ? whole.first(100)
                                 : kind == HelpFile::CutAfterHeaders ? whole.first(1000)
                                 : kind == HelpFile::Garbage         ? garbage()
                                 : kind == HelpFile::DividesByZero   ? dividingByZero()
                                                                     : QByteArray();
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
    }
    }

    const std::variant<std::unique_ptr<ChmFile>, QString> loaded = ChmFile::load(path);

    if (cause.isEmpty()) {
        QVERIFY(std::holds_alternative<std::unique_ptr<ChmFile>>(loaded));
        QCOMPARE(std::get<std::unique_ptr<ChmFile>>(loaded)->defaultTopic(), "index.html");
        return;
    }
    QVERIFY(std::holds_alternative<QString>(loaded));
    QCOMPARE(std::get<QString>(loaded),
             "Die Hilfedatei „" + path + "“ kann nicht angezeigt werden. " + cause);
    QVERIFY(!ChmFile::open(path));
}

QTEST_GUILESS_MAIN(TestChmFile)
#include "tst_chm_file.moc"
