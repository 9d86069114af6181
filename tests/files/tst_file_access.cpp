#include "files/file_access.h"
#include "tests/support/failure_reason.h"
#include "tests/support/file_places.h"
#include "tests/support/small_disk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

Q_DECLARE_METATYPE(Failure::Kind)
Q_DECLARE_METATYPE(Oversize)

class TestFileAccess : public QObject {
    Q_OBJECT

private slots:
    void init();
    void systemErrorText_data();
    void systemErrorText();
    void read_data();
    void read();
    void read_boundedFile_data();
    void read_boundedFile();
    void replace_keepsPermissionsAndLeavesNoTemporaryFile();
    void replace_removesOnlyItsOwnStaleTemporaryFiles();
    void replace_keepsExtendedAttributes_data();
    void replace_keepsExtendedAttributes();
    void replace_writesThroughASymbolicLink_data();
    void replace_writesThroughASymbolicLink();
    void replace_refusesWhatIsNoRegularFile_data();
    void replace_refusesWhatIsNoRegularFile();
    void replace_keepsOwnerAndGroup();
    void replace_separatesAHardLink();
    void createNew_neverReplacesAFile();
    void failedFiller_leavesNothingBehind();
    void fullDisk_keepsTheOldFileByteForByte_data();
    void fullDisk_keepsTheOldFileByteForByte();

private:
    QString path(const QString& name = QStringLiteral("Zahlen.txt")) const {
        return m_folder->filePath(name);
    }
    // Every entry of the folder, hidden ones and links included.
    QStringList entries() const {
        return QDir(m_folder->path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestFileAccess::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void TestFileAccess::systemErrorText_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::newRow("full disk") << ENOSPC << "Kein Speicherplatz mehr auf dem Datenträger";
    QTest::newRow("no permission") << EACCES << "Zugriff verweigert";
    QTest::newRow("read-only disk") << EROFS << "Der Datenträger ist schreibgeschützt";
    QTest::newRow("input/output error") << EIO << "Ein- oder Ausgabefehler des Datenträgers";
    QTest::newRow("unknown number") << 9999 << "Systemfehler Nummer 9999";
}

void TestFileAccess::systemErrorText() {
    QFETCH(int, error);
    QFETCH(QString, text);
    QCOMPARE(SystemErrorText(error), text);
}

void TestFileAccess::read_data() {
    QTest::addColumn<QString>("file"); // empty: the place at the test's path
    QTest::addColumn<Place>("place");
    QTest::addColumn<Failure::Kind>("kind");
    QTest::addColumn<QString>("reason"); // empty: read
    using Kind = Failure::Kind;
    const QString notRegular = "An dieser Stelle liegt keine gewöhnliche Datei.";
    QTest::newRow("regular file") << "" << Place::File << Kind{} << "";
    QTest::newRow("missing") << "" << Place::Missing << Kind::Missing << "Die Datei fehlt.";
    QTest::newRow("folder") << "" << Place::Folder << Kind::NotRegular
                            << "An dieser Stelle liegt ein Ordner.";
    QTest::newRow("pipe without writer, never blocks")
        << "" << Place::Pipe << Kind::NotRegular << notRegular;
    QTest::newRow("link to /dev/zero") << "" << Place::LinkToZero << Kind::NotRegular << notRegular;
    QTest::newRow("link to /dev/urandom")
        << "" << Place::LinkToRandom << Kind::NotRegular << notRegular;
    QTest::newRow("file that reports size 0 but holds text")
        << "/proc/self/comm" << Place::File << Kind{} << "";
    QTest::newRow("file whose reading fails") << "/proc/self/mem" << Place::File << Kind::Unreadable
                                              << "Ein- oder Ausgabefehler des Datenträgers.";
}

void TestFileAccess::read() {
    QFETCH(QString, file);
    QFETCH(Place, place);
    QFETCH(Failure::Kind, kind);
    QFETCH(QString, reason);
    if (file.isEmpty()) {
        file = path();
        QVERIFY(makePlace(place, file, "Inhalt\r\n"));
    }

    const std::variant<QByteArray, Failure> read =
        ReadRegularFile(file, 1024 * 1024, Oversize::Refuse);

    if (reason.isEmpty()) {
        QVERIFY(std::holds_alternative<QByteArray>(read));
        QCOMPARE(std::get<QByteArray>(read), file == path() ? "Inhalt\r\n" : fileContent(file));
        return;
    }
    QVERIFY(std::holds_alternative<Failure>(read));
    QCOMPARE(std::get<Failure>(read).kind, kind);
    QCOMPARE(std::get<Failure>(read).reason, reason);
}

void TestFileAccess::read_boundedFile_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<Oversize>("oversize");
    QTest::addColumn<int>("expectedSize"); // -1: refused
    QTest::newRow("at the bound") << 100 << Oversize::Refuse << 100;
    QTest::newRow("one byte beyond, refused") << 101 << Oversize::Refuse << -1;
    QTest::newRow("one byte beyond, cut") << 101 << Oversize::KeepPrefix << 100;
    QTest::newRow("far beyond, cut") << 1000000 << Oversize::KeepPrefix << 100;
    QTest::newRow("empty file") << 0 << Oversize::Refuse << 0;
}

void TestFileAccess::read_boundedFile() {
    QFETCH(int, size);
    QFETCH(Oversize, oversize);
    QFETCH(int, expectedSize);
    QByteArray content(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        content[i] = static_cast<char>('a' + i % 26);
    QVERIFY(writeFile(path(), content));

    const std::variant<QByteArray, Failure> read = ReadRegularFile(path(), 100, oversize);

    if (expectedSize < 0) {
        QVERIFY(std::holds_alternative<Failure>(read));
        QCOMPARE(std::get<Failure>(read).kind, Failure::Kind::TooLarge);
        QCOMPARE(std::get<Failure>(read).reason, "Die Datei ist größer als 100 Bytes.");
    } else {
        QVERIFY(std::holds_alternative<QByteArray>(read));
        QCOMPARE(std::get<QByteArray>(read), content.first(expectedSize));
    }
}

// A filler writes by name, in a private folder beside the target, into a file for its user alone.
void TestFileAccess::replace_keepsPermissionsAndLeavesNoTemporaryFile() {
    QVERIFY(writeFile(path(), "alt"));
    QCOMPARE(::chmod(QFile::encodeName(path()).constData(), 0640), 0);
    QList<QFileDevice::Permissions> seen; // of the temporary file, then of its folder
    QString folder;
    const FileFiller filler = [&](const QString& temporary) -> std::optional<Failure> {
        folder = QFileInfo(temporary).canonicalPath();
        seen = {QFileInfo(temporary).permissions(), QFileInfo(folder).permissions()};
        return writeFile(temporary, "neu") ? std::nullopt : std::optional<Failure>("?");
    };

    QCOMPARE(WriteFileSafely(path(), filler, Commit::Replace), std::nullopt);

    QCOMPARE(fileContent(path()), "neu");
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(path()).constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, 0640u);
    QCOMPARE(entries(), QStringList{"Zahlen.txt"});
    const auto user = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                      QFileDevice::WriteUser;
    QCOMPARE(seen, (QList{user, user | QFileDevice::ExeOwner | QFileDevice::ExeUser}));
    QCOMPARE(QFileInfo(folder).absolutePath(), QDir(m_folder->path()).canonicalPath());
}

void TestFileAccess::replace_removesOnlyItsOwnStaleTemporaryFiles() {
    const QString stale = ".Zahlen.txt.zifferon-a1B2c3";
    const QStringList userFiles{"Zahlen.txt.backup",           "Zahlen.txt.Sicher",
                                "Zahlen.txt.123456",           "Zahlen.txt.a1B2c3",
                                ".Zahlen.txt.zifferon-a1B2c",  ".Zahlen.txt.zifferon-a1B2c3d",
                                ".Zahlen.txt.zifferon-a1-2c3", ".Andere.txt.zifferon-a1B2c3"};
    for (const QString& name : userFiles + QStringList{stale})
        QVERIFY(writeFile(path(name), "x"));
    // Named like a temporary file, but a folder and a link to a file elsewhere.
    QVERIFY(QDir().mkdir(path(".Zahlen.txt.zifferon-Ordner")));
    QTemporaryDir elsewhere;
    const QString linked = elsewhere.filePath("fremd.txt");
    QVERIFY(writeFile(linked, "fremd"));
    QVERIFY(QFile::link(linked, path(".Zahlen.txt.zifferon-Link01")));
    // The private folder of a killed write goes; the temporary file of a running write stays.
    const QString killed = path(".Zahlen.txt.zifferon-Mappe1");
    QCOMPARE(::mkdir(QFile::encodeName(killed).constData(), 0700), 0);
    QVERIFY(writeFile(killed + "/Zahlen.txt", "halb"));
    const QString running = ".Zahlen.txt.zifferon-Offen1";
    QVERIFY(writeFile(path(running), "halb"));
    QFile held(path(running));
    QVERIFY(held.open(QIODevice::ReadOnly));
    QCOMPARE(::flock(held.handle(), LOCK_EX), 0);

    QCOMPARE(WriteFileSafely(path(), "neu", Commit::Replace), std::nullopt);

    QStringList expected = userFiles + QStringList{"Zahlen.txt", ".Zahlen.txt.zifferon-Ordner",
                                                   ".Zahlen.txt.zifferon-Link01", running};
    expected.sort();
    QStringList present = entries();
    present.sort();
    QCOMPARE(present, expected);
    QCOMPARE(fileContent(linked), "fremd");
}

void TestFileAccess::replace_keepsExtendedAttributes_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<uint>("permissions"); // after the attribute is set
    // chmod 640, then setfacl -m u:4711:rw, as the kernel stores it: the group bits show the mask.
    QTest::newRow("access control list naming a user")
        << QByteArray("system.posix_acl_access")
        << QByteArray::fromHex("02000000 01000600ffffffff 0200060067120000 04000400ffffffff"
                               "10000600ffffffff 20000000ffffffff")
        << 0660u;
    QTest::newRow("attribute of the user")
        << QByteArray("user.herkunft") << QByteArray("Kasse") << 0640u;
}

