#include "calc/recalculation.h"

#include "calc/text_measurer.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

// Powers of ten that a qint64 holds.
constexpr std::array<qint64, 19> PowersOfTen = [] {
    std::array<qint64, 19> powers{1};
    for (size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}();

constexpr int ExactDigits = 15; // what FormatResult and NumberToText keep of a double

// Values below this many units of their last decimal (about 7E13) add up exactly: the double
// sum of two of them lies within 3 × 2^-53 of its magnitude from their exact sum, and its
// 15-digit form within half a unit of its 15th digit more; together that is less than 0.38
// units of the last decimal, so FormatResult, rounding the 15-digit form, writes the exact sum.
constexpr qint64 ExactUnits = qint64{1} << 46;

// A decimal as written: its digits as a whole number, and how many of them are decimals.
struct PlainDecimal {
    qint64 digits = 0;
    int decimals = 0;
    bool negative = false;
};

// A decimal in the form that TextToNumber reads without an exponent ("  -12,50 "); nothing
// for any other text, or for one with more digits than a double keeps exactly.
std::optional<PlainDecimal> readPlainDecimal(QStringView text) {
    PlainDecimal number;
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && text[i] == u' ')
            ++i;
    };
    skipBlanks();
    number.negative = i < text.size() && text[i] == u'-';
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    int significant = 0;
    int mantissaDigits = 0;
    bool separated = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if ((c == u',' || c == u'.') && !separated) {
            separated = true;
            continue;
        }
        if (!IsAsciiDigit(c))
            break;
        number.digits = number.digits * 10 + (c.unicode() - u'0');
        significant += number.digits > 0;
        ++mantissaDigits;
        number.decimals += separated;
        if (significant > ExactDigits)
            return std::nullopt;
    }
    skipBlanks();
    if (mantissaDigits == 0 || i != text.size())
        return std::nullopt;
    return number;
}

// The decimal rounded half away from zero to the decimals, as FormatResult rounds it, in units
// of the last decimal (-1250 for -12,50 with two decimals); nothing beyond ExactUnits.
std::optional<qint64> unitsOf(const PlainDecimal& number, int decimals) {
    const int dropped = number.decimals - decimals;
    qint64 units = 0;
    if (dropped >= static_cast<int>(PowersOfTen.size())) {
        units = 0; // fewer than 16 digits, all far below half a unit
    } else if (dropped > 0) {
        const qint64 unit = PowersOfTen[static_cast<size_t>(dropped)];
        units = number.digits / unit + (number.digits % unit * 2 >= unit ? 1 : 0);
    } else {
        const qint64 scale = PowersOfTen[static_cast<size_t>(-dropped)];
        if (number.digits >= ExactUnits / scale)
            return std::nullopt;
        units = number.digits * scale;
    }
    if (units >= ExactUnits)
        return std::nullopt;
    return number.negative ? -units : units;
}

std::optional<qint64> unitsOf(QStringView text, int decimals) {
    const std::optional<PlainDecimal> number = readPlainDecimal(text);
    return number ? unitsOf(*number, decimals) : std::nullopt;
}

// Writes the units as FormatResult writes their value ("-12,50", never "-0,00") into the text,
// whose memory is reused.
void writeUnits(qint64 units, int decimals, QString& text) {
    std::array<char16_t, 32> buffer{};
    auto position = buffer.end();
    qint64 rest = std::llabs(units);
    for (int digit = 0; digit < decimals; ++digit, rest /= 10)
        *--position = static_cast<char16_t>(u'0' + rest % 10);
    *--position = u',';
    do {
        *--position = static_cast<char16_t>(u'0' + rest % 10);
        rest /= 10;
    } while (rest > 0);
    if (units < 0)
        *--position = u'-';
    text.resize(buffer.end() - position);
    std::copy(position, buffer.end(), text.data());
}

// The running total as the totals tape shows it: each calculation line rounded to the
// decimals chosen now, added to the total above it read back from its text. While every
// value is a small enough decimal, the total is carried as a count of units of its last
// decimal, which gives exactly what formatting the sum and reading it back give; any other
// line is added as the totals tape has always been computed.
class RunningTotal {
public:
    explicit RunningTotal(DecimalsIndex decimals)
        : m_index(decimals)
        , m_decimals(decimals + 1)
        , m_units(isValid() ? std::optional<qint64>(0) : std::nullopt) {}

    // Adds the calculation line and returns the new total's text, valid until the next line.
    const QString& add(const QString& result) {
        if (m_units) {
            if (const std::optional<qint64> x = unitsOf(result, m_decimals)) {
                const qint64 sum = *m_units + *x;
                if (std::llabs(sum) < ExactUnits)
                    return carry(sum);
            }
        }
        return addAsDisplayed(result);
    }

private:
    bool isValid() const { return IsValidDecimalsIndex(m_index); }

    const QString& carry(qint64 units) {
        m_units = units;
        m_value = static_cast<double>(units) /
                  static_cast<double>(PowersOfTen[static_cast<size_t>(m_decimals)]);
        writeUnits(units, m_decimals, m_text);
        return m_text;
    }

    // The result line read back after rounding it to the decimals (0 when it does not read
    // as a number) plus the total above, formatted; the total is then read back from its text.
    const QString& addAsDisplayed(const QString& result) {
        const double x = TextToNumber(FormatResult(result, m_index)).value_or(0.0);
        m_text = FormatResult(x + m_value, m_index);
        m_value = TextToNumber(m_text).value_or(0.0);
        m_units = isValid() ? unitsOf(m_text, m_decimals) : std::nullopt;
        return m_text;
    }

    DecimalsIndex m_index;
    int m_decimals;
    double m_value = 0.0;
    std::optional<qint64> m_units;
    QString m_text;
};

// Right-aligns texts for a list into memory that is reused from line to line.
class Aligner {
public:
    explicit Aligner(const LineFormat& format)
        : m_measurer(format.measurer)
        , m_listWidthTwips(format.listWidthTwips) {}

    // The text right-aligned for the list, or the text itself when it is too wide to be padded;
    // valid until the next text.
    QStringView operator()(const QString& text) {
        const std::optional<qsizetype> blanks =
            AlignmentBlanks(m_measurer, m_listWidthTwips, m_measurer.textWidth(text));
        if (!blanks)
            return text;
        WritePadded(m_line, *blanks, text);
        return m_line;
    }

private:
    const TextMeasurer& m_measurer;
    int m_listWidthTwips;
    QString m_line;
};

} // namespace

void RecalculateTotals(NumberTape& tapes, const LineFormat& format) {
    const QStringList& results = tapes.List2.lines();
    RunningTotal total(format.decimals);
    Aligner aligned(format);
    tapes.List3.rewrite(tapes.List2.count(),
                        [&](int i) { return aligned(total.add(results.at(i))); });
}

void CorrectLine(NumberTape& tapes, int k, const QString& formula, const QString& resultText,
                 const LineFormat& format) {
    tapes.List1.replaceAt(k, AlignedForList(format, formula));
    tapes.List2.replaceAt(k, AlignedForList(format, FormatResult(resultText, format.decimals)));
    RecalculateTotals(tapes, format);
}
