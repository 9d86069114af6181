#include "resources/fonts.h"
#include "tests/support/failure_reason.h"
#include "tests/support/file_places.h"
#include "tests/support/recording_opener.h"
#include "tests/support/small_disk.h"
#include "toolbar/office_export.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <sys/file.h>
#include <sys/stat.h>
#include <zip.h>

namespace {

using Cells = QHash<QString, QString>; // "B3" -> text

struct Tapes {
    QStringList formulas, results, totals;
};

void fill(NumberTape& tapes, const Tapes& lines) {
    tapes.List1.append(lines.formulas);
    tapes.List2.append(lines.results);
    tapes.List3.append(lines.totals);
}

QByteArray zipEntry(const QString& path, const char* name) {
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive)
        return {};
    QByteArray bytes;
    zip_stat_t stat;
    zip_file_t* entry = nullptr;
    if (zip_stat(archive, name, 0, &stat) == 0 && (entry = zip_fopen(archive, name, 0))) {
        bytes.resize(static_cast<qsizetype>(stat.size));
        if (zip_fread(entry, bytes.data(), stat.size) != static_cast<zip_int64_t>(stat.size))
            bytes.clear();
        zip_fclose(entry);
    }
    zip_close(archive);
    return bytes;
}

// The paragraphs of word/document.xml, each the text of its runs.
QStringList paragraphsOf(const QString& docx) {
    QXmlStreamReader xml(zipEntry(docx, "word/document.xml"));
    QStringList paragraphs;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"p")
            paragraphs << QString();
        else if (xml.name() == u"t")
            paragraphs.last() += xml.readElementText();
    }
    if (xml.hasError())
        qWarning("document.xml: %s", qPrintable(xml.errorString()));
    return paragraphs;
}

QStringList sharedStrings(const QString& xlsx) {
    QXmlStreamReader xml(zipEntry(xlsx, "xl/sharedStrings.xml"));
    QStringList strings;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"t")
            strings << xml.readElementText();
    }
    return strings;
}

// Every cell of the first sheet that holds a value.
Cells cellsOf(const QString& xlsx) {
    const QStringList strings = sharedStrings(xlsx);
    QXmlStreamReader xml(zipEntry(xlsx, "xl/worksheets/sheet1.xml"));
    Cells cells;
    QString reference, type;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"c") {
            reference = xml.attributes().value("r").toString();
            type = xml.attributes().value("t").toString();
        } else if (xml.name() == u"v") {
            const QString value = xml.readElementText();
            cells.insert(reference,
                         type == u"s" ? strings.value(value.toInt()) : "number " + value);
        }
    }
    return cells;
}

Cells expectedCells(const Tapes& lines) {
    Cells cells;
    const QStringList* columns[] = {&lines.formulas, &lines.results, &lines.totals};
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < columns[column]->size(); ++row)
            cells.insert(QChar(u'A' + column) + QString::number(row + 1), columns[column]->at(row));
    }
    return cells;
}

// The attributes of the first element of that name in an XML part.
QXmlStreamAttributes firstElement(const QByteArray& part, const QString& name) {
    QXmlStreamReader xml(part);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == name)
            return xml.attributes();
    }
    return {};
}

// The width in pixels of each column the sheet sets, as a spreadsheet shows it: its stored width
// counts characters of seven pixels, the margins included.
QList<int> columnPixelsOf(const QString& xlsx) {
    QXmlStreamReader xml(zipEntry(xlsx, "xl/worksheets/sheet1.xml"));
    QList<int> pixels;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"col")
            pixels << qRound(xml.attributes().value("width").toDouble() * 7);
    }
    return pixels;
}

// The style of every cell of the first sheet.
QSet<QString> cellStylesOf(const QString& xlsx) {
    QXmlStreamReader xml(zipEntry(xlsx, "xl/worksheets/sheet1.xml"));
    QSet<QString> styles;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"c")
            styles << xml.attributes().value("s").toString();
    }
    return styles;
}

