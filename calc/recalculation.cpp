#include "calc/recalculation.h"

#include "calc/text_measurer.h"

#include <algorithm>
#include <array>

namespace {

// Measures tape lines quickly and to the same result as the window's measurer: a text of
// ASCII characters is the sum of its characters' widths wherever every neighbouring pair was
// found to measure as the sum of its two characters (fonts adjust widths pairwise only, by
// kerning). Any other text is measured by the window's measurer.
class LineMeasurer : public TextMeasurer {
public:
    explicit LineMeasurer(const TextMeasurer& measurer)
        : m_measurer(measurer) {}

    double textWidth(const QString& text) const override {
        double width = 0.0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            if (c >= Ascii || (i > 0 && !isAdditive(text.at(i - 1).unicode(), c)))
                return m_measurer.textWidth(text);
            width += characterWidth(c);
        }
        return width;
    }
    int checkMarkWidth() const override { return m_measurer.checkMarkWidth(); }

private:
    static constexpr char16_t Ascii = 128;
    enum class Pair : char { Unknown, Additive, Adjusted };

    double characterWidth(char16_t c) const {
        std::optional<double>& width = m_widths[c];
        if (!width)
            width = m_measurer.textWidth(QString(QChar(c)));
        return *width;
    }

    bool isAdditive(char16_t left, char16_t right) const {
        Pair& pair = m_pairs[left][right];
        if (pair == Pair::Unknown) {
            const double together = m_measurer.textWidth(QString(QChar(left)) + QChar(right));
            pair = together == characterWidth(left) + characterWidth(right) ? Pair::Additive
                                                                            : Pair::Adjusted;
        }
        return pair == Pair::Additive;
    }

    const TextMeasurer& m_measurer;
    mutable std::array<std::optional<double>, Ascii> m_widths{};
    mutable std::array<std::array<Pair, Ascii>, Ascii> m_pairs{};
};

// True when the text is what FormatResult writes for its own value with this many decimals
// ("-12,50" with two), so that rounding it again leaves it as it is.
bool IsFormattedWith(QStringView text, int decimals) {
    constexpr qsizetype ExactDigits = 15;
    const QStringView number = text.startsWith(u'-') ? text.mid(1) : text;
    const qsizetype comma = number.indexOf(u',');
    if (decimals < 1 || comma < 1 || number.size() - comma - 1 != decimals ||
        number.size() - 1 > ExactDigits)
        return false;
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const QStringView integer = number.left(comma);
    const QStringView fraction = number.mid(comma + 1);
    if (!std::all_of(integer.begin(), integer.end(), isDigit) ||
        !std::all_of(fraction.begin(), fraction.end(), isDigit))
        return false;
    const bool leadingZero = integer.size() > 1 && integer.front() == u'0';
    const bool negativeZero =
        number.size() < text.size() && integer == u"0" &&
        std::all_of(fraction.begin(), fraction.end(), [](QChar c) { return c == u'0'; });
    return !leadingZero && !negativeZero;
}

// The tape line read back as a number after rounding it to the current decimals; 0 when it
// does not read as one.
double DisplayedValue(const QString& line, DecimalsIndex decimals) {
    if (IsFormattedWith(QStringView(line).trimmed(), decimals + 1))
        return *TextToNumber(line);
    return TextToNumber(FormatResult(line, decimals)).value_or(0.0);
}

// Writes the line at position k as removing and inserting it would: the lines keep their
// places, and a selection of line k is dropped.
void ReplaceLine(Tape& list, int k, const QString& line) {
    list.replaceAt(k, line); // a list without line k keeps its lines
    if (list.selected() == k)
        list.setSelected(-1);
}

} // namespace

void RecalculateTotals(NumberTape& tapes, const LineFormat& windowFormat) {
    const LineMeasurer measurer(windowFormat.measurer);
    const LineFormat format{measurer, windowFormat.decimals};
    const QStringList& results = tapes.List2.lines();
    QStringList totals;
    totals.reserve(results.size());
    double previous = 0.0;
    for (const QString& result : results) {
        const QString total =
            FormatResult(DisplayedValue(result, format.decimals) + previous, format.decimals);
        previous = TextToNumber(total).value_or(0.0);
        totals.append(AlignedForList(format, tapes.List3, total));
    }
    tapes.List3.setSelected(-1);
    tapes.List3.replaceFrom(0, std::move(totals));
}

void CorrectLine(NumberTape& tapes, int k, const QString& formula, const QString& resultText,
                 const LineFormat& format) {
    ReplaceLine(tapes.List1, k, AlignedForList(format, tapes.List1, formula));
    ReplaceLine(tapes.List2, k,
                AlignedForList(format, tapes.List2, FormatResult(resultText, format.decimals)));
    RecalculateTotals(tapes, format);
}
