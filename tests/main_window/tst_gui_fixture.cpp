#include "tests/support/file_places.h"
#include "tests/support/gui_fixture.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The fixture that every window test runs in: those tests empty their home folder.
class TestGuiFixture : public QObject {
    Q_OBJECT

private slots:
    void foldersLieInTheTemporaryHome_data();
    void foldersLieInTheTemporaryHome();
    void noTestRunsWithoutATemporaryFolder();
};

void TestGuiFixture::foldersLieInTheTemporaryHome_data() {
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("folder"); // in the home folder
    QTest::newRow("configuration") << "XDG_CONFIG_HOME"
                                   << "/.config";
    QTest::newRow("state") << "XDG_STATE_HOME"
                           << "/.local/state";
    QTest::newRow("data") << "XDG_DATA_HOME"
                          << "/.local/share";
    QTest::newRow("cache") << "XDG_CACHE_HOME"
                           << "/.cache";
}

void TestGuiFixture::foldersLieInTheTemporaryHome() {
    QFETCH(QString, variable);
    QFETCH(QString, folder);
    const QString home = QDir::homePath();

    QVERIFY2(home.startsWith(QDir::tempPath() + u'/'), qPrintable(home));
    QCOMPARE(qEnvironmentVariable(qPrintable(variable)), home + folder);
}

// A window test run where no temporary folder can be made, from a folder of files that are not
// its own, leaves them be and fails.
void TestGuiFixture::noTestRunsWithoutATemporaryFolder() {
    const QTemporaryDir here;
    QVERIFY(here.isValid());
    QVERIFY(writeFile(here.filePath("Eigenes.txt"), "meins"));
    QProcess test;
    test.setWorkingDirectory(here.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A file: no folder can be made in it, by any user.
    environment.insert("TMPDIR", here.filePath("Eigenes.txt"));
    test.setProcessEnvironment(environment);

    test.start(ZIFFERON_TAPE_WORKFLOW_TEST, {"typing_goes_on_after_a_click_on_a_key"});

    QVERIFY(test.waitForFinished(60000));
    QCOMPARE(test.exitStatus(), QProcess::NormalExit);
    QVERIFY(test.exitCode() != 0);
    QCOMPARE(fileContent(here.filePath("Eigenes.txt")), "meins");
}

ZIFFERON_GUI_TEST_MAIN(TestGuiFixture)
#include "tst_gui_fixture.moc"
