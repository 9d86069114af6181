#include "calc/windows1252.h"
#include "tests/support/fixed_width_measurer.h"
#include "toolbar/tape_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

constexpr int TwoDecimals = 1;
const QByteArray HeaderLine = "Eingabe Zeile Spalte\r\n";

void fill(Tape& tape, const QStringList& lines) {
    tape.clear();
    tape.append(lines);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Lets writes of this process fail beyond the given size, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{bytes, m_previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
    void (*m_signal)(int) = nullptr;
};

enum class SaveObstacle { FolderIsFile, PathIsFolder, DiskFull };
enum class OpenObstacle { Missing, Folder, Pipe, TooLarge, TooManyLines };

} // namespace

Q_DECLARE_METATYPE(SaveObstacle)
Q_DECLARE_METATYPE(OpenObstacle)

class TestTapeFile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void pathLiesUnderHome();
    void savedBytes_data();
    void savedBytes();
    void saveCreatesMissingFoldersAndReplacesTheFile();
    void saveFailureKeepsTheOldFile_data();
    void saveFailureKeepsTheOldFile();
    void openedLines_data();
    void openedLines();
    void openPadsLinesThatFit_data();
    void openPadsLinesThatFit();
    void openAppendsBehindEarlierEntriesOnly();
    void roundTripThroughTheFile_data();
    void roundTripThroughTheFile();
    void openFailureChangesNothing_data();
    void openFailureChangesNothing();

private:
    QString path() const { return m_folder.filePath("Zahlen/Zahlen.txt"); }
    QString writeTapeFile(const QByteArray& bytes);
    std::optional<QString> open(const QString& file);

    FixedWidthMeasurer m_measurer{100.0};
    QTemporaryDir m_folder;
    std::unique_ptr<NumberTape> m_tapes;
};

void TestTapeFile::init() {
    QVERIFY(m_folder.isValid());
    QDir(m_folder.path()).removeRecursively();
    QVERIFY(QDir().mkpath(m_folder.path()));
    m_tapes = std::make_unique<NumberTape>();
}

QString TestTapeFile::writeTapeFile(const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path()).absolutePath());
    if (!writeAll(path(), bytes))
        qFatal("cannot prepare the tape file");
    return path();
}

std::optional<QString> TestTapeFile::open(const QString& file) {
    return OpenTapeFile(*m_tapes, LineFormat{m_measurer, TwoDecimals}, file);
}

void TestTapeFile::pathLiesUnderHome() {
    QCOMPARE(TapeFilePath(), QDir::homePath() + "/Programme/Morvantis/Zahlen/Zahlen.txt");
}

void TestTapeFile::savedBytes_data() {
    QTest::addColumn<QStringList>("formulas");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QStringList>("totals");
    QTest::addColumn<QByteArray>("lines");
    QTest::newRow("empty tapes: the header alone")
        << QStringList{} << QStringList{} << QStringList{} << QByteArray();
    QTest::newRow("entries as shown, alignment blanks kept")
        << QStringList{"   2+3", " 1.5*2"} << QStringList{"  5,00", "  3,00"}
        << QStringList{"  5,00", "  8,00"}
        << QByteArray("   2+3   5,00   5,00\r\n 1.5*2   3,00   8,00\r\n");
    QTest::newRow("formula tape longer, as after an open")
        << QStringList{"a", "b", "c"} << QStringList{"1,00"} << QStringList{"1,00"}
        << QByteArray("a 1,00 1,00\r\nb  \r\nc  \r\n");
    QTest::newRow("other tapes longer: the formula tape's count")
        << QStringList{"a"} << QStringList{"1,00", "2,00"} << QStringList{"1,00", "3,00"}
        << QByteArray("a 1,00 1,00\r\n");
    QTest::newRow("euro sign and umlaut in Windows-1252")
        << QStringList{"5€+ä"} << QStringList{} << QStringList{} << QByteArray("5\x80+\xe4  \r\n");
    QTest::newRow("characters outside the code page become ?")
        << QStringList{"√2+😀"} << QStringList{} << QStringList{} << QByteArray("?2+?  \r\n");
}

void TestTapeFile::savedBytes() {
    QFETCH(QStringList, formulas);
    QFETCH(QStringList, results);
    QFETCH(QStringList, totals);
    QFETCH(QByteArray, lines);
    fill(m_tapes->List1, formulas);
    fill(m_tapes->List2, results);
    fill(m_tapes->List3, totals);

    QCOMPARE(SaveTapeFile(*m_tapes, path()), std::nullopt);

    QCOMPARE(readAll(path()), HeaderLine + lines);
    QCOMPARE(m_tapes->List1.lines(), formulas);
}

