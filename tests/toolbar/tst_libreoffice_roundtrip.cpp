#include "calc/evaluation.h"
#include "resources/fonts.h"
#include "toolbar/office_export.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>

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

// The tapes as the main window writes them: lists of its width, lines padded for its font, two
// decimals. In that font digits are two blanks wide, comma, point and slash one and a plus sign
// nearly two, so that the blanks line these entries up on the right as the window shows them;
// in another font the plus signs push the formulas out of line.
void fillAsTheWindow(NumberTape& tapes) {
    constexpr int ListWidthTwips = 1695;
    const FontMeasurer measurer(fonts::WindowDefault());
    for (const char* formula : {"1+2+3", "12", "100/8", "3456,78", "2+3"})
        EvaluateOntoTapes(tapes, QString::fromLatin1(formula),
                          LineFormat{measurer, 1, ListWidthTwips});
}

// A word of a PDF page and its box in points, as pdftotext -bbox gives them, in reading order.
struct Word {
    QString text;
    double left;
    double right;
    double top;
};

QList<Word> wordsOf(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {"-bbox", pdf, "-"});
    process.waitForFinished(60'000);
    QXmlStreamReader xml(process.readAllStandardOutput());
    QList<Word> words;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"word") {
            const QXmlStreamAttributes box = xml.attributes();
            const double left = box.value(QStringLiteral("xMin")).toDouble();
            const double right = box.value(QStringLiteral("xMax")).toDouble();
            const double top = box.value(QStringLiteral("yMin")).toDouble();
            words.append({xml.readElementText(), left, right, top});
        }
    }
    return words;
}

// How far apart the right edges of the words lie, in pixels at 100 dots per inch.
double rightEdgeSpread(const QList<Word>& words) {
    const auto [low, high] = std::minmax_element(
        words.begin(), words.end(), [](const Word& a, const Word& b) { return a.right < b.right; });
    return (high->right - low->right) * 100.0 / 72.0;
}

QStringList textsOf(const QList<Word>& words) {
    QStringList texts;
    for (const Word& word : words)
        texts << word.text;
    return texts;
}

// The words of a sheet's page by column: rows from the top, within a row from the left.
QList<QList<Word>> columnsOf(QList<Word> words) {
    const auto sameRow = [](const Word& a, const Word& b) { return qAbs(a.top - b.top) <= 1; };
    std::sort(words.begin(), words.end(), [&sameRow](const Word& a, const Word& b) {
        return sameRow(a, b) ? a.left < b.left : a.top < b.top;
    });
    QList<QList<Word>> columns;
    qsizetype column = 0;
    for (qsizetype i = 0; i < words.size(); ++i) {
        column = i > 0 && sameRow(words[i], words[i - 1]) ? column + 1 : 0;
        if (column == columns.size())
            columns.append(QList<Word>{});
        columns[column].append(words[i]);
    }
    return columns;
}

double points(const QString& length) {
    const double value = length.chopped(2).toDouble();
    return length.endsWith(QLatin1String("in")) ? value * 72 : value * 72 / 2.54;
}

// The widths LibreOffice gives the sheet's first columns, in points, read from its own format.
QList<double> columnWidthsOf(const QString& flatOds, int count) {
    QFile file(flatOds);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QHash<QString, double> widthOfStyle;
    QString style;
    QList<double> widths;
    while (!xml.atEnd() && widths.size() < count) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const auto attribute = [&attributes](const char* name) {
            return attributes.value(QLatin1String(name)).toString();
        };
        if (xml.name() == QLatin1String("style"))
            style = attribute("style:name");
        else if (xml.name() == QLatin1String("table-column-properties"))
            widthOfStyle[style] = points(attribute("style:column-width"));
        else if (xml.name() == QLatin1String("table-column"))
            widths.append(
                QList<double>(std::max(1, attribute("table:number-columns-repeated").toInt()),
                              widthOfStyle.value(attribute("table:style-name"))));
    }
    return widths.mid(0, count);
}

QStringList trimmed(const QStringList& lines) {
    QStringList texts;
    for (const QString& line : lines)
        texts << line.trimmed();
    return texts;
}

} // namespace

class TestLibreOfficeRoundTrip : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void documentReadsAsTheTapes();
    void workbookReadsAsTheTapes();
    void documentLinesUpEachTapeOnTheRight();
    void workbookLinesUpEachColumnOnTheRight();

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

// In the tapes' font the blanks right-align each tape's entries on the printed page.
void TestLibreOfficeRoundTrip::documentLinesUpEachTapeOnTheRight() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    NumberTape tapes;
    fillAsTheWindow(tapes);
    const auto target = CreateWordTarget(m_opener, m_folder.path());
    QCOMPARE(ExportToWord(tapes, *target), std::nullopt);

    const QList<Word> words = wordsOf(convert(m_opener.opened, "pdf"));

    QCOMPARE(words.size(), 15);
    for (int tape = 0; tape < 3; ++tape) {
        const Tape& shown = *std::array{&tapes.List1, &tapes.List2, &tapes.List3}[tape];
        const QList<Word> entries = words.mid(tape * 5, 5);
        QCOMPARE(textsOf(entries), trimmed(shown.lines()));
        QVERIFY2(rightEdgeSpread(entries) <= 2,
                 qPrintable(QString::number(rightEdgeSpread(entries))));
    }
}

// In the tapes' font, each column wide enough for its longest entry, the blanks right-align each
// column's entries on the printed page.
void TestLibreOfficeRoundTrip::workbookLinesUpEachColumnOnTheRight() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    NumberTape tapes;
    fillAsTheWindow(tapes);
    const auto target = CreateExcelTarget(m_opener, m_folder.path());
    QCOMPARE(ExportToExcel(tapes, *target), std::nullopt);

    const QList<QList<Word>> columns = columnsOf(wordsOf(convert(m_opener.opened, "pdf")));
    const QList<double> widths = columnWidthsOf(convert(m_opener.opened, "fods"), 3);

    QCOMPARE(columns.size(), 3);
    const QFontMetricsF metrics(fonts::WindowDefault());
    for (int column = 0; column < 3; ++column) {
        const Tape& shown = *std::array{&tapes.List1, &tapes.List2, &tapes.List3}[column];
        QCOMPARE(textsOf(columns[column]), trimmed(shown.lines()));
        QVERIFY2(rightEdgeSpread(columns[column]) <= 2,
                 qPrintable(QString::number(rightEdgeSpread(columns[column]))));
        double longest = 0;
        for (const QString& line : shown.lines())
            longest = std::max(longest, metrics.horizontalAdvance(line) * 72 / 96);
        QVERIFY2(
            widths.value(column) > longest,
            qPrintable(QStringLiteral("%1 pt for %2 pt").arg(widths.value(column)).arg(longest)));
    }
}

QTEST_MAIN(TestLibreOfficeRoundTrip)
#include "tst_libreoffice_roundtrip.moc"
