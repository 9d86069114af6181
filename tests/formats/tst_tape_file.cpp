#include "calc/evaluation.h"
#include "files/windows1252.h"
#include "formats/tape_file.h"
#include "killed_save_tapes.h"
#include "tests/support/failure_reason.h"
#include "tests/support/file_places.h"
#include "tests/support/fixed_width_measurer.h"
#include "tests/support/small_disk.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

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

enum class SaveObstacle { FolderIsFile, PathIsFolder, FileSizeLimit, FullDisk, NearlyFullDisk };

// The formula tape of so many lines that its file ends just at, or one line beyond, the bound.
QStringList linesForSaving(qsizetype fileLines) {
    return QStringList(fileLines - 1, QStringLiteral("1"));
}

// The files beside the tape file that carry its name, hidden ones included.
QStringList temporaryFilesIn(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("Zahlen.txt.*"), QStringLiteral(".Zahlen.txt.*")},
                                  QDir::Files | QDir::Hidden);
}

} // namespace

Q_DECLARE_METATYPE(SaveObstacle)

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
    void saveBeyondTheBoundsIsRefused_data();
    void saveBeyondTheBoundsIsRefused();
    void saveRemovesTemporaryFilesOfAnInterruptedSave();
    void killedSavesLeaveTheOldOrTheNewFileWhole();
    void openedLines_data();
    void openedLines();
    void openPadsLinesThatFit_data();
    void openPadsLinesThatFit();
    void openAppendsBehindEarlierEntriesOnly();
    void roundTripThroughTheFile_data();
    void roundTripThroughTheFile();
    void textResultsReopenAsTheSameLines_data();
    void textResultsReopenAsTheSameLines();
    void openFailureChangesNothing_data();
    void openFailureChangesNothing();
    void openUnreadableFileNamesTheCause();
    void openMillionShortLines();

private:
    QString path() const { return m_folder.filePath("Zahlen/Zahlen.txt"); }
    QString writeTapeFile(const QByteArray& bytes);
    std::optional<QString> open(const QString& file);

    FixedWidthMeasurer m_measurer{100.0};
    int m_listWidthTwips = 0;
    QTemporaryDir m_folder;
    std::unique_ptr<NumberTape> m_tapes;
};

void TestTapeFile::init() {
    QVERIFY(m_folder.isValid());
    QDir(m_folder.path()).removeRecursively();
    QVERIFY(QDir().mkpath(m_folder.path()));
    m_tapes = std::make_unique<NumberTape>();
    m_listWidthTwips = 0;
}

QString TestTapeFile::writeTapeFile(const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path()).absolutePath());
    if (!writeFile(path(), bytes))
        qFatal("cannot prepare the tape file");
    return path();
}

std::optional<QString> TestTapeFile::open(const QString& file) {
    return ReasonOf(
        OpenTapeFile(*m_tapes, LineFormat{m_measurer, TwoDecimals, m_listWidthTwips}, file));
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

    QCOMPARE(fileContent(path()), HeaderLine + lines);
    QCOMPARE(m_tapes->List1.lines(), formulas);
}

void TestTapeFile::saveCreatesMissingFoldersAndReplacesTheFile() {
    const QString deep = m_folder.filePath("Programme/Morvantis/Zahlen/Zahlen.txt");
    fill(m_tapes->List1, {"1+1", "2+2", "3+3"});
    QCOMPARE(SaveTapeFile(*m_tapes, deep), std::nullopt);
    fill(m_tapes->List1, {"4+4"});

    QCOMPARE(SaveTapeFile(*m_tapes, deep), std::nullopt);

    QCOMPARE(fileContent(deep), HeaderLine + "4+4  \r\n");
    QCOMPARE(QDir(QFileInfo(deep).absolutePath()).entryList(QDir::Files),
             QStringList{"Zahlen.txt"});
}