QStringList expectedParagraphs(const Tapes& lines) {
    return lines.formulas + QStringList{""} + lines.results + QStringList{""} + lines.totals +
           QStringList{""};
}

// Records the calls of an export and fails at the chosen one (counted from 0).
class ScriptedTarget : public DocumentTarget, public SpreadsheetTarget {
public:
    explicit ScriptedTarget(int failingCall)
        : m_failingCall(failingCall) {}

    ExportFailure createAndShow() override { return record("createAndShow"); }
    ExportFailure newDocument() override { return record("newDocument"); }
    ExportFailure newWorkbook() override { return record("newWorkbook"); }
    ExportFailure appendText(const QString& text) override { return record("append " + text); }
    ExportFailure setCell(int row, int column, const QString& text) override {
        return record(QStringLiteral("cell %1,%2 %3").arg(row).arg(column).arg(text));
    }
    ExportFailure release() override { return record("release"); }

    QStringList calls;

private:
    ExportFailure record(const QString& call) {
        calls << call;
        if (calls.size() - 1 == m_failingCall)
            return "failed at " + call;
        return std::nullopt;
    }
    int m_failingCall;
};

const QRegularExpression
    ExportName(R"(^Zifferon-Band \d{4}-\d\d-\d\d \d\d-\d\d-\d\d( \(\d+\))?\.(docx|xlsx)$)");

} // namespace

Q_DECLARE_METATYPE(Tapes)

class TestOfficeExport : public QObject {
    Q_OBJECT

private slots:
    void init();
    void exportedContents_data();
    void wordDocumentHoldsTheTapes();
    void wordDocumentHoldsTheTapes_data() { exportedContents_data(); }
    void excelSheetHoldsTheTapesAsText();
    void excelSheetHoldsTheTapesAsText_data() { exportedContents_data(); }
    void wordDocumentIsSetInTheTapesFont();
    void excelCellsAreSetInTheTapesFont();
    void excelColumnsFitTheirLongestEntry_data();
    void excelColumnsFitTheirLongestEntry();
    void callsInOrderAndStopsAtTheFirstFailure_data();
    void callsInOrderAndStopsAtTheFirstFailure();
    void controlCharactersBecomeReplacementCharacters();
    void twoExportsGiveTwoFiles();
    void leftoversOfKilledExportsGo();
    void neverOverwritesAFileOfTheSameName();
    void missingDocumentsFolderIsCreated();
    void unwritableDocumentsFolderIsReported();
    void unopenedFileIsReportedWithItsPath();
    void fullDiskLeavesNoFileAndSaysSo_data();
    void fullDiskLeavesNoFileAndSaysSo();
    void overlongCellIsReportedInGerman();
    void desktopOpenerReportsFailures_data();
    void desktopOpenerReportsFailures();

private:
    QString exportWord(const NumberTape& tapes);
    QString exportExcel(const NumberTape& tapes);

    QTemporaryDir m_documents;
    RecordingOpener m_opener;
};

void TestOfficeExport::init() {
    QVERIFY(m_documents.isValid());
    QDir(m_documents.path()).removeRecursively();
    QVERIFY(QDir().mkpath(m_documents.path()));
    m_opener = RecordingOpener();
}

QString TestOfficeExport::exportWord(const NumberTape& tapes) {
    const auto target = CreateWordTarget(m_opener, m_documents.path());
    if (const ExportFailure failure = ExportToWord(tapes, *target))
        qWarning("%s", qPrintable(failure->reason));
    return m_opener.opened.value(m_opener.opened.size() - 1);
}

QString TestOfficeExport::exportExcel(const NumberTape& tapes) {
    const auto target = CreateExcelTarget(m_opener, m_documents.path());
    if (const ExportFailure failure = ExportToExcel(tapes, *target))
        qWarning("%s", qPrintable(failure->reason));
    return m_opener.opened.value(m_opener.opened.size() - 1);
}

