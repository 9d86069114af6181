// The text functions: Asc, AscW, Chr, ChrW, LCase, Len, LTrim, RTrim, Space, StrReverse, Trim,
// UCase.
#include "calc/script_functions.h"
#include "files/windows1252.h"

#include <algorithm>
#include <limits>

namespace script {
namespace {

using Type = Variant::Type;

// A function of a text; Null stays Null, any other value is taken in its text form.
template <QString (*Transform)(const QString&)> Result textFunction(Arguments args) {
    if (args[0].isNull())
        return Variant::null();
    return Variant::string(Transform(ResultText(args[0])));
}

QString lowerCase(const QString& text) {
    return text.toLower();
}
QString upperCase(const QString& text) {
    return text.toUpper();
}

// VBScript trims blanks only, not tabs or line breaks.
qsizetype leadingBlanks(const QString& text) {
    qsizetype count = 0;
    while (count < text.size() && text[count] == u' ')
        ++count;
    return count;
}
qsizetype trailingBlanks(const QString& text) {
    qsizetype count = 0;
    while (count < text.size() && text[text.size() - 1 - count] == u' ')
        ++count;
    return count;
}
QString withoutLeadingBlanks(const QString& text) {
    return text.mid(leadingBlanks(text));
}
QString withoutTrailingBlanks(const QString& text) {
    return text.left(text.size() - trailingBlanks(text));
}
QString withoutBlanks(const QString& text) {
    return withoutTrailingBlanks(withoutLeadingBlanks(text));
}

Result length(Arguments args) {
    if (args[0].isNull())
        return Variant::null();
    return Variant::longValue(static_cast<qint32>(ResultText(args[0]).size()));
}

// The text of a value that must not be Null.
ScriptError textOf(const Variant& value, QString& text) {
    if (value.isNull())
        return ScriptError::InvalidUseOfNull;
    text = ResultText(value);
    return ScriptError::None;
}

// StrReverse reverses the UTF-16 units, as VBScript does; Null is an error.
Result reversed(Arguments args) {
    QString text;
    if (ScriptError error = textOf(args[0], text); error != ScriptError::None)
        return error;
    std::reverse(text.begin(), text.end());
    return Variant::string(std::move(text));
}

// A whole-number argument within [lowest, highest]: rounded half to even, Null is an error,
// outside the range an InvalidProcedureCall.
ScriptError wholeArgument(const Variant& value, qint32 lowest, qint32 highest, qint32& whole) {
    if (value.isNull())
        return ScriptError::InvalidUseOfNull;
    if (ScriptError error = ToLong(value, whole); error != ScriptError::None)
        return error;
    return whole >= lowest && whole <= highest ? ScriptError::None
                                               : ScriptError::InvalidProcedureCall;
}

// No more blanks than the longest text the engine builds: never a huge allocation.
Result spaces(Arguments args) {
    qint32 count = 0;
    if (ScriptError error = wholeArgument(args[0], 0, std::numeric_limits<qint32>::max(), count);
        error != ScriptError::None)
        return error;
    if (!FitsText(count))
        return ScriptError::OutOfStringSpace;
    return Variant::string(QString(count, u' '));
}

// Chr takes a code of Windows-1252, the code page the program's texts are written in.
Result character(Arguments args) {
    qint32 code = 0;
    if (ScriptError error = wholeArgument(args[0], 0, 255, code); error != ScriptError::None)
        return error;
    return Variant::string(DecodeWindows1252(QByteArray(1, static_cast<char>(code))));
}

// ChrW takes a UTF-16 unit, also as a negative Integer (-1 is &HFFFF).
Result wideCharacter(Arguments args) {
    qint32 code = 0;
    if (ScriptError error = wholeArgument(args[0], std::numeric_limits<qint16>::min(),
                                          std::numeric_limits<quint16>::max(), code);
        error != ScriptError::None)
        return error;
    return Variant::string(QString(QChar(static_cast<char16_t>(code))));
}

// The text's first character; an empty text has none.
ScriptError firstCharacter(const Variant& value, QString& first) {
    if (ScriptError error = textOf(value, first); error != ScriptError::None)
        return error;
    if (first.isEmpty())
        return ScriptError::InvalidProcedureCall;
    first.truncate(1);
    return ScriptError::None;
}

Result code(Arguments args) {
    QString first;
    if (ScriptError error = firstCharacter(args[0], first); error != ScriptError::None)
        return error;
    return Variant::integer(static_cast<quint8>(EncodeWindows1252(first).at(0)));
}

// AscW is an Integer: units from &H8000 on are negative.
Result wideCode(Arguments args) {
    QString first;
    if (ScriptError error = firstCharacter(args[0], first); error != ScriptError::None)
        return error;
    return Variant::integer(static_cast<qint16>(first.at(0).unicode()));
}

constexpr Function Functions[] = {
    {"asc", 1, 1, code},
    {"ascw", 1, 1, wideCode},
    {"chr", 1, 1, character},
    {"chrw", 1, 1, wideCharacter},
    {"lcase", 1, 1, textFunction<lowerCase>},
    {"len", 1, 1, length},
    {"ltrim", 1, 1, textFunction<withoutLeadingBlanks>},
    {"rtrim", 1, 1, textFunction<withoutTrailingBlanks>},
    {"space", 1, 1, spaces},
    {"strreverse", 1, 1, reversed},
    {"trim", 1, 1, textFunction<withoutBlanks>},
    {"ucase", 1, 1, textFunction<upperCase>},
};

} // namespace

std::span<const Function> TextFunctions() {
    return Functions;
}

} // namespace script
