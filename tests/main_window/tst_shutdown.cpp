// The main window ends while the desktop's opener of an export still runs: it goes without a
// message and stops the opener.
#include "main_window/form1.h"
#include "tests/support/file_places.h"
#include "tests/support/gui_fixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

#include <cerrno>
#include <csignal>

class TestShutdown : public QObject {
    Q_OBJECT

private slots:
    void windowEndsWhileTheOpenerHangs_data();
    void windowEndsWhileTheOpenerHangs();
};

void TestShutdown::windowEndsWhileTheOpenerHangs_data() {
    QTest::addColumn<QString>("key");
    QTest::newRow("Word") << "Word";
    QTest::newRow("Excel") << "Excel";
}

void TestShutdown::windowEndsWhileTheOpenerHangs() {
    QFETCH(QString, key);
    // An opener first on the path that tells its process number and then never ends.
    QTemporaryDir bin;
    const QString pidFile = bin.filePath("pid");
    QVERIFY(
        writeFile(bin.filePath("xdg-open"),
                  "#!/bin/sh\necho $$ > '" + QFile::encodeName(pidFile) + "'\nexec sleep 600\n"));
    QVERIFY(QFile::setPermissions(bin.filePath("xdg-open"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
    auto window = std::make_unique<Form1>(Form1Services::Default());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->Text1->setText("2+3");
    window->Command1_Click();

    QTest::mouseClick(window->findChild<QToolButton*>("Toolbar1_" + key), Qt::LeftButton);
    QTRY_VERIFY(fileContent(pidFile).endsWith('\n'));
    const pid_t opener = fileContent(pidFile).trimmed().toInt();
    QVERIFY(opener > 0 && ::kill(opener, 0) == 0);
    const gui_test::SeenMessage seen =
        gui_test::closeMessageBoxDuring([&window] { window.reset(); });
    qputenv("PATH", path);

    QVERIFY2(!seen.shown, qPrintable(seen.text));
    errno = 0;
    QVERIFY2(::kill(opener, 0) != 0 && errno == ESRCH, "the opener still runs");
}

ZIFFERON_GUI_TEST_MAIN(TestShutdown)
#include "tst_shutdown.moc"