void TestOfficeExport::exportedContents_data() {
    QTest::addColumn<Tapes>("lines");
    QTest::newRow("empty tapes") << Tapes{};
    QTest::newRow("one evaluation with alignment blanks and decimal commas")
        << Tapes{{"     2+3"}, {"      5,00"}, {"     12,50"}};
    QTest::newRow("formula tape longer after an open") << Tapes{
        {"Eingabe Zeile Spalte", "   1+1   2,00   2,00", "  7*3"}, {"  21,00"}, {"  21,00"}};
    QTest::newRow("numbers in other notations stay text")
        << Tapes{{"1E+20", "0012"}, {"1.000,5", "-0,00"}, {"=1+1", "'x"}};
    QTest::newRow("XML markup and umlauts") << Tapes{{"<a & \"b\">", "ä€"}, {}, {}};
}

void TestOfficeExport::wordDocumentHoldsTheTapes() {
    QFETCH(Tapes, lines);
    NumberTape tapes;
    fill(tapes, lines);

    const QString docx = exportWord(tapes);

    QCOMPARE(m_opener.opened.size(), 1);
    QVERIFY2(ExportName.match(QFileInfo(docx).fileName()).hasMatch(), qPrintable(docx));
    QCOMPARE(QFileInfo(docx).absolutePath(), QDir(m_documents.path()).absolutePath());
    QCOMPARE(paragraphsOf(docx), expectedParagraphs(lines));
    QCOMPARE(tapes.List1.lines(), lines.formulas);
}

void TestOfficeExport::excelSheetHoldsTheTapesAsText() {
    QFETCH(Tapes, lines);
    NumberTape tapes;
    fill(tapes, lines);

    const QString xlsx = exportExcel(tapes);

    QCOMPARE(m_opener.opened.size(), 1);
    QVERIFY2(ExportName.match(QFileInfo(xlsx).fileName()).hasMatch(), qPrintable(xlsx));
    // The empty text below each column leaves its cell blank.
    QCOMPARE(cellsOf(xlsx), expectedCells(lines));
}

// Its default font is the tapes' font at their size (to the half point), its paragraphs stand
// without space between them, as the tape's lines do.
void TestOfficeExport::wordDocumentIsSetInTheTapesFont() {
    NumberTape tapes;
    fill(tapes, {{"     2+3"}, {"      5,00"}, {"      5,00"}});
    const QString docx = exportWord(tapes);

    const QByteArray styles = zipEntry(docx, "word/styles.xml");
    const QXmlStreamAttributes fonts = firstElement(styles, QStringLiteral("rFonts"));
    for (const char* script : {"w:ascii", "w:hAnsi"})
        QCOMPARE(fonts.value(QLatin1String(script)).toString(), fonts::WindowDefault().family());
    QCOMPARE(fonts::WindowDefault().pixelSize(), 11); // 8.25 points
    QCOMPARE(firstElement(styles, "sz").value(QStringLiteral("w:val")).toString(),
             QStringLiteral("17"));
    QCOMPARE(firstElement(styles, "spacing").value(QStringLiteral("w:after")).toString(),
             QStringLiteral("0"));
    QCOMPARE(firstElement(zipEntry(docx, "word/_rels/document.xml.rels"), "Relationship")
                 .value(QStringLiteral("Target"))
                 .toString(),
             "styles.xml");
    QVERIFY(zipEntry(docx, "[Content_Types].xml").contains("/word/styles.xml"));
    QCOMPARE(paragraphsOf(docx),
             expectedParagraphs({{"     2+3"}, {"      5,00"}, {"      5,00"}}));
}

