#include "calc/column_paste.h"

#include "calc/formula_edit.h"
#include "calc/module1.h"

#include <algorithm>
#include <vector>

namespace column_paste {
namespace {

// What a point in an amount is, decided once for the whole text.
enum class Points { ThousandsSeparator, DecimalPoint };

bool isBlank(QStringView line) {
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c.isSpace(); });
}

bool isRow(QStringView line) {
    return line.contains(u'\t');
}

// Calls take(line) for every line that gives a formula, until take returns false.
template <typename Take> void forEachLine(QStringView text, Take take) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !formula_edit::IsLineBreak(text.at(i)))
            continue;
        const QStringView line = text.sliced(start, i - start);
        start = i + 1;
        if (!isBlank(line) && !take(line))
            return;
    }
}

bool isSign(QChar c) {
    return c == u'+' || c == u'-' || c == QChar(0x2212);
}

// The currency codes of statements and price lists; other letters (NOT, MOD, ABS ...) are
// formula text.
bool isCurrencyCode(QStringView code) {
    static const QStringList codes{"AUD", "BGN", "BRL", "CAD", "CHF", "CNY", "CZK",
                                   "DKK", "EUR", "GBP", "HKD", "HUF", "ILS", "INR",
                                   "ISK", "JPY", "KRW", "MXN", "NOK", "NZD", "PLN",
                                   "RON", "SEK", "SGD", "THB", "TRY", "USD", "ZAR"};
    return codes.contains(code);
}

// A sign or a currency (a currency sign or a three-letter code) at one end of an amount.
struct Affixes {
    bool negative = false;
    bool hasSign = false;
    bool hasCurrency = false;
};

// The length of a currency at the start of the text (front) or at its end; 0 for none.
qsizetype currencyLength(QStringView text, bool front) {
    if (text.isEmpty())
        return 0;
    const QChar end = front ? text.front() : text.back();
    if (end.category() == QChar::Symbol_Currency)
        return 1;
    if (text.size() < 3)
        return 0;
    const QStringView code = front ? text.first(3) : text.last(3);
    const bool alone =
        text.size() == 3 || !(front ? text.at(3) : text.at(text.size() - 4)).isLetter();
    return isCurrencyCode(code) && alone ? 3 : 0;
}

// Takes signs, currencies and the blanks around them off one end of the text.
void takeAffixes(QStringView& text, Affixes& affixes, bool front) {
    while (true) {
        text = text.trimmed();
        if (text.isEmpty())
            return;
        const QChar end = front ? text.front() : text.back();
        qsizetype taken = 0;
        if (isSign(end) && !affixes.hasSign) {
            affixes.hasSign = true;
            affixes.negative = end != u'+';
            taken = 1;
        } else if (const qsizetype currency = currencyLength(text, front);
                   currency > 0 && !affixes.hasCurrency) {
            affixes.hasCurrency = true;
            taken = currency;
        }
        if (taken == 0)
            return;
        text = front ? text.sliced(taken) : text.chopped(taken);
    }
}

// The digits of a whole number, written plainly or in three-digit groups parted by one kind of
// separator (a point, or one blank); nothing for any other text.
std::optional<QString> wholeDigits(QStringView text, bool pointsSeparate) {
    QString digits;
    QChar separator;
    qsizetype group = 0;
    bool grouped = false;
    for (const QChar c : text) {
        if (IsAsciiDigit(c)) {
            digits.append(c);
            ++group;
            continue;
        }
        const QChar kind = c == u'.' ? u'.' : c.isSpace() ? u' ' : QChar();
        if (kind.isNull() || (kind == u'.' && !pointsSeparate) || group == 0 ||
            (grouped && (kind != separator || group != 3)) || group > 3)
            return std::nullopt;
        separator = kind;
        grouped = true;
        group = 0;
    }
    if (group == 0 || (grouped && group != 3))
        return std::nullopt;
    return digits;
}

struct Amount {
    QString plain;
    bool decimalComma = false;
};

// The number part of an amount: whole digits, then a decimal comma (or point) and its digits.
std::optional<Amount> number(QStringView text, Points points) {
    QStringView whole = text;
    QStringView fraction;
    const bool decimalComma = text.contains(u',');
    const bool pointIsDecimal =
        !decimalComma && points == Points::DecimalPoint && text.count(u'.') == 1;
    if (const qsizetype decimal = text.indexOf(decimalComma ? u',' : u'.');
        decimal >= 0 && (decimalComma || pointIsDecimal)) {
        whole = text.first(decimal);
        fraction = text.sliced(decimal + 1);
        if (fraction.isEmpty() || !std::all_of(fraction.begin(), fraction.end(), IsAsciiDigit))
            return std::nullopt;
    }
    const std::optional<QString> digits = wholeDigits(whole, !pointIsDecimal);
    if (!digits)
        return std::nullopt;
    Amount amount{*digits, decimalComma};
    if (!fraction.isNull())
        amount.plain += u',' + fraction.toString();
    return amount;
}

std::optional<Amount> amount(QStringView line, Points points) {
    Affixes affixes;
    QStringView body = line;
    takeAffixes(body, affixes, true);
    takeAffixes(body, affixes, false);
    if (body.isEmpty() || !IsAsciiDigit(body.front()))
        return std::nullopt;
    std::optional<Amount> found = number(body, points);
    if (found && affixes.negative)
        found->plain.prepend(u'-');
    return found;
}

QString formula(QStringView line, Points points) {
    if (isRow(line))
        return line.first(line.indexOf(u'\t')).trimmed().toString();
    if (const std::optional<Amount> found = amount(line, points))
        return found->plain;
    return line.toString();
}

} // namespace

bool IsColumn(QStringView text) {
    int lines = 0;
    forEachLine(text, [&lines](QStringView) { return ++lines < 2; });
    return lines > 1;
}

std::optional<QStringList> Formulas(QStringView text) {
    std::vector<QStringView> lines;
    bool tooMany = false;
    forEachLine(text, [&](QStringView line) {
        tooMany = static_cast<qsizetype>(lines.size()) == MaxLines;
        if (!tooMany)
            lines.push_back(line);
        return !tooMany;
    });
    if (tooMany)
        return std::nullopt;
    const bool anyDecimalComma = std::any_of(lines.begin(), lines.end(), [](QStringView line) {
        if (isRow(line))
            return false;
        const std::optional<Amount> found = amount(line, Points::ThousandsSeparator);
        return found && found->decimalComma;
    });
    const Points points = anyDecimalComma ? Points::ThousandsSeparator : Points::DecimalPoint;
    QStringList formulas;
    formulas.reserve(static_cast<qsizetype>(lines.size()));
    for (const QStringView line : lines)
        formulas.append(formula(line, points));
    return formulas;
}

} // namespace column_paste
