#include "calc/recalculation.h"
#include "tests/support/fixed_width_measurer.h"
#include "tests/support/tape_lines.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

// With blanks and characters 100 twips wide and the 100 twips right margin, a line of this
// list holds 12 characters.
constexpr int ListWidth = 1300;
constexpr int OneDecimal = 0;
constexpr int TwoDecimals = 1;
constexpr int NoDecimals = -1;

// Draws "11" half a character closer together, as a font with kerning would.
class KerningMeasurer : public FixedWidthMeasurer {
public:
    double textWidth(const QString& text) const override {
        double width = FixedWidthMeasurer::textWidth(text);
        for (qsizetype i = text.indexOf(u"11"); i >= 0; i = text.indexOf(u"11", i + 1))
            width -= 50.0;
        return width;
    }
};

struct TapeLines {
    QStringList formulas;
    QStringList results;
    QStringList totals;
};

// The tape as the correction's steps write it, one after the other: the two lines at k
// replaced where they exist, then every total recomputed from the displayed lines.
TapeLines referenceCorrection(const NumberTape& before, int k, const QString& formula,
                              const QString& resultText, const LineFormat& format) {
    const auto aligned = [&format](QString text) {
        RightAlignForList(format.measurer, format.listWidthTwips, text); // too wide: as it is
        return text;
    };
    TapeLines after{before.List1.lines(), before.List2.lines(), {}};
    if (k >= 0 && k < after.formulas.size())
        after.formulas[k] = aligned(formula);
    if (k >= 0 && k < after.results.size())
        after.results[k] = aligned(FormatResult(resultText, format.decimals));
    for (qsizetype i = 0; i < after.results.size(); ++i) {
        const double x =
            TextToNumber(FormatResult(after.results[i], format.decimals)).value_or(0.0);
        const double previous =
            i == 0 ? 0.0
                   : TextToNumber(FormatResult(after.totals[i - 1], format.decimals)).value_or(0.0);
        after.totals.append(aligned(FormatResult(x + previous, format.decimals)));
    }
    return after;
}

// Calculation lines of every kind a tape can hold or a user could put there by hand: results
// with the decimals of their time, padded or not, large and tiny, negative zero, exponent forms,
// blanks, and texts that do not read as numbers.
class RandomTapeLines {
public:
    explicit RandomTapeLines(quint32 seed)
        : m_random(seed) {}

    int bounded(int lowest, int highest) { return m_random.bounded(lowest, highest + 1); }

    double value() {
        const double magnitude = std::pow(10.0, bounded(-12, 20));
        const double value = m_random.generateDouble() * magnitude;
        switch (bounded(0, 5)) {
        case 0:
            return std::round(value); // whole numbers
        case 1:
            return -value;
        case 2:
            return bounded(-999, 999) / 100.0; // cents
        default:
            return value * (bounded(0, 1) ? 1 : -1);
        }
    }

    QString line(const FixedWidthMeasurer& measurer) {
        static const QStringList texts{"",
                                       "   ",
                                       "Wahr",
                                       "Falsch",
                                       "3+4",
                                       "1,2,3",
                                       "-0,00",
                                       "-0",
                                       "1E+20",
                                       "1,5E-07",
                                       " -2,5E+3 ",
                                       "12.5",
                                       "+7,25",
                                       "0012,50",
                                       "12,50  ",
                                       "-",
                                       ",5",
                                       "5,",
                                       "1234567890123456,78",
                                       "-99999999999999,99",
                                       "0,00000000000000000000000000000000000001"};
        if (bounded(0, 5) == 0)
            return texts[bounded(0, static_cast<int>(texts.size()) - 1)];
        QString text = FormatResult(value(), bounded(0, 9));
        if (bounded(0, 3) > 0)
            RightAlignForList(measurer, ListWidth, text);
        return text;
    }

private:
    QRandomGenerator m_random;
};

} // namespace

class TestRecalculation : public QObject {
    Q_OBJECT

private slots:
    void init();
    void totals_follow_displayed_results_data();
    void totals_follow_displayed_results();
    void totals_are_right_aligned_or_unpadded_when_too_wide();
    void totals_are_handed_over_in_one_change();
    void kerned_totals_are_aligned_as_measured();
    void random_tapes_are_recomputed_as_the_reference_does_data();
    void random_tapes_are_recomputed_as_the_reference_does();
    void correction_replaces_line_k_data();
    void correction_replaces_line_k();

private:
    void fill(const QStringList& formulas, const QStringList& results, const QStringList& totals);
    LineFormat format(DecimalsIndex decimals) const { return {m_measurer, decimals, ListWidth}; }

    FixedWidthMeasurer m_measurer;
    std::unique_ptr<NumberTape> m_tapes;
};