// Every cell, also the empty one below each column, in the tapes' font and size; rows as high
// as a line of it.
void TestOfficeExport::excelCellsAreSetInTheTapesFont() {
    NumberTape tapes;
    fill(tapes, {{"     2+3"}, {"      5,00"}, {"      5,00"}});
    const QString xlsx = exportExcel(tapes);

    const QSet<QString> styles = cellStylesOf(xlsx);
    QCOMPARE(styles.size(), 1);
    const int style = styles.begin()->toInt();
    QVERIFY(style > 0);
    QXmlStreamReader xml(zipEntry(xlsx, "xl/styles.xml"));
    QList<QXmlStreamAttributes> fontNames, fontSizes, cellFormats;
    bool inCellFormats = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            inCellFormats &= !(xml.isEndElement() && xml.name() == u"cellXfs");
            continue;
        }
        inCellFormats |= xml.name() == u"cellXfs";
        if (xml.name() == u"name")
            fontNames << xml.attributes();
        else if (xml.name() == u"sz")
            fontSizes << xml.attributes();
        else if (xml.name() == u"xf" && inCellFormats)
            cellFormats << xml.attributes();
    }
    const int font = cellFormats.value(style).value(QStringLiteral("fontId")).toString().toInt();
    QCOMPARE(fontNames.value(font).value(QStringLiteral("val")).toString(),
             fonts::WindowDefault().family());
    QCOMPARE(fontSizes.value(font).value(QStringLiteral("val")).toString(), QStringLiteral("8.25"));
    const QXmlStreamAttributes rows =
        firstElement(zipEntry(xlsx, "xl/worksheets/sheet1.xml"), QStringLiteral("sheetFormatPr"));
    QCOMPARE(rows.value(QStringLiteral("customHeight")).toString(), QStringLiteral("1"));
    const double rowPixels =
        rows.value(QStringLiteral("defaultRowHeight")).toString().toDouble() * 96 / 72;
    QVERIFY(rowPixels >= QFontMetricsF(fonts::WindowDefault()).lineSpacing());
}

void TestOfficeExport::excelColumnsFitTheirLongestEntry_data() {
    QTest::addColumn<Tapes>("lines");
    QTest::newRow("lines padded for the lists") << Tapes{
        {"                2+3", "     1234567*89"}, {"              5,00"}, {"          5,00"}};
    QTest::newRow("a formula wider than its list, below a short one")
        << Tapes{{"1", "1234567890+1234567890+1234567890"}, {"2"}, {"3"}};
    QTest::newRow("short entries keep the default width") << Tapes{{"1"}, {"2"}, {"3"}};
    QTest::newRow("an empty tape") << Tapes{{"     7"}, {}, {}};
}

// Each column holds its longest entry in the tapes' font with room for the cell's margins, and
// is no wider than a default column or that.
void TestOfficeExport::excelColumnsFitTheirLongestEntry() {
    QFETCH(Tapes, lines);
    NumberTape tapes;
    fill(tapes, lines);
    const QString xlsx = exportExcel(tapes);

    const QList<int> pixels = columnPixelsOf(xlsx);
    QCOMPARE(pixels.size(), 3);
    const QFontMetricsF metrics(fonts::WindowDefault());
    const QStringList* columns[] = {&lines.formulas, &lines.results, &lines.totals};
    for (int column = 0; column < 3; ++column) {
        double longest = 0;
        for (const QString& entry : *columns[column])
            longest = std::max(longest, metrics.horizontalAdvance(entry));
        QVERIFY2(pixels[column] >= longest + 4, qPrintable(QStringLiteral("column %1: %2 px for %3")
                                                               .arg(column)
                                                               .arg(pixels[column])
                                                               .arg(longest)));
        QVERIFY(pixels[column] <= std::max(64.0, longest + 16));
    }
}

