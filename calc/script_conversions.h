#pragma once

#include "calc/script_errors.h"
#include "calc/variant.h"

#include <QString>

#include <optional>

// VBScript's conversions between the Variant subtypes, shared by operators and functions.
namespace script {

// The longest text the engine builds ("&", "+", Space): anything longer is OutOfStringSpace, so
// no formula can make it allocate more.
inline constexpr qsizetype MaxTextLength = 65536;

// A value or the reason it could not be computed.
struct Result {
    Variant value;
    ScriptError error = ScriptError::None;

    Result(Variant v)
        : value(std::move(v)) {}
    Result(ScriptError e)
        : error(e) {}
    bool ok() const { return error == ScriptError::None; }
};

// A number literal: Integer or Long where whole and in range, Double otherwise.
Variant WholeOrDouble(double value, bool whole);

// A Double, or the error of an infinite (Overflow) or undefined (InvalidProcedureCall) value.
Result Finite(double value);

// The value in a numeric subtype, widened where it does not fit (Byte to Integer to Long to
// Double, Single to Double); a Currency beyond its range is an Overflow. Whole subtypes expect a
// whole value.
Result InType(Variant::Type type, double value);

// The quotient of two whole numbers, rounded half to even.
template <typename Whole> Whole HalfEvenQuotient(Whole dividend, Whole divisor) {
    Whole quotient = dividend / divisor;
    const Whole remainder = dividend % divisor;
    const Whole twice = 2 * (remainder < 0 ? -remainder : remainder);
    if (twice > divisor || (twice == divisor && quotient % 2 != 0))
        quotient += dividend < 0 ? -1 : 1;
    return quotient;
}

// Ten-thousandths of the value, rounded half to even; nothing beyond Currency's range.
std::optional<qint64> CurrencyFromDouble(double value);

// The number a value stands for: Empty is 0, a Boolean -1 or 0, a text is read as a number.
// Null and any other text are a TypeMismatch.
ScriptError ToDouble(const Variant& value, double& number);
// The number rounded half to even into the Long range; beyond it an Overflow.
ScriptError ToLong(const Variant& value, qint32& whole);
// The number in ten-thousandths, rounded half to even; beyond Currency's range an Overflow.
ScriptError ToCurrency(const Variant& value, qint64& tenThousandths);

// Whether a text of this length may be built.
inline bool FitsText(qsizetype length) {
    return length <= MaxTextLength;
}

// The conversion functions CBool, CByte, CInt, CLng, CSng, CDbl and CCur: the value in the
// subtype, InvalidUseOfNull for Null, Overflow beyond the subtype's range.
Result Converted(const Variant& value, Variant::Type type);

} // namespace script

// The text a script value shows on the tape: numbers by NumberToText (a Single with its seven
// significant digits), Empty and Null as "", Booleans as "Wahr" or "Falsch", strings as they are.
QString ResultText(const Variant& value);
