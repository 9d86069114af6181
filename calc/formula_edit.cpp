#include "calc/formula_edit.h"

#include "calc/module1.h"

#include <algorithm>

namespace formula_edit {
namespace {

bool isPlainRate(const QString& rate) {
    int digits = 0;
    int separators = 0;
    for (QChar c : rate) {
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (c == u'.' || c == u',')
            ++separators;
        else
            return false;
    }
    return digits > 0 && separators <= 1;
}

bool isTwoDigits(const QString& rate) {
    return rate.size() == 2 && rate.at(0).isDigit() && rate.at(1).isDigit() &&
           rate.at(0).unicode() < 128 && rate.at(1).unicode() < 128;
}

// The factor 1 + rate/100 in the engine's notation; nothing for a rate beyond a number's range.
std::optional<QString> factorFor(const QString& rate) {
    if (isTwoDigits(rate))
        return QStringLiteral("1.") + rate;
    const std::optional<double> number = TextToNumber(rate);
    if (!number)
        return std::nullopt;
    return NumberToText(1.0 + *number / 100.0).replace(u',', u'.');
}

} // namespace

QString WithoutLastCharacter(const QString& field) {
    return field.left(field.size() - 1);
}

QString Negated(const QString& field) {
    const std::optional<double> number = TextToNumber(field);
    return number ? NumberToText(-*number) : field;
}

QString ResolvePercent(const QString& field) {
    const qsizetype percent = field.indexOf(u'%');
    if (percent < 0)
        return field;
    const qsizetype plus = field.indexOf(u'+');
    if (plus >= 0 && percent > plus) {
        const QString rate = field.mid(plus + 1, percent - plus - 1);
        if (const std::optional<QString> factor =
                isPlainRate(rate) ? factorFor(rate) : std::nullopt)
            return field.left(plus) + u'*' + *factor;
    }
    return QString(field).replace(u'%', QStringLiteral("/100"));
}

QString Percent(const QString& field) {
    const std::optional<double> number = TextToNumber(field);
    return number ? NumberToText(*number / 100.0) : field;
}

bool IsLineBreak(QChar character) {
    switch (character.unicode()) {
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case u'\u0085':
    case u'\u2028':
    case u'\u2029':
        return true;
    default:
        return false;
    }
}

bool HasLineBreak(QStringView field) {
    return std::any_of(field.begin(), field.end(), IsLineBreak);
}

QString LineBreaksAsBlanks(const QString& field) {
    QString line = field;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (QChar& character : line) {
        if (IsLineBreak(character))
            character = u' ';
    }
    return line;
}

} // namespace formula_edit
