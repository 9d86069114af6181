#include "tests/support/file_places.h"
#include "toolbar/help_process.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

using namespace std::chrono_literals;

const QString Viewer = QStringLiteral(ZIFFERON_HELP_VIEWER);
const QString Manual = QStringLiteral(ZIFFERON_HELP_FILE);
// Ample for a viewer that starts on a busy machine.
constexpr auto StartTime = 60s;

// Who answers the program: the real viewer, stand-ins that hang or crash, or nothing there.
enum class Viewing { Real, Hanging, Crashing, Missing };

QString standInViewer(Viewing viewing, const QTemporaryDir& folder) {
    const QString path = folder.filePath(QStringLiteral("viewer"));
    if (viewing == Viewing::Real)
        return Viewer;
    if (viewing == Viewing::Missing)
        return path;
    const QByteArray body = viewing == Viewing::Hanging ? "exec sleep 60" : "kill -SEGV $$";
    if (!writeFile(path, "#!/bin/sh\n" + body + '\n') ||
        !QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner))
        return {};
    return path;
}

// The viewer's address space limit as /proc tells it; empty when it cannot be read.
[[maybe_unused]] QByteArray addressSpaceLimit(qint64 process) {
    const QByteArray limits = fileContent(QStringLiteral("/proc/%1/limits").arg(process));
    const qsizetype line = limits.indexOf("Max address space");
    return line < 0 ? QByteArray() : limits.mid(line + 17).simplified().split(' ').value(0);
}

} // namespace

Q_DECLARE_METATYPE(Viewing)

class TestHelpProcess : public QObject {
    Q_OBJECT

private slots:
    void helpFileInTheViewer_data();
    void helpFileInTheViewer();
    void runningViewer_data();
    void runningViewer();
    void viewerEndsWithItsInput();
};

void TestHelpProcess::helpFileInTheViewer_data() {
    QTest::addColumn<Viewing>("viewing");
    QTest::addColumn<QByteArray>("bytes"); // of the help file; the manual when null
    QTest::addColumn<QString>("failure");  // empty: shown
    const QString damaged = QStringLiteral("Sie ist beschädigt.");
    QTest::newRow("the manual") << Viewing::Real << QByteArray() << "";
    QTest::newRow("chmlib divides by zero: only the viewer ends")
        << Viewing::Real
        << fileContent(qEnvironmentVariable("ZIFFERON_TEST_DATA") + "/help/divides_by_zero.chm")
        << damaged;
    QTest::newRow("the viewer's reason")
        << Viewing::Real << QByteArray("ITSF") << "Sie ist keine gültige kompilierte Hilfedatei.";
    QTest::newRow("no first page in time") << Viewing::Hanging << QByteArray() << damaged;
    QTest::newRow("a viewer that crashes") << Viewing::Crashing << QByteArray() << damaged;
    QTest::newRow("no viewer") << Viewing::Missing << QByteArray() << "lässt sich nicht starten";
}

void TestHelpProcess::helpFileInTheViewer() {
    QFETCH(Viewing, viewing);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, failure);
    const QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString viewer = standInViewer(viewing, folder);
    QVERIFY(!viewer.isEmpty());
    const QString helpFile =
        bytes.isNull() ? Manual : folder.filePath(QStringLiteral("Hilfe (1).chm"));
    QVERIFY(bytes.isNull() || writeFile(helpFile, bytes));
    QStringList reported;
    HelpProcess help(
        viewer, [&reported](const Failure& said) { reported << said.reason; },
        viewing == Viewing::Hanging ? 1s : StartTime);

    const std::optional<Failure> said = help.ShowHelp(helpFile);

    if (failure.isEmpty()) {
        QVERIFY(!said);
        QTRY_VERIFY_WITH_TIMEOUT(help.showing(), 60000);
        QCOMPARE(reported, QStringList());
        return;
    }
    if (viewing == Viewing::Missing) { // said at once
        QVERIFY(said);
        QVERIFY2(said->reason.contains(failure), qPrintable(said->reason));
        QCOMPARE(help.viewerId(), qint64{0});
        return;
    }
    QVERIFY(!said);
    QTRY_COMPARE_WITH_TIMEOUT(reported.size(), 1, 60000);
    QCOMPARE(reported.front(),
             "Die Hilfedatei „" + helpFile + "“ kann nicht angezeigt werden. " + failure);
    QCOMPARE(help.viewerId(), qint64{0});
    QVERIFY(!help.showing());
}

void TestHelpProcess::runningViewer_data() {
    QTest::addColumn<bool>("programEnds"); // else F1 once more
    QTest::newRow("F1 again: the same viewer comes to the front") << false;
    QTest::newRow("the program ends: the viewer ends") << true;
}

void TestHelpProcess::runningViewer() {
    QFETCH(bool, programEnds);
    QStringList reported;
    auto help = std::make_unique<HelpProcess>(
        Viewer, [&reported](const Failure& said) { reported << said.reason; }, StartTime);
    QCOMPARE(help->ShowHelp(Manual), std::nullopt);
    QTRY_VERIFY_WITH_TIMEOUT(help->showing(), 60000);
    const qint64 viewer = help->viewerId();
#ifndef ZIFFERON_UNLIMITED_ADDRESS_SPACE
    QCOMPARE(addressSpaceLimit(viewer), QByteArray("2147483648"));
#endif
    if (programEnds) {
        help.reset();
        QCOMPARE(::kill(static_cast<pid_t>(viewer), 0), -1);
        return;
    }
    QCOMPARE(help->ShowHelp(Manual), std::nullopt);
    QVERIFY(!help->showing());
    QTRY_VERIFY_WITH_TIMEOUT(help->showing(), 60000);
    QCOMPARE(help->viewerId(), viewer);
    QCOMPARE(reported, QStringList());
}

// A program that is killed leaves the viewer's input at its end.
void TestHelpProcess::viewerEndsWithItsInput() {
    QProcess viewer;
    viewer.start(Viewer, {Manual});
    QVERIFY(viewer.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(viewer.canReadLine(), 60000);
    QCOMPARE(viewer.readLine(), QByteArray("shown\n"));
    viewer.closeWriteChannel();
    QVERIFY(viewer.waitForFinished(10000));
    QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(viewer.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestHelpProcess)
#include "tst_help_process.moc"