void TestRecalculation::init() {
    m_tapes = std::make_unique<NumberTape>();
}

void TestRecalculation::fill(const QStringList& formulas, const QStringList& results,
                             const QStringList& totals) {
    m_tapes->List1.append(formulas);
    m_tapes->List2.append(results);
    m_tapes->List3.append(totals);
}

void TestRecalculation::totals_follow_displayed_results_data() {
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QStringList>("totalsBefore");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QStringList>("totals");

    const QStringList three{"5,00", "3,00", "4,00"};
    QTest::newRow("running sum from the first line")
        << three << QStringList{"0,00", "0,00", "0,00"} << TwoDecimals
        << QStringList{"5,00", "8,00", "12,00"};
    QTest::newRow("results rounded again to fewer decimals")
        << QStringList{"0,33", "0,33", "0,33"} << QStringList{"0,33", "0,66", "0,99"} << OneDecimal
        << QStringList{"0,3", "0,6", "0,9"};
    QTest::newRow("results rounded half away from zero")
        << QStringList{"0,25", "-0,25"} << QStringList{"", ""} << OneDecimal
        << QStringList{"0,3", "0,0"};
    QTest::newRow("results beyond 15 digits rounded before counting")
        << QStringList{"1234567890123456,78", "-1234567890123456,00"} << QStringList{"", ""}
        << TwoDecimals << QStringList{"1234567890123460,00", "0,00"};
    QTest::newRow("results with more decimals rounded before counting")
        << QStringList{"0,335", "0,335"} << QStringList{"", ""} << TwoDecimals
        << QStringList{"0,34", "0,68"};
    QTest::newRow("blank and text results add nothing")
        << QStringList{"5,00", "", "Wahr", "4,00"} << QStringList{"", "", "", ""} << TwoDecimals
        << QStringList{"5,00", "5,00", "5,00", "9,00"};
    QTest::newRow("longer totals tape is cut to the results")
        << three << QStringList{"1", "2", "3", "4", "5"} << TwoDecimals
        << QStringList{"5,00", "8,00", "12,00"};
    QTest::newRow("shorter totals tape is completed")
        << three << QStringList{"1"} << TwoDecimals << QStringList{"5,00", "8,00", "12,00"};
    QTest::newRow("no results empties the totals")
        << QStringList{} << QStringList{"1", "2"} << TwoDecimals << QStringList{};
    QTest::newRow("no decimals chosen gives blank totals")
        << QStringList{"5,00", "3,00"} << QStringList{"5,00", "8,00"} << NoDecimals
        << QStringList{"", ""};
}

void TestRecalculation::totals_follow_displayed_results() {
    QFETCH(QStringList, results);
    QFETCH(QStringList, totalsBefore);
    QFETCH(int, decimals);
    QFETCH(QStringList, totals);
    fill({}, results, totalsBefore);

    RecalculateTotals(*m_tapes, format(decimals));

    QCOMPARE(trimmedLines(m_tapes->List3), totals);
    QCOMPARE(m_tapes->List2.lines(), results);
}

void TestRecalculation::totals_are_right_aligned_or_unpadded_when_too_wide() {
    fill({}, {"5,00", "99999999999,00"}, {});

    RecalculateTotals(*m_tapes, format(TwoDecimals));

    QCOMPARE(m_tapes->List3.text(0), QStringLiteral("        5,00"));
    QCOMPARE(m_tapes->List3.text(1), QStringLiteral("100000000004,00"));
}

void TestRecalculation::totals_are_handed_over_in_one_change() {
    fill({}, {"1,00", "2,00", "3,00", "4,00"}, {"", ""});
    QSignalSpy changed(&m_tapes->List3, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(&m_tapes->List3, &QAbstractItemModel::rowsInserted);

    RecalculateTotals(*m_tapes, format(TwoDecimals));

    QCOMPARE(changed.count(), 1);
    QCOMPARE(inserted.count(), 1);
}

void TestRecalculation::kerned_totals_are_aligned_as_measured() {
    const KerningMeasurer kerning;
    const LineFormat kerned{kerning, TwoDecimals, ListWidth};
    fill({}, {"11,00", "100,00", "-11,00"}, {});

    RecalculateTotals(*m_tapes, kerned);

    QCOMPARE(m_tapes->List3.text(0), QStringLiteral("        11,00"));
    QCOMPARE(m_tapes->List3.text(1), QStringLiteral("       111,00"));
    QCOMPARE(m_tapes->List3.text(2), QStringLiteral("      100,00"));
}

void TestRecalculation::random_tapes_are_recomputed_as_the_reference_does_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("kerning");
    QTest::newRow("seed 1") << 1u << false;
    QTest::newRow("seed 2, kerned") << 2u << true;
    QTest::newRow("seed 3") << 3u << false;
    QTest::newRow("seed 4, kerned") << 4u << true;
}