void TestTapeFile::saveFailureKeepsTheOldFile_data() {
    QTest::addColumn<SaveObstacle>("obstacle");
    QTest::addColumn<int>("newLines");
    QTest::addColumn<QString>("cause");
    const QString noSpace = "Kein Speicherplatz mehr auf dem Datenträger.";
    QTest::newRow("folder is a regular file")
        << SaveObstacle::FolderIsFile << 2000 << "konnte nicht angelegt werden.";
    QTest::newRow("a folder stands at the path")
        << SaveObstacle::PathIsFolder << 2000 << "An dieser Stelle liegt ein Ordner.";
    QTest::newRow("file size limit of the process")
        << SaveObstacle::FileSizeLimit << 2000 << "Die Datei ist zu groß für den Datenträger.";
    // The new file fits into the write buffer of a file class, so only its final flush fails.
    QTest::newRow("full disk, small tape") << SaveObstacle::FullDisk << 20 << noSpace;
    QTest::newRow("8 KiB free, larger tape") << SaveObstacle::NearlyFullDisk << 2000 << noSpace;
}

void TestTapeFile::saveFailureKeepsTheOldFile() {
    QFETCH(SaveObstacle, obstacle);
    QFETCH(int, newLines);
    QFETCH(QString, cause);
    std::unique_ptr<SmallDisk> disk;
    QString file = path();
    const bool onSmallDisk =
        obstacle == SaveObstacle::FullDisk || obstacle == SaveObstacle::NearlyFullDisk;
    if (onSmallDisk) {
        disk = std::make_unique<SmallDisk>();
        if (!disk->mounted())
            QSKIP(qPrintable(disk->whyNot()));
        file = disk->filePath("Zahlen.txt");
    }
    fill(m_tapes->List1, {"7*6", "1+1"});
    QCOMPARE(SaveTapeFile(*m_tapes, file), std::nullopt);
    const QByteArray old = fileContent(file);
    QString target = file;
    if (obstacle == SaveObstacle::FolderIsFile)
        target = file + "/Zahlen.txt";
    if (obstacle == SaveObstacle::PathIsFolder)
        target = QFileInfo(file).absolutePath();
    if (onSmallDisk)
        QVERIFY(disk->fill(obstacle == SaveObstacle::FullDisk ? 0 : 8192));
    fill(m_tapes->List1, QStringList(newLines, QString(100, u'1')));

    std::optional<QString> warning;
    if (obstacle == SaveObstacle::FileSizeLimit) {
        const FileSizeLimit limit(4096);
        warning = ReasonOf(SaveTapeFile(*m_tapes, target));
    } else {
        warning = ReasonOf(SaveTapeFile(*m_tapes, target));
    }

    QVERIFY(warning);
    QVERIFY2(warning->startsWith("Das Band konnte nicht in „" + target + "“ gespeichert werden: "),
             qPrintable(*warning));
    QVERIFY2(warning->endsWith(cause), qPrintable(*warning));
    QCOMPARE(fileContent(file), old);
    QCOMPARE(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files),
             QStringList{"Zahlen.txt"});
}

void TestTapeFile::saveBeyondTheBoundsIsRefused_data() {
    QTest::addColumn<QStringList>("formulas");
    QTest::addColumn<QString>("cause"); // empty: saved
    QTest::addColumn<bool>("reopens");
    const qsizetype room = MaxTapeLineLength - 2; // the blanks before the two empty entries
    QTest::newRow("longest line") << QStringList{QString(room, u'7')} << "" << true;
    // An opened line gains its separators: the save takes it, the open no more.
    QTest::newRow("opened line at the bound")
        << QStringList{QString(MaxTapeLineLength, u'7')} << "" << false;
    QTest::newRow("line beyond three entries at the bound")
        << QStringList{"1", QString(3 * MaxTapeLineLength + 1, u'7')}
        << "Zeile 3 ist länger als 393.218 Zeichen." << false;
    QTest::newRow("most lines") << linesForSaving(MaxTapeFileLines) << "" << true;
    QTest::newRow("an opened file of the most lines, with the header")
        << linesForSaving(MaxTapeFileLines + 1) << "" << false;
    QTest::newRow("two lines more") << linesForSaving(MaxTapeFileLines + 2)
                                    << "Die Datei hat mehr als 1.000.001 Zeilen." << false;
    // A formula pasted with a line end in it writes two lines into the file.
    QTest::newRow("line ends inside entries")
        << QStringList(MaxTapeFileLines / 2 + 1, QStringLiteral("1\r2"))
        << "Die Datei hat mehr als 1.000.001 Zeilen." << false;
}