void TestTapeFile::saveCreatesMissingFoldersAndReplacesTheFile() {
    const QString deep = m_folder.filePath("Programme/Morvantis/Zahlen/Zahlen.txt");
    fill(m_tapes->List1, {"1+1", "2+2", "3+3"});
    QCOMPARE(SaveTapeFile(*m_tapes, deep), std::nullopt);
    fill(m_tapes->List1, {"4+4"});

    QCOMPARE(SaveTapeFile(*m_tapes, deep), std::nullopt);

    QCOMPARE(readAll(deep), HeaderLine + "4+4  \r\n");
    QCOMPARE(QDir(QFileInfo(deep).absolutePath()).entryList(QDir::Files),
             QStringList{"Zahlen.txt"});
}

void TestTapeFile::saveFailureKeepsTheOldFile_data() {
    QTest::addColumn<SaveObstacle>("obstacle");
    QTest::newRow("folder is a regular file") << SaveObstacle::FolderIsFile;
    QTest::newRow("a folder stands at the path") << SaveObstacle::PathIsFolder;
    QTest::newRow("disk full while writing") << SaveObstacle::DiskFull;
}

void TestTapeFile::saveFailureKeepsTheOldFile() {
    QFETCH(SaveObstacle, obstacle);
    const QByteArray old = HeaderLine + "old  \r\n";
    QString target = writeTapeFile(old);
    if (obstacle == SaveObstacle::FolderIsFile)
        target = path() + "/Zahlen.txt";
    if (obstacle == SaveObstacle::PathIsFolder)
        target = m_folder.path();
    fill(m_tapes->List1, QStringList(2000, QString(100, u'1')));

    std::optional<QString> warning;
    if (obstacle == SaveObstacle::DiskFull) {
        const FileSizeLimit limit(4096);
        warning = SaveTapeFile(*m_tapes, target);
    } else {
        warning = SaveTapeFile(*m_tapes, target);
    }

    QVERIFY(warning);
    QVERIFY2(warning->startsWith("Das Band konnte nicht in „" + target + "“ gespeichert werden: "),
             qPrintable(*warning));
    QCOMPARE(readAll(path()), old);
    QCOMPARE(QDir(QFileInfo(path()).absolutePath()).entryList(QDir::Files),
             QStringList{"Zahlen.txt"});
}

void TestTapeFile::openedLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("empty file adds nothing") << QByteArray() << QStringList{};
    QTest::newRow("CR LF after the last line adds no entry")
        << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("last line without terminator") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("lone CR ends a line") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("LF-only file is one line") << QByteArray("a\nb\n") << QStringList{"a\nb\n"};
    QTest::newRow("empty lines are entries") << QByteArray("\r\n\r\r\n") << QStringList{"", "", ""};
    QTest::newRow("CR CR LF gives an empty line between")
        << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("Windows-1252 bytes decoded")
        << QByteArray("5\x80+\xe4\x96\r\n") << QStringList{"5€+ä–"};
    QTest::newRow("NUL and binary bytes kept as characters")
        << QByteArray("\x00\x01\xff\r\n", 5) << QStringList{QString::fromLatin1("\0\1\xff", 3)};
    QTest::newRow("header and data lines alike")
        << HeaderLine + "   2+3   5,00   5,00\r\n"
        << QStringList{"Eingabe Zeile Spalte", "   2+3   5,00   5,00"};
}

// The list is too narrow for any line, so every line is appended as it stands.
void TestTapeFile::openedLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);

    QCOMPARE(open(writeTapeFile(bytes)), std::nullopt);

    QCOMPARE(m_tapes->List1.lines(), entries);
    QCOMPARE(readAll(path()), bytes);
}

void TestTapeFile::openPadsLinesThatFit_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("entry");
    const QString ten(10, u'x');
    QTest::newRow("short line padded") << "ab" << QString(8, u' ') + "ab";
    QTest::newRow("line filling the room") << ten << ten;
    QTest::newRow("line overhanging by more") << ten + "x" << ten + "x";
    QTest::newRow("empty line padded") << "" << QString(10, u' ');
    QTest::newRow("megabyte line as it stands") << QString(1 << 20, u'7') << QString(1 << 20, u'7');
}

