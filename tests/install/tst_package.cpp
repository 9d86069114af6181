// The Debian package built by CPack from this build folder: the install layout under /usr, the
// control fields with the libraries found by dpkg-shlibdeps, a stripped program, and lintian's
// verdict.

#include "tool_run.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString AppId = QStringLiteral(ZIFFERON_APP_ID);

// Warnings that concern an upload to the Debian archive, which this package is not made for.
const QStringList AcceptedLintianWarnings{QStringLiteral("initial-upload-closes-no-bugs")};

} // namespace

class TestPackage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void holds_file_data();
    void holds_file();
    void program_link_is_relative();
    void control_field_data();
    void control_field();
    void program_is_stripped_data();
    void program_is_stripped();
    void lintian_finds_no_fault();

private:
    // dpkg-deb with an option that takes the package, and the option's further arguments.
    ToolRun dpkgDeb(const QString& option, const QStringList& arguments = {}) const {
        return RunTool(QStringLiteral("dpkg-deb"), QStringList{option, m_package} + arguments);
    }

    QTemporaryDir m_folder;
    QString m_package;
    QString m_contents;
};

void TestPackage::initTestCase() {
    QVERIFY(m_folder.isValid());
    const ToolRun cpack = RunTool(QStringLiteral(ZIFFERON_CPACK),
                                  {"-G", "DEB", "-B", m_folder.path(), "--config",
                                   QStringLiteral(ZIFFERON_BUILD_DIR) + "/CPackConfig.cmake"});
    QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output));
    const QStringList packages = QDir(m_folder.path()).entryList({"zifferon_*.deb"}, QDir::Files);
    QCOMPARE(packages.size(), 1);
    m_package = m_folder.filePath(packages.first());
    const ToolRun contents = dpkgDeb(QStringLiteral("--contents"));
    QVERIFY2(contents.exitCode == 0, qPrintable(contents.output));
    m_contents = contents.output;
}

void TestPackage::holds_file_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("program") << QStringLiteral("usr/lib/zifferon/zifferon");
    QTest::newRow("help viewer") << QStringLiteral("usr/lib/zifferon/zifferon-hilfe");
    QTest::newRow("manual") << QStringLiteral(
        "usr/lib/zifferon/Benutzerhandbuch_Zifferal_Version_1.chm");
    QTest::newRow("credits") << QStringLiteral("usr/lib/zifferon/Tiska.dpi");
    QTest::newRow("logo") << QStringLiteral("usr/lib/zifferon/1_logo_1.jpg");
    QTest::newRow("logo at twice the size") << QStringLiteral("usr/lib/zifferon/1_logo_1@2x.jpg");
    QTest::newRow("desktop entry") << "usr/share/applications/" + AppId + ".desktop";
    QTest::newRow("metainfo") << "usr/share/metainfo/" + AppId + ".metainfo.xml";
    QTest::newRow("icon 48") << "usr/share/icons/hicolor/48x48/apps/" + AppId + ".png";
    QTest::newRow("scalable icon") << "usr/share/icons/hicolor/scalable/apps/" + AppId + ".svg";
    QTest::newRow("compressed manual page") << QStringLiteral("usr/share/man/man1/zifferon.1.gz");
    QTest::newRow("copyright") << QStringLiteral("usr/share/doc/zifferon/copyright");
    QTest::newRow("changelog") << QStringLiteral("usr/share/doc/zifferon/changelog.Debian.gz");
}

void TestPackage::holds_file() {
    QFETCH(QString, path);
    const QRegularExpression entry("^-\\S+ root/root .* \\./" + QRegularExpression::escape(path) +
                                       '$',
                                   QRegularExpression::MultilineOption);
    QVERIFY2(entry.match(m_contents).hasMatch(), qPrintable(m_contents));
}

void TestPackage::program_link_is_relative() {
    QVERIFY2(
        m_contents.contains(QStringLiteral(" ./usr/bin/zifferon -> ../lib/zifferon/zifferon\n")),
        qPrintable(m_contents));
}

void TestPackage::control_field_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("package") << "Package"
                             << "^zifferon$";
    QTest::newRow("section") << "Section"
                             << "^math$";
    QTest::newRow("maintainer") << "Maintainer"
                                << "^\\S.* <\\S+@\\S+>$";
    QTest::newRow("widgets library") << "Depends"
                                     << "libqt6widgets6 \\(>= ";
    QTest::newRow("help file library") << "Depends"
                                       << "libchm1 \\(>= ";
    QTest::newRow("spreadsheet library") << "Depends"
                                         << "libxlsxwriter4 \\(>= ";
    QTest::newRow("fonts") << "Depends"
                           << "fonts-liberation, fonts-dejavu-core";
    QTest::newRow("English description") << "Description"
                                         << "^tape calculator .*\n Zifferon evaluates each formula";
    QTest::newRow("German description") << "Description"
                                        << "\n Zifferon rechnet jede Formel";
}

void TestPackage::control_field() {
    QFETCH(QString, field);
    QFETCH(QString, pattern);
    const ToolRun value = dpkgDeb(QStringLiteral("--field"), {field});
    QVERIFY2(value.exitCode == 0, qPrintable(value.output));
    QVERIFY2(QRegularExpression(pattern).match(value.output.trimmed()).hasMatch(),
             qPrintable(value.output));
}

void TestPackage::program_is_stripped_data() {
    QTest::addColumn<QString>("program");
    QTest::newRow("program") << QStringLiteral("zifferon");
    QTest::newRow("help viewer") << QStringLiteral("zifferon-hilfe");
}

void TestPackage::program_is_stripped() {
    QFETCH(QString, program);
    const QString root = m_folder.filePath(QStringLiteral("root"));
    QCOMPARE(dpkgDeb(QStringLiteral("--extract"), {root}).exitCode, 0);
    const ToolRun sections =
        RunTool(QStringLiteral("readelf"),
                {"--section-headers", "--wide", root + "/usr/lib/zifferon/" + program});
    QVERIFY2(sections.exitCode == 0, qPrintable(sections.output));
    QVERIFY(sections.output.contains(QStringLiteral(".text")));
    QVERIFY2(!sections.output.contains(QStringLiteral(".debug_")), qPrintable(sections.output));
    QVERIFY2(!sections.output.contains(QStringLiteral(".symtab")), qPrintable(sections.output));
}

void TestPackage::lintian_finds_no_fault() {
    const QString lintian = QStandardPaths::findExecutable(QStringLiteral("lintian"));
    if (lintian.isEmpty())
        QSKIP("lintian not installed");
    const ToolRun run = RunTool(lintian, {m_package});
    const QRegularExpression fault(QStringLiteral("^[EW]: zifferon: (\\S+)"),
                                   QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& found : fault.globalMatch(run.output))
        QVERIFY2(AcceptedLintianWarnings.contains(found.captured(1)) &&
                     found.captured(0).startsWith(u'W'),
                 qPrintable(run.output));
    QVERIFY2(run.exitCode == 0, qPrintable(run.output));
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