// Whatever an open brought in is saved; what is saved within the open's bounds opens again.
void TestTapeFile::saveBeyondTheBoundsIsRefused() {
    QFETCH(QStringList, formulas);
    QFETCH(QString, cause);
    QFETCH(bool, reopens);
    fill(m_tapes->List1, {"alt"});
    QCOMPARE(SaveTapeFile(*m_tapes, path()), std::nullopt);
    const QByteArray old = fileContent(path());
    fill(m_tapes->List1, formulas);

    const std::optional<QString> warning = ReasonOf(SaveTapeFile(*m_tapes, path()));

    if (cause.isEmpty()) {
        QCOMPARE(warning, std::nullopt);
        NumberTape reopened;
        const std::optional<Failure> refusal =
            OpenTapeFile(reopened, LineFormat{m_measurer, TwoDecimals, 0}, path());
        QCOMPARE(!refusal, reopens);
        QCOMPARE(reopened.List1.count(), reopens ? formulas.size() + 1 : 0);
        return;
    }
    QVERIFY(warning);
    QVERIFY2(warning->contains("gespeichert werden: " + cause), qPrintable(*warning));
    QVERIFY2(warning->endsWith("Eine Banddatei darf höchstens 68 MiB und 1.000.001 Zeilen haben, "
                               "jede Zeile höchstens 393.218 Zeichen."),
             qPrintable(*warning));
    QCOMPARE(fileContent(path()), old);
}

void TestTapeFile::saveRemovesTemporaryFilesOfAnInterruptedSave() {
    QVERIFY(writeFile(m_folder.filePath(".Zahlen.txt.zifferon-Ab12Cd"), "halb"));
    const QStringList userFiles{"Zahlen.txt.backup", "Zahlen.txt.sicherung"};
    for (const QString& name : userFiles)
        QVERIFY(writeFile(m_folder.filePath(name), "eigene Kopie"));
    fill(m_tapes->List1, {"1+1"});

    QCOMPARE(SaveTapeFile(*m_tapes, m_folder.filePath("Zahlen.txt")), std::nullopt);

    QCOMPARE(temporaryFilesIn(m_folder.path()), userFiles);
}

// A helper process saves two tapes by turns and is killed at random moments: the file is always
// one of the two complete files, and at most the temporary file of the killed save is left.
void TestTapeFile::killedSavesLeaveTheOldOrTheNewFileWhole() {
    constexpr int Kills = 50;
    NumberTape tapes[2];
    FillKilledSaveTapes(tapes);
    const QByteArray contents[2] = {TapeFileBytes(tapes[0]), TapeFileBytes(tapes[1])};
    const QString file = m_folder.filePath("Zahlen.txt");
    QElapsedTimer saving;
    saving.start();
    QCOMPARE(SaveTapeFile(tapes[0], file), std::nullopt);
    // Kills fall anywhere within the first two saves of the helper.
    const auto longestWait = static_cast<quint32>(saving.nsecsElapsed() / 1000 * 2 + 1000);
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    int intact = 0, newContent = 0, leftTemporary = 0;

    for (int kill = 0; kill < Kills; ++kill) {
        QProcess helper;
        helper.start(TAPE_FILE_HELPER, {"save-forever", file});
        QVERIFY(helper.waitForReadyRead(30000));
        QThread::usleep(random.bounded(longestWait));
        QVERIFY(helper.state() == QProcess::Running);
        QCOMPARE(::kill(static_cast<pid_t>(helper.processId()), SIGKILL), 0);
        QVERIFY(helper.waitForFinished());

        const QByteArray now = fileContent(file);
        intact += now == contents[0] || now == contents[1] ? 1 : 0;
        newContent += now == contents[1] ? 1 : 0;
        const qsizetype temporaries = temporaryFilesIn(m_folder.path()).size();
        leftTemporary += temporaries > 0 ? 1 : 0;
        QVERIFY2(temporaries <= 1, qPrintable(temporaryFilesIn(m_folder.path()).join(' ')));
    }

    qInfo("%d of %d kills left a whole file (%d the other tape, %d a temporary file); seed %u",
          intact, Kills, newContent, leftTemporary, seed);
    QCOMPARE(intact, Kills);
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
    QTest::newRow("bytes undefined in Windows-1252")
        << QByteArray("\x81\x8D\x8F\x90\x9D")
        << QStringList{QString::fromLatin1("\x81\x8D\x8F\x90\x9D")};
    QTest::newRow("only a CR") << QByteArray("\r") << QStringList{""};
    QTest::newRow("UTF-8 text read byte by byte")
        << QByteArray("5 \xE2\x82\xAC + \xC3\xA4\r\n") << QStringList{"5 â‚¬ + Ã¤"};
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
    QCOMPARE(fileContent(path()), bytes);
}

