#include "calc/module1.h"

#include "calc/formula_edit.h"
#include "calc/text_measurer.h"
#include "calc/twips.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr int SignificantDigits = 15;
constexpr int MenuCheckPadding = 2;

// A finite, non-zero double as its 15 significant digits and the decimal exponent of the first.
struct DecimalForm {
    QByteArray digits;
    int exponent = 0;
    bool negative = false;
};

DecimalForm decimalForm(double value) {
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, SignificantDigits - 1);
    const std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
    const size_t e = text.find('e');
    DecimalForm form;
    form.negative = std::signbit(value);
    form.digits.append(text[0]);
    form.digits.append(text.substr(2, e - 2).data(), static_cast<qsizetype>(e - 2));
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    form.exponent);
    return form;
}

// Rounds the digit string half away from zero so that it ends at the given count of digits;
// returns true when the rounding carried into a new leading digit.
bool roundDigits(QByteArray& digits, qsizetype keep) {
    const bool roundUp = keep < digits.size() && digits.at(keep) >= '5';
    digits.truncate(keep);
    if (!roundUp)
        return false;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    digits.prepend('1');
    return true;
}

QString formatFixed(double value, int decimals) {
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        return QStringLiteral("0,") + QString(decimals, u'0');
    DecimalForm form = decimalForm(value);
    // Position of the digit just after the kept ones, counted from the first significant digit.
    qsizetype keep = form.exponent + 1 + decimals;
    if (keep < 0) {
        form.digits.clear();
    } else {
        if (roundDigits(form.digits, keep))
            ++form.exponent;
    }
    // Digits before the decimal point and after it, zero-filled.
    const int integerDigits = form.exponent + 1;
    QByteArray all = form.digits;
    if (integerDigits <= 0)
        all.prepend(QByteArray(-integerDigits, '0'));
    const qsizetype wanted = std::max(integerDigits, 0) + decimals;
    if (all.size() < wanted)
        all.append(QByteArray(wanted - all.size(), '0'));
    const QByteArray integerPart = integerDigits > 0 ? all.left(integerDigits) : QByteArray("0");
    const QByteArray fraction = all.mid(std::max(integerDigits, 0), decimals);
    const bool allZero = all.count('0') == all.size();
    QString text = QString::fromLatin1(integerPart);
    if (decimals > 0)
        text += u',' + QString::fromLatin1(fraction);
    if (form.negative && !allZero)
        text.prepend(u'-');
    return text;
}

QString replacePoints(QString text) {
    return text.replace(u'.', u',');
}

// The marks and embeddings that reorder a line's characters as it is shown.
bool isDirectionFormat(char16_t character) {
    return (character >= u'\u202A' && character <= u'\u202E') ||
           (character >= u'\u2066' && character <= u'\u2069') || character == u'\u200E' ||
           character == u'\u200F' || character == u'\u061C';
}

bool isControl(QChar character) {
    return character.category() == QChar::Other_Control || isDirectionFormat(character.unicode());
}

// A text result as the tape shows it: line breaks, the other control characters and the
// direction formats become blanks, as the formula field treats a paste, so that the tape file
// keeps one line per entry and the line shows its characters in the order the total reads them.
QString onOneLine(const QString& text) {
    if (!formula_edit::HasLineBreak(text) && std::none_of(text.cbegin(), text.cend(), isControl))
        return text;
    QString line = formula_edit::LineBreaksAsBlanks(text);
    std::replace_if(line.begin(), line.end(), isControl, u' ');
    return line;
}

} // namespace

QString FormatResult(double value, DecimalsIndex index) {
    return IsValidDecimalsIndex(index) ? formatFixed(value, index + 1) : QString();
}

QString FormatResult(const QString& value, DecimalsIndex index) {
    if (!IsValidDecimalsIndex(index))
        return {};
    const std::optional<double> number = TextToNumber(value);
    return number ? formatFixed(*number, index + 1) : replacePoints(onOneLine(value));
}

