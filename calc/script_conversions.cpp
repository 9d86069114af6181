#include "calc/script_conversions.h"

#include "calc/module1.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

namespace script {
namespace {

using Type = Variant::Type;

template <typename Whole> bool holds(double value) {
    return value >= std::numeric_limits<Whole>::min() && value <= std::numeric_limits<Whole>::max();
}

// CBool's words: VBScript's own, the German ones of the result text, and the "#TRUE#" form.
std::optional<bool> booleanWord(const QString& text) {
    const QString word = text.trimmed();
    for (const char* yes : {"True", "Wahr", "#TRUE#"})
        if (word.compare(QLatin1String(yes), Qt::CaseInsensitive) == 0)
            return true;
    for (const char* no : {"False", "Falsch", "#FALSE#"})
        if (word.compare(QLatin1String(no), Qt::CaseInsensitive) == 0)
            return false;
    return std::nullopt;
}

Result toBoolean(const Variant& value) {
    if (value.type() == Type::String)
        if (const std::optional<bool> word = booleanWord(value.stringValue()))
            return Variant::boolean(*word);
    double number = 0;
    if (ScriptError error = ToDouble(value, number); error != ScriptError::None)
        return error;
    return Variant::boolean(number != 0);
}

// The number rounded half to even; an Overflow where the whole type does not hold it.
template <typename Whole> ScriptError roundedFor(const Variant& value, double& rounded) {
    double number = 0;
    if (ScriptError error = ToDouble(value, number); error != ScriptError::None)
        return error;
    rounded = std::nearbyint(number);
    return holds<Whole>(rounded) ? ScriptError::None : ScriptError::Overflow;
}

// A whole subtype: rounded half to even, an Overflow outside the subtype's range.
template <typename Whole> Result toWhole(const Variant& value, Type type) {
    double rounded = 0;
    if (ScriptError error = roundedFor<Whole>(value, rounded); error != ScriptError::None)
        return error;
    return InType(type, rounded);
}

Result toByte(const Variant& value) {
    // The Boolean True is all bits set, which a Byte holds as 255.
    if (value.type() == Type::Boolean)
        return Variant::byte(value.toBool() ? 255 : 0);
    return toWhole<quint8>(value, Type::Byte);
}

Result toSingle(const Variant& value) {
    double number = 0;
    if (ScriptError error = ToDouble(value, number); error != ScriptError::None)
        return error;
    if (!(std::fabs(number) <= FLT_MAX))
        return ScriptError::Overflow;
    return Variant::single(static_cast<float>(number));
}

Result toDoubleValue(const Variant& value) {
    double number = 0;
    if (ScriptError error = ToDouble(value, number); error != ScriptError::None)
        return error;
    return Finite(number);
}

Result toCurrency(const Variant& value) {
    qint64 tenThousandths = 0;
    if (ScriptError error = ToCurrency(value, tenThousandths); error != ScriptError::None)
        return error;
    return Variant::currency(tenThousandths);
}

} // namespace

Variant WholeOrDouble(double value, bool whole) {
    if (whole && holds<qint16>(value))
        return Variant::integer(static_cast<qint16>(value));
    if (whole && holds<qint32>(value))
        return Variant::longValue(static_cast<qint32>(value));
    return Variant::number(value);
}

Result Finite(double value) {
    if (std::isnan(value))
        return ScriptError::InvalidProcedureCall;
    if (std::isinf(value))
        return ScriptError::Overflow;
    return Variant::number(value);
}

Result InType(Type type, double value) {
    switch (type) {
    case Type::Byte:
        if (holds<quint8>(value))
            return Variant::byte(static_cast<quint8>(value));
        [[fallthrough]];
    case Type::Integer:
        if (holds<qint16>(value))
            return Variant::integer(static_cast<qint16>(value));
        [[fallthrough]];
    case Type::Long:
        if (holds<qint32>(value))
            return Variant::longValue(static_cast<qint32>(value));
        return Finite(value);
    case Type::Single:
        if (std::fabs(value) <= FLT_MAX)
            return Variant::single(static_cast<float>(value));
        return Finite(value);
    case Type::Currency:
        if (const std::optional<qint64> tenThousandths = CurrencyFromDouble(value))
            return Variant::currency(*tenThousandths);
        return std::isnan(value) ? ScriptError::InvalidProcedureCall : ScriptError::Overflow;
    default:
        return Finite(value);
    }
}

std::optional<qint64> CurrencyFromDouble(double value) {
    // 2^63 is exact as a double; every double below it converts to a 64-bit integer.
    constexpr double Limit = 9223372036854775808.0;
    const double scaled = std::nearbyint(value * Variant::CurrencyScale);
    if (!(scaled >= -Limit && scaled < Limit))
        return std::nullopt;
    return static_cast<qint64>(scaled);
}

ScriptError ToDouble(const Variant& value, double& number) {
    switch (value.type()) {
    case Type::Null:
        return ScriptError::TypeMismatch;
    case Type::String:
        if (const std::optional<double> parsed = TextToNumber(value.stringValue())) {
            number = *parsed;
            return ScriptError::None;
        }
        return ScriptError::TypeMismatch;
    default:
        number = value.toDouble();
        return ScriptError::None;
    }
}

ScriptError ToLong(const Variant& value, qint32& whole) {
    if (value.isWhole()) {
        whole = value.wholeValue();
        return ScriptError::None;
    }
    double rounded = 0;
    if (ScriptError error = roundedFor<qint32>(value, rounded); error != ScriptError::None)
        return error;
    whole = static_cast<qint32>(rounded);
    return ScriptError::None;
}

ScriptError ToCurrency(const Variant& value, qint64& tenThousandths) {
    if (value.type() == Type::Currency) {
        tenThousandths = value.currencyValue();
        return ScriptError::None;
    }
    if (value.isWhole()) {
        tenThousandths = qint64{value.wholeValue()} * Variant::CurrencyScale;
        return ScriptError::None;
    }
    double number = 0;
    if (ScriptError error = ToDouble(value, number); error != ScriptError::None)
        return error;
    const std::optional<qint64> converted = CurrencyFromDouble(number);
    if (!converted)
        return ScriptError::Overflow;
    tenThousandths = *converted;
    return ScriptError::None;
}

Result Converted(const Variant& value, Type type) {
    if (value.isNull())
        return ScriptError::InvalidUseOfNull;
    switch (type) {
    case Type::Boolean:
        return toBoolean(value);
    case Type::Byte:
        return toByte(value);
    case Type::Integer:
        return toWhole<qint16>(value, type);
    case Type::Long:
        return toWhole<qint32>(value, type);
    case Type::Single:
        return toSingle(value);
    case Type::Currency:
        return toCurrency(value);
    default:
        return toDoubleValue(value);
    }
}

} // namespace script

namespace {

// A Single shows the seven significant digits it holds: CSng(1/3) is 0,3333333.
double asShown(float single) {
    constexpr int SingleDigits = 7;
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, double{single},
                                   std::chars_format::general, SingleDigits)
                         .ptr;
    double shown = 0;
    std::from_chars(buffer, end, shown);
    return shown;
}

} // namespace

QString ResultText(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return {};
    case Variant::Type::Boolean:
        return value.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case Variant::Type::String:
        return value.stringValue();
    case Variant::Type::Single:
        return NumberToText(asShown(value.singleValue()));
    case Variant::Type::Byte:
    case Variant::Type::Integer:
    case Variant::Type::Long:
    case Variant::Type::Double:
    case Variant::Type::Currency:
        return NumberToText(value.toDouble());
    }
    return {};
}