void TestTapeFile::openPadsLinesThatFit_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("entry");
    const QString ten(10, u'x');
    QTest::newRow("short line padded") << "ab" << QString(8, u' ') + "ab";
    QTest::newRow("line filling the room") << ten << ten;
    QTest::newRow("line overhanging by more") << ten + "x" << ten + "x";
    QTest::newRow("empty line padded") << "" << QString(10, u' ');
    const QString longest(MaxTapeLineLength, u'7');
    QTest::newRow("line at the length bound as it stands") << longest << longest;
}

// Room for 10 characters of 100 twips.
void TestTapeFile::openPadsLinesThatFit() {
    QFETCH(QString, line);
    QFETCH(QString, entry);
    m_listWidthTwips = 1100;

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
    QCOMPARE(DecodeWindows1252(fileContent(path())), "Eingabe Zeile Spalte\r\n" + line +
                                                         "\r\nEingabe Zeile Spalte  \r\n" + line +
                                                         "  \r\n");
}

void TestTapeFile::textResultsReopenAsTheSameLines_data() {
    QTest::addColumn<QString>("formula");
    QTest::newRow("CR") << R"("a" & Chr(13) & "b")";
    QTest::newRow("CR LF") << R"("a" & Chr(13) & Chr(10) & "b")";
    QTest::newRow("LF") << R"("a" & Chr(10) & "b")";
    QTest::newRow("next line, line separator") << R"("a" & ChrW(133) & ChrW(8232) & "b")";
    QTest::newRow("tab, bell, escape, delete")
        << R"("a" & Chr(9) & Chr(7) & Chr(27) & Chr(127) & "b")";
    QTest::newRow("text at the engine's length bound") << R"("a" & Space(65534) & "b")";
}

// What the tapes show is saved as one line per entry and reopens as the same lines.
void TestTapeFile::textResultsReopenAsTheSameLines() {
    QFETCH(QString, formula);
    EvaluateOntoTapes(*m_tapes, formula, LineFormat{m_measurer, TwoDecimals, 100000});
    const QString saved =
        m_tapes->List1.text(0) + ' ' + m_tapes->List2.text(0) + ' ' + m_tapes->List3.text(0);
    QVERIFY2(m_tapes->List2.text(0).trimmed().startsWith(u'a'), qPrintable(m_tapes->List2.text(0)));
    QCOMPARE(SaveTapeFile(*m_tapes, path()), std::nullopt);

    NumberTape reopened;
    QCOMPARE(OpenTapeFile(reopened, LineFormat{m_measurer, TwoDecimals, 0}, path()), std::nullopt);

    QCOMPARE(reopened.List1.count(), 2);
    QCOMPARE(reopened.List1.text(1), saved);
}

