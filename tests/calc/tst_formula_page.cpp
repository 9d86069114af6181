// The manual's formula page: every example it gives is what the program computes.
#include "calc/evaluation.h"
#include "calc/script_functions.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Example {
    QString formula;
    QString expected;
};

QString pageText() {
    QFile file(QStringLiteral(ZIFFERON_FORMULA_PAGE));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The page's entities and typographic minus as the formula field would hold them.
QString plain(QString html) {
    html.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return html.replace(QChar(0x2212), u'-');
}

// "(leer)" stands for the empty result; punctuation that ends a sentence is not part of it.
QString expectedText(QString result) {
    if (result.startsWith(QStringLiteral("(leer)")))
        return {};
    while (!result.isEmpty() && QStringLiteral(".,;:").contains(result.back()))
        result.chop(1);
    return plain(result);
}

QList<Example> matches(const QString& text, const QRegularExpression& pattern) {
    QList<Example> examples;
    for (const QRegularExpressionMatch& match : pattern.globalMatch(text))
        examples.append({plain(match.captured(1)), expectedText(match.captured(2))});
    return examples;
}

// Every "<code>formula</code> = result" of the page; a result is one word.
QList<Example> inlineExamples() {
    static const QRegularExpression pattern(
        QStringLiteral(R"(<code>([^<]*)</code>\s+=\s+([^\s<]+))"));
    return matches(pageText(), pattern);
}

// The rows "formula | tape line" of the examples section, written with two decimals.
QList<Example> tapeExamples() {
    static const QRegularExpression pattern(
        QStringLiteral(R"(<tr><td><code>([^<]*)</code></td><td>([^<]*)</td></tr>)"));
    const QString page = pageText();
    return matches(page.mid(page.indexOf(QStringLiteral("name=\"beispiele\""))), pattern);
}

// A formula as the tape evaluates it: the formula field's commas become points first.
QString resultText(const QString& formula) {
    return EvaluateFormula(FormulaWithDecimalPoint(formula));
}

void addExampleRows(const QList<Example>& examples) {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("expected");
    for (const Example& example : examples)
        QTest::newRow(qPrintable(example.formula)) << example.formula << example.expected;
}

} // namespace

class TestFormulaPage : public QObject {
    Q_OBJECT

private slots:
    void pageHasExamples();
    void examplesAreComputed_data();
    void examplesAreComputed();
    void tapeLinesAreComputed_data();
    void tapeLinesAreComputed();
    void everyFunctionHasAnExample();
};

void TestFormulaPage::pageHasExamples() {
    QVERIFY(!pageText().isEmpty());
    QVERIFY(inlineExamples().size() >= 80);
    QVERIFY(tapeExamples().size() >= 8);
}

void TestFormulaPage::examplesAreComputed_data() {
    addExampleRows(inlineExamples());
}

void TestFormulaPage::examplesAreComputed() {
    QFETCH(QString, formula);
    QFETCH(QString, expected);
    QCOMPARE(resultText(formula), expected);
}

void TestFormulaPage::tapeLinesAreComputed_data() {
    addExampleRows(tapeExamples());
}

void TestFormulaPage::tapeLinesAreComputed() {
    QFETCH(QString, formula);
    QFETCH(QString, expected);
    constexpr DecimalsIndex TwoDecimals = 1;
    QCOMPARE(FormatResult(resultText(formula), TwoDecimals), expected);
}

void TestFormulaPage::everyFunctionHasAnExample() {
    const QList<Example> examples = inlineExamples();
    for (const auto kind :
         {script::MathFunctions(), script::TypeFunctions(), script::TextFunctions()}) {
        for (const script::Function& function : kind) {
            const QString call = QString::fromLatin1(function.name.data(),
                                                     static_cast<qsizetype>(function.name.size())) +
                                 u'(';
            const bool shown = std::any_of(examples.begin(), examples.end(), [&](const Example& e) {
                return e.formula.contains(call, Qt::CaseInsensitive);
            });
            QVERIFY2(shown, qPrintable(call));
        }
    }
}

QTEST_GUILESS_MAIN(TestFormulaPage)
#include "tst_formula_page.moc"