void TestFileAccess::replace_keepsExtendedAttributes() {
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, value);
    QFETCH(uint, permissions);
    QVERIFY(writeFile(path(), "alt"));
    const QByteArray file = QFile::encodeName(path());
    QCOMPARE(::chmod(file.constData(), 0640), 0);
    if (::setxattr(file.constData(), name.constData(), value.constData(), value.size(), 0) != 0)
        QSKIP(qPrintable("the file system keeps no " + name + ": " + qt_error_string(errno)));

    QCOMPARE(WriteFileSafely(path(), "neu", Commit::Replace), std::nullopt);

    QByteArray kept(value.size(), '\0');
    QCOMPARE(::getxattr(file.constData(), name.constData(), kept.data(), kept.size()),
             value.size());
    QCOMPARE(kept, value);
    struct stat status {};
    QCOMPARE(::stat(file.constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, permissions);
}

void TestFileAccess::replace_writesThroughASymbolicLink_data() {
    QTest::addColumn<QStringList>("chain"); // the link's text, then each further link's
    QTest::newRow("absolute link") << QStringList{"<elsewhere>/Zahlen.txt"};
    QTest::newRow("relative link") << QStringList{"Ziel/Zahlen.txt"};
    QTest::newRow("link to a link") << QStringList{"<elsewhere>/Zwischen.txt", "Zahlen.txt"};
}