QString ToDecimalComma(double value) {
    return NumberToText(value);
}

QString ToDecimalComma(const QString& value) {
    return replacePoints(value);
}

std::optional<qsizetype> AlignmentBlanks(const TextMeasurer& measurer, int listWidthTwips,
                                         double textWidth, ListStyle style) {
    qint64 allowance = 0;
    if (style == ListStyle::CheckBox) {
        allowance = (qint64{measurer.checkMarkWidth()} + MenuCheckPadding) * TwipsPerPixel;
        if (allowance > std::numeric_limits<qint32>::max())
            return std::nullopt;
    }
    const auto w = static_cast<float>(textWidth);
    const auto s = static_cast<float>(measurer.textWidth(QStringLiteral(" ")));
    if (s == 0.0f)
        return std::nullopt;
    const double room =
        ((static_cast<double>(static_cast<float>(listWidthTwips)) - w) - ListRightMarginTwips) -
        static_cast<double>(allowance);
    const double blanks = std::nearbyint(room / s);
    if (!std::isfinite(blanks) || blanks < 0 || blanks > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qsizetype>(blanks);
}

void WritePadded(QString& line, qsizetype blanks, QStringView text) {
    line.resize(blanks + text.size());
    std::fill_n(line.data(), blanks, u' ');
    std::copy(text.cbegin(), text.cend(), line.data() + blanks);
}

std::optional<QString> RightAlignForList(const TextMeasurer& measurer, int listWidthTwips,
                                         QString& text, ListStyle style) {
    const std::optional<qsizetype> blanks =
        AlignmentBlanks(measurer, listWidthTwips, measurer.textWidth(text), style);
    if (!blanks)
        return std::nullopt;
    QString padded;
    WritePadded(padded, *blanks, text);
    text = std::move(padded);
    return text;
}

QString GermanCount(qint64 number) {
    return QLocale(QLocale::German).toString(number);
}

QString NumberToText(double number) {
    if (!std::isfinite(number))
        return {};
    if (number == 0)
        return QStringLiteral("0");
    // "%.15G": exponent form below 1E-04 and from 1E+15 on, no trailing zeros.
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, number,
                                   std::chars_format::general, SignificantDigits)
                         .ptr;
    QString text = QString::fromLatin1(buffer, end - buffer);
    return replacePoints(text.replace(u'e', u'E'));
}

std::optional<double> TextToNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    QByteArray plain;
    plain.reserve(trimmed.size());
    qsizetype i = 0;
    const auto at = [&](qsizetype position) {
        return position < trimmed.size() ? trimmed.at(position).unicode() : char16_t{0};
    };
    if (at(i) == u'+' || at(i) == u'-')
        plain.append(static_cast<char>(trimmed.at(i++).unicode()));
    int mantissaDigits = 0;
    for (; IsAsciiDigit(at(i)); ++i, ++mantissaDigits)
        plain.append(static_cast<char>(at(i)));
    if (at(i) == u',' || at(i) == u'.') {
        plain.append('.');
        for (++i; IsAsciiDigit(at(i)); ++i, ++mantissaDigits)
            plain.append(static_cast<char>(at(i)));
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (at(i) == u'E' || at(i) == u'e') {
        plain.append('e');
        ++i;
        if (at(i) == u'+' || at(i) == u'-')
            plain.append(static_cast<char>(at(i++)));
        if (!IsAsciiDigit(at(i)))
            return std::nullopt;
        for (; IsAsciiDigit(at(i)); ++i)
            plain.append(static_cast<char>(at(i)));
    }
    if (i != trimmed.size())
        return std::nullopt;
    const char* begin = plain.constData() + (plain.startsWith('+') ? 1 : 0);
    double value = 0;
    const auto result = std::from_chars(begin, plain.constData() + plain.size(), value);
    if (result.ec != std::errc() || result.ptr != plain.constData() + plain.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}
