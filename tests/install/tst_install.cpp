// The program installed into a temporary prefix: the tree a desktop needs, the program that
// starts from bin/, and the info box and the help window reading their files from the
// installed program folder, through the real toolbar of the main window.

#include "credits/frm_info_box.h"
#include "main_window/form1.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/recording_opener.h"
#include "tool_run.h"
#include "toolbar/help_process.h"
#include "toolbar/help_window.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>

#include <filesystem>

namespace {

const QString AppId = QStringLiteral(ZIFFERON_APP_ID);
const QString ProgramFolder = QStringLiteral("lib/zifferon");
const QString DesktopEntry = "share/applications/" + AppId + ".desktop";
const QString Metainfo = "share/metainfo/" + AppId + ".metainfo.xml";
const QString ScalableIcon = "share/icons/hicolor/scalable/apps/" + AppId + ".svg";

QString pngIcon(int size) {
    return QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId);
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Share of pixels, in percent, in which two pictures differ by more than a little.
double differingPercent(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            differing += qAbs(p.red() - q.red()) + qAbs(p.green() - q.green()) +
                             qAbs(p.blue() - q.blue()) + qAbs(p.alpha() - q.alpha()) >
                         64;
        }
    return 100.0 * differing / (a.width() * a.height());
}

int distinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void installs_file_data();
    void installs_file();
    void program_link_is_relative();
    void desktop_files_name_the_application_id_data();
    void desktop_files_name_the_application_id();
    void icons_have_their_size_data();
    void icons_have_their_size();
    void scalable_icon_shows_the_same_picture();
    void metainfo_shows_the_screenshots_of_the_docs();
    void validators_accept_data();
    void validators_accept();
    void installed_program_starts_without_a_word();
    void info_box_scrolls_the_installed_credits_over_the_logo();
    void help_opens_the_installed_manual();

private:
    QString installed(const QString& relative) const { return m_prefix.filePath(relative); }
    // The main window as installed: its program folder is the installed one.
    void openMainWindow(std::shared_ptr<HelpViewer> help = nullptr);
    void press(const char* key);

    QTemporaryDir m_prefix;
    std::unique_ptr<Form1> m_window;
};

void TestInstall::initTestCase() {
    QVERIFY(m_prefix.isValid());
    // The component keeps build/install_manifest.txt, the uninstall list of the user's own
    // install, as it is.
    const ToolRun install =
        RunTool(QStringLiteral(ZIFFERON_CMAKE), {"--install", ZIFFERON_BUILD_DIR, "--prefix",
                                                 m_prefix.path(), "--component", "Unspecified"});
    QVERIFY2(install.exitCode == 0, qPrintable(install.output));
}

void TestInstall::cleanup() {
    m_window.reset();
}

void TestInstall::installs_file_data() {
    QTest::addColumn<QString>("path");
    for (const char* file :
         {"zifferon", "zifferon-hilfe", "Benutzerhandbuch_Zifferal_Version_1.chm", "Tiska.dpi",
          "1_logo_1.jpg", "1_logo_1@2x.jpg"})
        QTest::addRow("program folder: %s", file) << ProgramFolder + u'/' + QLatin1String(file);
    QTest::newRow("link in bin") << QStringLiteral("bin/zifferon");
    QTest::newRow("desktop entry") << DesktopEntry;
    QTest::newRow("metainfo") << Metainfo;
    QTest::newRow("scalable icon") << ScalableIcon;
    QTest::newRow("manual page") << QStringLiteral("share/man/man1/zifferon.1");
    QTest::newRow("copyright") << QStringLiteral("share/doc/zifferon/copyright");
}

void TestInstall::installs_file() {
    QFETCH(QString, path);
    const QFileInfo file(installed(path));
    QVERIFY2(file.isFile(), qPrintable(path));
    QVERIFY(file.size() > 0);
}

void TestInstall::program_link_is_relative() {
    const std::filesystem::path link = installed("bin/zifferon").toStdString();
    QVERIFY(std::filesystem::is_symlink(link));
    QCOMPARE(QString::fromStdString(std::filesystem::read_symlink(link).string()),
             QStringLiteral("../lib/zifferon/zifferon"));
    QVERIFY(QFileInfo(installed("bin/zifferon")).isExecutable());
}

void TestInstall::desktop_files_name_the_application_id_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("icon of the entry")
        << DesktopEntry << "^Icon=" + QRegularExpression::escape(AppId) + '$';
    QTest::newRow("entry starts the link in bin")
        << DesktopEntry << QStringLiteral("^Exec=zifferon$");
    QTest::newRow("entry categories")
        << DesktopEntry << QStringLiteral("^Categories=Utility;Calculator;$");
    QTest::newRow("metainfo id") << Metainfo
                                 << "<id>" + QRegularExpression::escape(AppId) + "</id>";
    QTest::newRow("metainfo launches the entry")
        << Metainfo << ">" + QRegularExpression::escape(AppId) + "\\.desktop</launchable>";
    QTest::newRow("metainfo release of the project's version")
        << Metainfo
        << "<release version=\"" + QRegularExpression::escape(ZIFFERON_VERSION) +
               "\" date=\"\\d{4}-\\d\\d-\\d\\d\"/>";
}

void TestInstall::desktop_files_name_the_application_id() {
    QFETCH(QString, path);
    QFETCH(QString, pattern);
    const QRegularExpression expected(pattern, QRegularExpression::MultilineOption);
    QVERIFY2(expected.match(readText(installed(path))).hasMatch(), qPrintable(pattern));
}

void TestInstall::icons_have_their_size_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        QTest::addRow("%dx%d", size, size) << size;
}