void TestFileAccess::replace_writesThroughASymbolicLink() {
    QFETCH(QStringList, chain);
    QTemporaryDir elsewhere;
    QVERIFY(QDir().mkdir(path("Ziel")));
    for (QString& text : chain)
        text.replace("<elsewhere>", elsewhere.path());
    // Each link lies in the folder of the one before; the last names the file.
    QString link = path();
    for (const QString& text : chain) {
        QCOMPARE(
            ::symlink(QFile::encodeName(text).constData(), QFile::encodeName(link).constData()), 0);
        link = QFileInfo(QFileInfo(link).absolutePath(), text).absoluteFilePath();
    }
    const QString file = link;
    QVERIFY(writeFile(file, "alt"));
    const QStringList besideTheFileBefore =
        QDir(QFileInfo(file).absolutePath())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    QCOMPARE(WriteFileSafely(path(), "neu", Commit::Replace), std::nullopt);

    QVERIFY(QFileInfo(path()).isSymLink());
    char text[4096] = {};
    QVERIFY(::readlink(QFile::encodeName(path()).constData(), text, sizeof text - 1) > 0);
    QCOMPARE(QString::fromLocal8Bit(text), chain.first());
    QCOMPARE(fileContent(file), "neu");
    QVERIFY(!QFileInfo(file).isSymLink());
    QCOMPARE(QDir(QFileInfo(file).absolutePath())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             besideTheFileBefore);
}

void TestFileAccess::replace_refusesWhatIsNoRegularFile_data() {
    QTest::addColumn<QString>("linkTo"); // empty: the place at the path itself
    QTest::addColumn<Place>("place");
    QTest::addColumn<QString>("reason");
    const QString notRegular = "An dieser Stelle liegt keine gewöhnliche Datei.";
    QTest::newRow("link to no file")
        << "Laufwerk/Zahlen.txt" << Place::Missing
        << "Die Datei ist eine symbolische Verknüpfung, die auf keine vorhandene Datei zeigt.";
    QTest::newRow("pipe") << "" << Place::Pipe << notRegular;
    QTest::newRow("link to a pipe") << "Rohr" << Place::Pipe << notRegular;
}