// Room for 10 characters of 100 twips.
void TestTapeFile::openPadsLinesThatFit() {
    QFETCH(QString, line);
    QFETCH(QString, entry);
    m_tapes->List1.setWidthTwips(1100);

    QCOMPARE(open(writeTapeFile(line.toLatin1() + "\r\n")), std::nullopt);

    QCOMPARE(m_tapes->List1.lines(), QStringList{entry});
}

void TestTapeFile::openAppendsBehindEarlierEntriesOnly() {
    fill(m_tapes->List1, {"1+1"});
    fill(m_tapes->List2, {"2,00"});
    fill(m_tapes->List3, {"2,00"});
    const QString file = writeTapeFile("a\r\nb\r\n");

    QCOMPARE(open(file), std::nullopt);
    QCOMPARE(open(file), std::nullopt);

    QCOMPARE(m_tapes->List1.lines(), (QStringList{"1+1", "a", "b", "a", "b"}));
    QCOMPARE(m_tapes->List2.lines(), QStringList{"2,00"});
    QCOMPARE(m_tapes->List3.lines(), QStringList{"2,00"});
}

void TestTapeFile::roundTripThroughTheFile_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("euro sign") << "100€*2"
                               << "100€*2";
    QTest::newRow("umlaut") << "ä+1"
                            << "ä+1";
    QTest::newRow("outside the code page") << "3≠4"
                                           << "3?4";
}

void TestTapeFile::roundTripThroughTheFile() {
    QFETCH(QString, formula);
    QFETCH(QString, readBack);
    fill(m_tapes->List1, {formula});
    fill(m_tapes->List2, {"1,00"});
    fill(m_tapes->List3, {"1,00"});
    QCOMPARE(SaveTapeFile(*m_tapes, path()), std::nullopt);

    QCOMPARE(open(path()), std::nullopt);

    const QString line = readBack + " 1,00 1,00";
    QCOMPARE(m_tapes->List1.lines(), (QStringList{formula, "Eingabe Zeile Spalte", line}));
    QCOMPARE(SaveTapeFile(*m_tapes, path()), std::nullopt);
    QCOMPARE(DecodeWindows1252(readAll(path())), "Eingabe Zeile Spalte\r\n" + line +
                                                     "\r\nEingabe Zeile Spalte  \r\n" + line +
                                                     "  \r\n");
}

void TestTapeFile::openFailureChangesNothing_data() {
    QTest::addColumn<OpenObstacle>("obstacle");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << OpenObstacle::Missing << "";
    QTest::newRow("a folder at the path") << OpenObstacle::Folder << "Ordner";
    QTest::newRow("a pipe at the path") << OpenObstacle::Pipe << "keine gewöhnliche Datei";
    QTest::newRow("larger than 64 MiB") << OpenObstacle::TooLarge << "größer als 64 MiB";
    QTest::newRow("more than a million lines") << OpenObstacle::TooManyLines << "Zeilen";
}

void TestTapeFile::openFailureChangesNothing() {
    QFETCH(OpenObstacle, obstacle);
    QFETCH(QString, reason);
    fill(m_tapes->List1, {"1+1"});
    QDir().mkpath(QFileInfo(path()).absolutePath());
    switch (obstacle) {
    case OpenObstacle::Missing:
        break;
    case OpenObstacle::Folder:
        QVERIFY(QDir().mkpath(path()));
        break;
    case OpenObstacle::Pipe:
        QCOMPARE(mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
        break;
    case OpenObstacle::TooLarge: {
        QFile sparse(path());
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(MaxTapeFileBytes + 1));
        break;
    }
    case OpenObstacle::TooManyLines:
        writeTapeFile(QByteArray(MaxTapeFileLines + 1, '\r'));
        break;
    }
    const QFileInfo before(path());

    const std::optional<QString> warning = open(path());

    QVERIFY(warning);
    QVERIFY2(warning->startsWith("Das Band konnte nicht aus „" + path() + "“ geöffnet werden: "),
             qPrintable(*warning));
    QVERIFY2(warning->contains(reason), qPrintable(*warning));
    QCOMPARE(m_tapes->List1.lines(), QStringList{"1+1"});
    const QFileInfo after(path());
    QCOMPARE(after.exists(), before.exists());
    QCOMPARE(after.size(), before.size());
}

QTEST_GUILESS_MAIN(TestTapeFile)
#include "tst_tape_file.moc"