void TestInstall::icons_have_their_size() {
    QFETCH(int, size);
    QImageReader reader(installed(pngIcon(size)));
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage icon = reader.read();
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());
    QCOMPARE(qAlpha(icon.pixel(0, size - 1)), 0); // transparent beside the calculator's body
    QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255);
}

void TestInstall::scalable_icon_shows_the_same_picture() {
    QSvgRenderer svg(installed(ScalableIcon));
    QVERIFY(svg.isValid());
    const QImage largest(installed(pngIcon(256)));
    QImage rendered(largest.size(), QImage::Format_ARGB32);
    rendered.fill(Qt::transparent);
    QPainter painter(&rendered);
    svg.render(&painter);
    painter.end();
    QVERIFY(distinctColours(largest) > 8);
    QVERIFY2(differingPercent(rendered, largest.convertToFormat(QImage::Format_ARGB32)) < 3,
             "the scalable icon differs from the 256 pixel one");
}

void TestInstall::metainfo_shows_the_screenshots_of_the_docs() {
    const QString metainfo = readText(installed(Metainfo));
    const QRegularExpression image(
        QStringLiteral("<image>https://[^<]*/docs/images/([^/<]+)</image>"));
    QStringList shown;
    for (const QRegularExpressionMatch& found : image.globalMatch(metainfo))
        shown << found.captured(1);
    QCOMPARE(shown.size(), 4);
    const QDir images(QStringLiteral(ZIFFERON_SOURCE_DIR "/docs/images"));
    for (const QString& name : shown)
        QVERIFY2(QImageReader(images.filePath(name)).canRead(), qPrintable(name));
}

void TestInstall::validators_accept_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("desktop entry")
        << "desktop-file-validate" << QStringList{installed(DesktopEntry)};
    QTest::newRow("metainfo") << "appstreamcli"
                              << QStringList{"validate", "--no-net", installed(Metainfo)};
}

void TestInstall::validators_accept() {
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        QSKIP("validator not installed");
    const ToolRun run = RunTool(program, arguments);
    QVERIFY2(run.exitCode == 0, qPrintable(run.output));
    const QRegularExpression complaint(QStringLiteral("^[EW]: |warning|error"),
                                       QRegularExpression::MultilineOption |
                                           QRegularExpression::CaseInsensitiveOption);
    QVERIFY2(!complaint.match(run.output).hasMatch(), qPrintable(run.output));
}

// The splash window shows for 20 seconds: a program still running after a few seconds has
// come up without crashing, and says nothing on the way.
void TestInstall::installed_program_starts_without_a_word() {
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(installed("bin/zifferon"), {});
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    QVERIFY2(!program.waitForFinished(3000), "the installed program ended at once");
    const QByteArray said = program.readAllStandardOutput() + program.readAllStandardError();
    program.kill();
    program.waitForFinished();
    QVERIFY2(said.isEmpty(), said.constData());
}

void TestInstall::openMainWindow(std::shared_ptr<HelpViewer> help) {
    Form1Services services = Form1Services::Default();
    services.programFolder = installed(ProgramFolder);
    if (help)
        services.help = std::move(help);
    m_window = std::make_unique<Form1>(std::move(services));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestInstall::press(const char* key) {
    auto* button = m_window->findChild<QToolButton*>(QStringLiteral("Toolbar1_") + key);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// A logo or credits file missing from the program folder leaves the box white: the logo would
// not be there, and the credits would be the file's path, white on white.
void TestInstall::info_box_scrolls_the_installed_credits_over_the_logo() {
    openMainWindow();
    press("Info");
    frmInfoBox* box = m_window->infoBox().window();
    QVERIFY(box);
    const CreditsState& state = m_window->infoBox().state();
    QVERIFY(!state.LogoPicture.isNull());
    QVERIFY(distinctColours(box->Picture1->picture()) > 100);
    const QString credits = state.CreditsLines.join(u'\n');
    QVERIFY2(credits.contains(QStringLiteral("Der Rechner mit dem Zahlenstreifen")),
             qPrintable(credits));
    // The first lines scroll up into view over the logo.
    QTRY_VERIFY_WITH_TIMEOUT(box->Picture1->image() != box->Picture1->picture(), 5000);
}

// The installed viewer, found beside the installed program, shows the installed manual.
void TestInstall::help_opens_the_installed_manual() {
    QStringList reported;
    const auto help = std::make_shared<HelpProcess>(
        installed(ProgramFolder + u'/' + QLatin1String(HelpChannel::ViewerProgram)),
        [&reported](const Failure& failure) { reported << failure.reason; },
        std::chrono::seconds(60));
    openMainWindow(help);
    press("Hilfe");
    QTRY_VERIFY_WITH_TIMEOUT(help->showing() || !reported.isEmpty(), 60000);
    QCOMPARE(reported, QStringList());

    HelpWindowHost host(std::make_shared<RecordingOpener>());
    QCOMPARE(host.ShowHelp(installed(ProgramFolder + "/Benutzerhandbuch_Zifferal_Version_1.chm")),
             std::nullopt);
    HelpWindow* window = host.window();
    QVERIFY(window);
    QCOMPARE(QFileInfo(window->helpFile()).canonicalFilePath(),
             QFileInfo(installed(ProgramFolder + "/Benutzerhandbuch_Zifferal_Version_1.chm"))
                 .canonicalFilePath());
    QVERIFY(window->findChild<QTreeWidget*>(QStringLiteral("Contents"))->topLevelItemCount() > 0);
    const QString page = window->findChild<QTextBrowser*>(QStringLiteral("Browser"))->toPlainText();
    QVERIFY2(page.contains(QStringLiteral("Zahlenstreifen")), qPrintable(page));
}

ZIFFERON_GUI_TEST_MAIN(TestInstall)
#include "tst_install.moc"