void TestOfficeExport::callsInOrderAndStopsAtTheFirstFailure_data() {
    QTest::addColumn<bool>("word");
    QTest::addColumn<int>("failingCall");
    QTest::addColumn<QStringList>("calls");
    const QStringList word{"createAndShow", "newDocument", "append a\r\n", "append \r\n",
                           "append b\r\n",  "append \r\n", "append \r\n",  "release"};
    const QStringList excel{"createAndShow", "newWorkbook", "cell 1,1 a", "cell 2,1 ",
                            "cell 1,2 b",    "cell 2,2 ",   "cell 1,3 ",  "release"};
    QTest::newRow("word, all calls succeed") << true << -1 << word;
    QTest::newRow("word, no application") << true << 0 << word.mid(0, 1);
    QTest::newRow("word, append fails") << true << 3 << word.mid(0, 4);
    QTest::newRow("word, release fails") << true << 7 << word;
    QTest::newRow("excel, all calls succeed") << false << -1 << excel;
    QTest::newRow("excel, new workbook fails") << false << 1 << excel.mid(0, 2);
    QTest::newRow("excel, a cell fails") << false << 4 << excel.mid(0, 5);
}

void TestOfficeExport::callsInOrderAndStopsAtTheFirstFailure() {
    QFETCH(bool, word);
    QFETCH(int, failingCall);
    QFETCH(QStringList, calls);
    NumberTape tapes;
    fill(tapes, {{"a"}, {"b"}, {}});
    ScriptedTarget target(failingCall);

    const std::optional<QString> failure =
        ReasonOf(word ? ExportToWord(tapes, static_cast<DocumentTarget&>(target))
                      : ExportToExcel(tapes, static_cast<SpreadsheetTarget&>(target)));

    QCOMPARE(target.calls, calls);
    QCOMPARE(failure, failingCall < 0 ? std::optional<QString>() : "failed at " + calls.last());
}

// XML cannot hold them; they may come from a binary tape file.
void TestOfficeExport::controlCharactersBecomeReplacementCharacters() {
    NumberTape tapes;
    fill(tapes, {{QString::fromLatin1("a\0b\x1f", 4)}, {}, {}});
    const QString shown = QStringLiteral("a\uFFFDb\uFFFD");

    const QString docx = exportWord(tapes);
    const QString xlsx = exportExcel(tapes);

    QCOMPARE(paragraphsOf(docx), (QStringList{shown, "", "", ""}));
    QCOMPARE(cellsOf(xlsx), (Cells{{"A1", shown}}));
}

void TestOfficeExport::twoExportsGiveTwoFiles() {
    NumberTape tapes;
    fill(tapes, {{"1+1"}, {"2,00"}, {"2,00"}});

    const QString first = exportWord(tapes);
    const QString second = exportWord(tapes);
    exportExcel(tapes);
    exportExcel(tapes);

    QCOMPARE(m_opener.opened.size(), 4);
    QCOMPARE(QSet<QString>(m_opener.opened.begin(), m_opener.opened.end()).size(), 4);
    QCOMPARE(QDir(m_documents.path()).entryList(QDir::Files).size(), 4);
    QCOMPARE(paragraphsOf(first), paragraphsOf(second));
}

// A killed export leaves its hidden temporary file (a private folder for a workbook); the next
// export removes those of this user that no running export holds, nothing else.
void TestOfficeExport::leftoversOfKilledExportsGo() {
    const QDir documents(m_documents.path());
    const QString killedExcel = ".Zifferon-Band 2026-12-07 14-03-12 (2).xlsx.zifferon-Mappe1";
    const QString running = ".Zifferon-Band 2026-12-07 14-03-13.docx.zifferon-Offen1";
    const QStringList kept{".Bericht.docx.zifferon-a1B2c3",
                           "Zifferon-Band 2026-12-07 14-03-12.docx",
                           ".Zifferon-Band 2026-12-07.docx.zifferon-a1B2c3", running};
    for (const QString& name :
         kept + QStringList{".Zifferon-Band 2026-12-07 14-03-12.docx.zifferon-a1B2c3"})
        QVERIFY(writeFile(documents.filePath(name), "Band"));
    QCOMPARE(::mkdir(QFile::encodeName(documents.filePath(killedExcel)).constData(), 0700), 0);
    QVERIFY(writeFile(
        documents.filePath(killedExcel + "/Zifferon-Band 2026-12-07 14-03-12 (2).xlsx"), "Band"));
    QFile held(documents.filePath(running));
    QVERIFY(held.open(QIODevice::ReadOnly));
    QCOMPARE(::flock(held.handle(), LOCK_EX), 0);
    NumberTape tapes;

    const QString docx = QFileInfo(exportWord(tapes)).fileName();
    const QString xlsx = QFileInfo(exportExcel(tapes)).fileName();

    QStringList expected = kept + QStringList{docx, xlsx};
    expected.sort();
    QCOMPARE(documents.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), expected);
}