void TestTapeFile::openFailureChangesNothing_data() {
    QTest::addColumn<Place>("place");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("sparseSize"); // a file of this size without data, when not 0
    QTest::addColumn<QString>("cause");
    const QString notRegular = "An dieser Stelle liegt keine gewöhnliche Datei.";
    const QString bounds = " Eine Banddatei darf höchstens 64 MiB und 1.000.000 Zeilen haben, "
                           "jede Zeile höchstens 131.072 Zeichen.";
    const QByteArray none;
    QTest::newRow("missing file") << Place::Missing << none << 0ll << "Die Datei fehlt.";
    QTest::newRow("a folder at the path")
        << Place::Folder << none << 0ll << "An dieser Stelle liegt ein Ordner.";
    QTest::newRow("a pipe at the path") << Place::Pipe << none << 0ll << notRegular;
    QTest::newRow("link to /dev/zero") << Place::LinkToZero << none << 0ll << notRegular;
    QTest::newRow("link to /dev/urandom") << Place::LinkToRandom << none << 0ll << notRegular;
    QTest::newRow("larger than 64 MiB") << Place::File << none << MaxTapeFileBytes + 1
                                        << "Die Datei ist größer als 64 MiB." + bounds;
    QTest::newRow("more than a million lines")
        << Place::File << QByteArray(MaxTapeFileLines + 1, '\r') << 0ll
        << "Die Datei hat mehr als 1.000.000 Zeilen." + bounds;
    QTest::newRow("one line of 5 MB") << Place::File << QByteArray(5'000'000, '9') + "\r\n"
                                      << 0ll << "Zeile 1 ist länger als 131.072 Zeichen." + bounds;
    QTest::newRow("a line one character over the bound")
        << Place::File << "1+1\r\n" + QByteArray(MaxTapeLineLength + 1, '9') + "\r\n2+2\r\n"
        << 0ll << "Zeile 2 ist länger als 131.072 Zeichen." + bounds;
}

void TestTapeFile::openFailureChangesNothing() {
    QFETCH(Place, place);
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, sparseSize);
    QFETCH(QString, cause);
    fill(m_tapes->List1, {"1+1"});
    QVERIFY(QDir().mkpath(QFileInfo(path()).absolutePath()));
    QVERIFY(sparseSize > 0 ? makeSparseFile(path(), sparseSize) : makePlace(place, path(), bytes));
    const QFileInfo before(path());

    const std::optional<QString> warning = open(path());

    QCOMPARE(warning, "Das Band konnte nicht aus „" + path() + "“ geöffnet werden: " + cause);
    QCOMPARE(m_tapes->List1.lines(), QStringList{"1+1"});
    const QFileInfo after(path());
    QCOMPARE(after.exists(), before.exists());
    QCOMPARE(after.size(), before.size());
}

// Root reads every file, so the helper opens it as an ordinary user.
void TestTapeFile::openUnreadableFileNamesTheCause() {
    writeTapeFile("1+1\r\n");
    QVERIFY(QFile::setPermissions(m_folder.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ExeOwner | QFile::ExeOther));
    QVERIFY(QFile::setPermissions(QFileInfo(path()).absolutePath(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ExeOther));
    QVERIFY(QFile::setPermissions(path(), QFile::WriteOwner));
    QProcess helper;
    helper.start(TAPE_FILE_HELPER, {"open-unprivileged", path()});
    QVERIFY(helper.waitForFinished());

    QCOMPARE(helper.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(helper.readAllStandardOutput()).trimmed(),
             "Das Band konnte nicht aus „" + path() + "“ geöffnet werden: Zugriff verweigert.");
}

void TestTapeFile::openMillionShortLines() {
    QByteArray bytes;
    for (int i = 0; i < MaxTapeFileLines; ++i)
        bytes += QByteArray::number(i % 10) + "+1\r\n";
    writeTapeFile(bytes);
    m_listWidthTwips = 1100;

    QCOMPARE(open(path()), std::nullopt);

    QCOMPARE(m_tapes->List1.count(), MaxTapeFileLines);
    QCOMPARE(m_tapes->List1.text(MaxTapeFileLines - 1), QString(7, u' ') + "9+1");
}

QTEST_GUILESS_MAIN(TestTapeFile)
#include "tst_tape_file.moc"