void TestFileAccess::replace_refusesWhatIsNoRegularFile() {
    QFETCH(QString, linkTo);
    QFETCH(Place, place);
    QFETCH(QString, reason);
    const QString target = linkTo.isEmpty() ? path() : m_folder->filePath(linkTo);
    QVERIFY(makePlace(place, target));
    QVERIFY(linkTo.isEmpty() || QFile::link(target, path()));
    const QStringList before = entries();

    QCOMPARE(ReasonOf(WriteFileSafely(path(), "neu", Commit::Replace)), reason);

    QCOMPARE(entries(), before);
    QCOMPARE(QFileInfo(target).exists() && !QFileInfo(target).isFile(), place == Place::Pipe);
}

void TestFileAccess::replace_keepsOwnerAndGroup() {
    if (::geteuid() != 0)
        QSKIP("only a privileged process may hand a file to another owner");
    constexpr uid_t Owner = 4711;
    constexpr gid_t Group = 4712;
    QVERIFY(writeFile(path(), "alt"));
    QCOMPARE(::chown(QFile::encodeName(path()).constData(), Owner, Group), 0);
    QCOMPARE(::chmod(QFile::encodeName(path()).constData(), 0604), 0);

    QCOMPARE(WriteFileSafely(path(), "neu", Commit::Replace), std::nullopt);

    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(path()).constData(), &status), 0);
    QCOMPARE(status.st_uid, Owner);
    QCOMPARE(status.st_gid, Group);
    QCOMPARE(status.st_mode & 07777, 0604u);
    QCOMPARE(fileContent(path()), "neu");
}

// The new content is a new file under the path; the other name keeps the old one.
void TestFileAccess::replace_separatesAHardLink() {
    QVERIFY(writeFile(path(), "alt"));
    QCOMPARE(::link(QFile::encodeName(path()).constData(),
                    QFile::encodeName(path("Anderswo.txt")).constData()),
             0);

    QCOMPARE(WriteFileSafely(path(), "neu", Commit::Replace), std::nullopt);

    QCOMPARE(fileContent(path()), "neu");
    QCOMPARE(fileContent(path("Anderswo.txt")), "alt");
}

void TestFileAccess::createNew_neverReplacesAFile() {
    QVERIFY(writeFile(path(), "meins"));

    const std::optional<Failure> failure = WriteFileSafely(path(), "neu", Commit::CreateNew);

    QCOMPARE(ReasonOf(failure), "Die Datei existiert bereits.");
    QCOMPARE(fileContent(path()), "meins");
    QCOMPARE(entries(), QStringList{"Zahlen.txt"});
}

void TestFileAccess::failedFiller_leavesNothingBehind() {
    const FileFiller failing = [](const QString& temporary) -> std::optional<Failure> {
        writeFile(temporary, "halb");
        return QStringLiteral("Abgebrochen.");
    };

    QCOMPARE(ReasonOf(WriteFileSafely(path(), failing, Commit::CreateNew)), "Abgebrochen.");

    QCOMPARE(entries(), QStringList{});
}

void TestFileAccess::fullDisk_keepsTheOldFileByteForByte_data() {
    QTest::addColumn<qint64>("free");
    QTest::addColumn<int>("newSize");
    QTest::newRow("no byte free, small new content") << qint64{0} << 100;
    QTest::newRow("8 KiB free, larger new content") << qint64{8192} << 40000;
}

void TestFileAccess::fullDisk_keepsTheOldFileByteForByte() {
    QFETCH(qint64, free);
    QFETCH(int, newSize);
    SmallDisk disk;
    if (!disk.mounted())
        QSKIP(qPrintable(disk.whyNot()));
    const QString file = disk.filePath(QStringLiteral("Zahlen.txt"));
    const QByteArray old(3000, 'a');
    QVERIFY(writeFile(file, old));
    QVERIFY(disk.fill(free));

    const std::optional<Failure> failure =
        WriteFileSafely(file, QByteArray(newSize, 'b'), Commit::Replace);

    QCOMPARE(ReasonOf(failure), "Kein Speicherplatz mehr auf dem Datenträger.");
    QCOMPARE(fileContent(file), old);
    QCOMPARE(disk.files(), QStringList{"Zahlen.txt"});
}

QTEST_GUILESS_MAIN(TestFileAccess)
#include "tst_file_access.moc"
