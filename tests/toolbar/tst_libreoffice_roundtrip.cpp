#include "toolbar/office_export.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Converts exported files with LibreOffice, where it is installed, and reads them back.
namespace {

class RecordingOpener : public FileOpener {
public:
    bool open(const QString& path) override {
        opened = path;
        return true;
    }
    QString opened;
};

QString office() {
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

// The lines of a converted text file, without a byte order mark and the last line end.
QStringList linesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {"(not converted)"};
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    text.remove(u'\r');
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

void fillSample(NumberTape& tapes) {
    tapes.List1.append(QStringList{"Eingabe Zeile Spalte", "        2+3", "   100€*1,5"});
    tapes.List2.append(QStringList{"       5,00"});
    tapes.List3.append(QStringList{"      12,50"});
}

} // namespace

class TestLibreOfficeRoundTrip : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void documentReadsAsTheTapes();
    void workbookReadsAsTheTapes();

private:
    QString convert(const QString& file, const QString& filter);

    NumberTape m_tapes;
    QString m_office;
    QTemporaryDir m_folder;
    RecordingOpener m_opener;
};

void TestLibreOfficeRoundTrip::initTestCase() {
    m_office = office();
    if (m_office.isEmpty())
        QSKIP("LibreOffice is not installed");
    QVERIFY(m_folder.isValid());
    fillSample(m_tapes);
}

QString TestLibreOfficeRoundTrip::convert(const QString& file, const QString& filter) {
    QProcess process;
    process.start(
        m_office,
        {"-env:UserInstallation=" + QUrl::fromLocalFile(m_folder.filePath("profile")).toString(),
         "--headless", "--convert-to", filter, "--outdir", m_folder.filePath("converted"), file});
    if (!process.waitForFinished(180'000))
        process.kill();
    const QString extension = filter.section(u':', 0, 0);
    return m_folder.filePath("converted/" + QFileInfo(file).completeBaseName() + "." + extension);
}

void TestLibreOfficeRoundTrip::documentReadsAsTheTapes() {
    const auto target = CreateWordTarget(m_opener, m_folder.path());
    QCOMPARE(ExportToWord(m_tapes, *target), std::nullopt);

    const QString text = convert(m_opener.opened, "txt:Text (encoded):UTF8");

    QCOMPARE(linesOf(text), (QStringList{"Eingabe Zeile Spalte", "        2+3", "   100€*1,5", "",
                                         "       5,00", "", "      12,50", ""}));
}

void TestLibreOfficeRoundTrip::workbookReadsAsTheTapes() {
    const auto target = CreateExcelTarget(m_opener, m_folder.path());
    QCOMPARE(ExportToExcel(m_tapes, *target), std::nullopt);

    // Tab separated, UTF-8.
    const QString csv = convert(m_opener.opened, "csv:Text - txt - csv (StarCalc):9,34,76");

    QCOMPARE(linesOf(csv), (QStringList{"Eingabe Zeile Spalte\t       5,00\t      12,50",
                                        "        2+3\t\t", "   100€*1,5\t\t"}));
}

QTEST_GUILESS_MAIN(TestLibreOfficeRoundTrip)
#include "tst_libreoffice_roundtrip.moc"