void TestOfficeExport::neverOverwritesAFileOfTheSameName() {
    const QDateTime now = QDateTime::currentDateTime();
    for (int second = 0; second < 3; ++second) {
        const QString name =
            "Zifferon-Band " + now.addSecs(second).toString("yyyy-MM-dd HH-mm-ss") + ".docx";
        QFile file(m_documents.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("mine") == 4);
    }
    NumberTape tapes;

    const QString docx = exportWord(tapes);

    QVERIFY2(docx.endsWith(" (2).docx"), qPrintable(docx));
    QCOMPARE(paragraphsOf(docx), (QStringList{"", "", ""}));
    for (const QFileInfo& file : QDir(m_documents.path()).entryInfoList(QDir::Files)) {
        if (file.absoluteFilePath() != QFileInfo(docx).absoluteFilePath())
            QCOMPARE(file.size(), 4);
    }
}

void TestOfficeExport::missingDocumentsFolderIsCreated() {
    const QString folder = m_documents.filePath("Dokumente/Neu");
    NumberTape tapes;
    const auto word = CreateWordTarget(m_opener, folder);
    const auto excel = CreateExcelTarget(m_opener, folder);

    QCOMPARE(ExportToWord(tapes, *word), std::nullopt);
    QCOMPARE(ExportToExcel(tapes, *excel), std::nullopt);

    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
}

void TestOfficeExport::unwritableDocumentsFolderIsReported() {
    const QString blocker = m_documents.filePath("Dokumente");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    NumberTape tapes;
    fill(tapes, {{"1+1"}, {"2,00"}, {"2,00"}});
    const auto word = CreateWordTarget(m_opener, blocker + "/Band");
    const auto excel = CreateExcelTarget(m_opener, blocker + "/Band");

    const std::optional<QString> wordFailure = ReasonOf(ExportToWord(tapes, *word));
    const std::optional<QString> excelFailure = ReasonOf(ExportToExcel(tapes, *excel));

    const QString expected = "Im Ordner „" + blocker + "/Band“ kann nichts gespeichert werden.";
    QCOMPARE(wordFailure, expected);
    QCOMPARE(excelFailure, expected);
    QVERIFY(m_opener.opened.isEmpty());
    QCOMPARE(tapes.List1.lines(), QStringList{"1+1"});
}

void TestOfficeExport::unopenedFileIsReportedWithItsPath() {
    m_opener.succeeds = false;
    NumberTape tapes;
    const auto word = CreateWordTarget(m_opener, m_documents.path());

    const std::optional<QString> failure = ReasonOf(ExportToWord(tapes, *word));

    QCOMPARE(m_opener.opened.size(), 1);
    QVERIFY(failure);
    QVERIFY2(failure->contains("„" + m_opener.opened.first() + "“"), qPrintable(*failure));
    QVERIFY2(failure->contains("konnte aber nicht geöffnet werden"), qPrintable(*failure));
    QVERIFY(QFileInfo::exists(m_opener.opened.first()));
}

