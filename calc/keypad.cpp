#include "calc/keypad.h"

#include "calc/module1.h"

namespace keypad {
namespace {

constexpr std::uint32_t Digit = 0xA077DF;
constexpr std::uint32_t Operator = 0xD2D242;
constexpr std::uint32_t Function = 0x6C6AD2;
constexpr std::uint32_t Exit = 0xC04000;

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

QString factorFor(const QString& rate) {
    if (isTwoDigits(rate))
        return QStringLiteral("1.") + rate;
    const double factor = 1.0 + *TextToNumber(rate) / 100.0;
    return NumberToText(factor).replace(u',', u'.');
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
        if (isPlainRate(rate))
            return field.left(plus) + u'*' + factorFor(rate);
    }
    return QString(field).replace(u'%', QStringLiteral("/100"));
}

QString Percent(const QString& field) {
    const std::optional<double> number = TextToNumber(field);
    return number ? NumberToText(*number / 100.0) : field;
}

const std::array<Key, 20> Keys = {{
    {"cmd1", "1", 210, 2160, KeySize, Digit, Face::A, "", '1'},
    {"cmd2", "2", 780, 2160, KeySize, Digit, Face::A, "", '2'},
    {"cmd3", "3", 1320, 2160, KeySize, Digit, Face::A, "", '3'},
    {"cmdMul", "*", 1890, 2160, KeySize, Operator, Face::A, "Multiplikation", '*'},
    {"cmd4", "4", 210, 2670, KeySize, Digit, Face::A, "", '4'},
    {"cmd5", "5", 780, 2670, KeySize, Digit, Face::A, "", '5'},
    {"cmd6", "6", 1320, 2670, KeySize, Digit, Face::A, "", '6'},
    {"cmdDiv", "/", 1890, 2670, KeySize, Operator, Face::A, "Geteilt", '/'},
    {"cmd7", "7", 210, 3180, KeySize, Digit, Face::A, "", '7'},
    {"cmd8", "8", 780, 3180, KeySize, Digit, Face::A, "", '8'},
    {"cmd9", "9", 1320, 3180, KeySize, Digit, Face::A, "", '9'},
    {"cmdSub", "-", 1890, 3180, KeySize, Operator, Face::B, "Minus", '-'},
    {"cmd0", "0", 210, 3690, KeySize, Digit, Face::A, "", '0'},
    {"cmdDec", ".", 780, 3690, KeySize, Digit, Face::B, "", '.'},
    {"cmdEqual", "=", 1320, 3690, KeySize, Operator, Face::B, "Ist gleich ", 0},
    {"cmdAdd", "+", 1890, 3690, KeySize, Operator, Face::B, "Plus", '+'},
    {"cmdNeg", "+/-", 210, 4200, KeySize, Function, Face::B, "Rechnen mit negativ Zahlen", 0},
    {"cmdPer", "%", 720, 4200, KeySize, Function, Face::B, "Prozent", 0},
    {"cmdBack", "Back", 1230, 4200, BackKeyWidth, Function, Face::C,
     "Eingabe um ein Zeichen löschen", 0},
    {"cmdExit", "E&xit", 1890, 4200, KeySize, Exit, Face::B, "Eingabe der Formel kpl. löschen", 0},
}};

} // namespace keypad