void TestRecalculation::random_tapes_are_recomputed_as_the_reference_does() {
    QFETCH(quint32, seed);
    QFETCH(bool, kerning);
    const KerningMeasurer kerned;
    const FixedWidthMeasurer& measurer =
        kerning ? static_cast<const FixedWidthMeasurer&>(kerned) : m_measurer;
    RandomTapeLines random(seed);
    for (int tape = 0; tape < 400; ++tape) {
        init();
        const int lines = random.bounded(0, 40);
        for (int i = 0; i < lines; ++i) {
            m_tapes->List1.append(QStringLiteral("%1").arg(i));
            m_tapes->List2.append(random.line(measurer));
        }
        for (int i = random.bounded(0, lines + 3); i > 0; --i)
            m_tapes->List3.append(random.line(measurer));
        const int k = random.bounded(-1, lines);
        const QString resultText = random.bounded(0, 4) ? NumberToText(random.value()) : QString();
        const LineFormat format{measurer, random.bounded(-1, 9), ListWidth};
        const TapeLines expected =
            referenceCorrection(*m_tapes, k, QStringLiteral("7*6"), resultText, format);

        CorrectLine(*m_tapes, k, QStringLiteral("7*6"), resultText, format);

        const QByteArray where = QByteArray("tape ") + QByteArray::number(tape);
        QVERIFY2(m_tapes->List1.lines() == expected.formulas, where);
        QVERIFY2(m_tapes->List2.lines() == expected.results, where);
        QCOMPARE(m_tapes->List3.lines(), expected.totals);
    }
}

void TestRecalculation::correction_replaces_line_k_data() {
    QTest::addColumn<QStringList>("formulas");
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("expectedFormulas");
    QTest::addColumn<QStringList>("expectedResults");
    QTest::addColumn<QStringList>("expectedTotals");

    const QStringList formulas{"2+3", "1.5*2", "4"};
    QTest::newRow("second line corrected")
        << formulas << 1 << "1.5*4"
        << "6" << QStringList{"2+3", "1.5*4", "4"} << QStringList{"5,00", "6,00", "4,00"}
        << QStringList{"5,00", "11,00", "15,00"};
    QTest::newRow("failed formula leaves a blank result")
        << formulas << 1 << "5/0"
        << "" << QStringList{"2+3", "5/0", "4"} << QStringList{"5,00", "", "4,00"}
        << QStringList{"5,00", "5,00", "9,00"};
    QTest::newRow("first line corrected")
        << formulas << 0 << "1"
        << "1" << QStringList{"1", "1.5*2", "4"} << QStringList{"1,00", "3,00", "4,00"}
        << QStringList{"1,00", "4,00", "8,00"};
    QTest::newRow("no selection replaces nothing")
        << formulas << -1 << "7"
        << "7" << formulas << QStringList{"5,00", "3,00", "4,00"}
        << QStringList{"5,00", "8,00", "12,00"};
    QTest::newRow("formula line past the results replaces the formula only")
        << (formulas + QStringList{"9"}) << 3 << "8"
        << "8" << QStringList{"2+3", "1.5*2", "4", "8"} << QStringList{"5,00", "3,00", "4,00"}
        << QStringList{"5,00", "8,00", "12,00"};
    QTest::newRow("too wide formula stands unpadded")
        << formulas << 2 << "1+2+3+4+5+6+7"
        << "28" << QStringList{"2+3", "1.5*2", "1+2+3+4+5+6+7"}
        << QStringList{"5,00", "3,00", "28,00"} << QStringList{"5,00", "8,00", "36,00"};
}

void TestRecalculation::correction_replaces_line_k() {
    QFETCH(QStringList, formulas);
    QFETCH(int, k);
    QFETCH(QString, formula);
    QFETCH(QString, result);
    QFETCH(QStringList, expectedFormulas);
    QFETCH(QStringList, expectedResults);
    QFETCH(QStringList, expectedTotals);
    fill(formulas, {"5,00", "3,00", "4,00"}, {"5,00", "8,00", "12,00"});

    CorrectLine(*m_tapes, k, formula, result, format(TwoDecimals));

    QCOMPARE(trimmedLines(m_tapes->List1), expectedFormulas);
    QCOMPARE(trimmedLines(m_tapes->List2), expectedResults);
    QCOMPARE(trimmedLines(m_tapes->List3), expectedTotals);
    if (k >= 0 && formula.size() < 12)
        QCOMPARE(m_tapes->List1.text(k).size(), 12);
}

QTEST_GUILESS_MAIN(TestRecalculation)
#include "tst_recalculation.moc"