void TestOfficeExport::fullDiskLeavesNoFileAndSaysSo_data() {
    QTest::addColumn<bool>("word");
    QTest::addColumn<qint64>("free");
    QTest::newRow("word, disk full") << true << qint64{0};
    QTest::newRow("word, 8 KiB free") << true << qint64{8192};
    QTest::newRow("excel, disk full") << false << qint64{0};
    QTest::newRow("excel, 8 KiB free") << false << qint64{8192};
}

void TestOfficeExport::fullDiskLeavesNoFileAndSaysSo() {
    QFETCH(bool, word);
    QFETCH(qint64, free);
    SmallDisk disk;
    if (!disk.mounted())
        QSKIP(qPrintable(disk.whyNot()));
    QVERIFY(disk.fill(free));
    NumberTape tapes;
    QStringList lines;
    for (int i = 0; i < 3000; ++i)
        lines << QStringLiteral("%1*%2").arg(i).arg(i * 7919 % 10007);
    fill(tapes, {lines, lines, lines});

    const std::optional<QString> failure =
        ReasonOf(word ? ExportToWord(tapes, *CreateWordTarget(m_opener, disk.path()))
                      : ExportToExcel(tapes, *CreateExcelTarget(m_opener, disk.path())));

    QVERIFY(failure);
    QVERIFY2(failure->startsWith("Das Band konnte nicht als „" + disk.path() + "/Zifferon-Band "),
             qPrintable(*failure));
    QVERIFY2(failure->endsWith(" gespeichert werden: Kein Speicherplatz mehr auf dem Datenträger."),
             qPrintable(*failure));
    QCOMPARE(disk.files(), QStringList{});
    QVERIFY(m_opener.opened.isEmpty());
}

void TestOfficeExport::overlongCellIsReportedInGerman() {
    NumberTape tapes;
    fill(tapes, {{QString(40000, u'7')}, {}, {}});

    const std::optional<QString> failure =
        ReasonOf(ExportToExcel(tapes, *CreateExcelTarget(m_opener, m_documents.path())));

    QVERIFY(failure);
    QVERIFY2(failure->endsWith(": Ein Eintrag ist länger als die 32.767 Zeichen, die eine Zelle "
                               "fassen kann."),
             qPrintable(*failure));
    QCOMPARE(QDir(m_documents.path()).entryList(QDir::Files), QStringList{});
}

void TestOfficeExport::desktopOpenerReportsFailures_data() {
    QTest::addColumn<QString>("script"); // empty: no such program
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("report");
    QTest::newRow("opener succeeds") << "exit 0" << true << "";
    QTest::newRow("opener finds no application")
        << "exit 3" << true << "kein Programm dafür gefunden.";
    QTest::newRow("opener fails") << "exit 4" << true
                                  << "das Programm zum Öffnen meldete einen Fehler (Code 4).";
    QTest::newRow("opener is killed")
        << "kill -9 $$" << true << "das Programm zum Öffnen brach ab.";
    QTest::newRow("no opener installed") << "" << false << "";
}

void TestOfficeExport::desktopOpenerReportsFailures() {
    QFETCH(QString, script);
    QFETCH(bool, started);
    QFETCH(QString, report);
    const QString program = m_documents.filePath("opener");
    if (!script.isEmpty()) {
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(("#!/bin/sh\n" + script + "\n").toUtf8());
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    }
    QStringList reports;
    const std::unique_ptr<FileOpener> opener = CreateDesktopOpener(
        [&reports](const QString& path, const QString& cause) {
            reports << ExportNotShownWarning(path, cause);
        },
        program);
    const QString document = m_documents.filePath("Band.docx");

    QCOMPARE(opener->open(document), started);

    if (report.isEmpty()) {
        QTest::qWait(200);
        QCOMPARE(reports, QStringList{});
        return;
    }
    QTRY_COMPARE(reports.size(), 1);
    QCOMPARE(reports.first(),
             "Die Datei „" + document +
                 "“ wurde gespeichert, konnte aber nicht geöffnet werden: " + report);
}

QTEST_MAIN(TestOfficeExport)
#include "tst_office_export.moc"
