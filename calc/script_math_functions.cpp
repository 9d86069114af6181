// The numeric functions: Abs, Atn, Cos, Exp, Fix, Hex, Int, Log, Oct, Round, Sgn, Sin, Sqr, Tan.
#include "calc/script_functions.h"

#include <cmath>
#include <limits>
#include <type_traits>

namespace script {
namespace {

using Type = Variant::Type;

// A function of one number giving a Double; Null has no number (InvalidUseOfNull). Valid, where
// given, tells the numbers in the function's domain.
template <auto Math, auto Valid = nullptr> Result unaryMath(Arguments args) {
    if (args[0].isNull())
        return ScriptError::InvalidUseOfNull;
    double x = 0;
    if (ScriptError error = ToDouble(args[0], x); error != ScriptError::None)
        return error;
    if constexpr (!std::is_null_pointer_v<decltype(Valid)>) {
        if (!Valid(x))
            return ScriptError::InvalidProcedureCall;
    }
    return Finite(Math(x));
}

constexpr auto positive = [](double x) { return x > 0; };
constexpr auto notNegative = [](double x) { return x >= 0; };

using CurrencyTransform = std::optional<qint64> (*)(qint64);

// Abs, Fix and Int keep the operand's subtype; Null stays Null, a Boolean or Empty gives an
// Integer and a text a Double.
template <double (*Real)(double), CurrencyTransform InCurrency>
Result subtypeKeeping(Arguments args) {
    const Variant& v = args[0];
    switch (v.type()) {
    case Type::Null:
        return Variant::null();
    case Type::Currency:
        if (const std::optional<qint64> result = InCurrency(v.currencyValue()))
            return Variant::currency(*result);
        return ScriptError::Overflow;
    case Type::Single:
        return Variant::single(static_cast<float>(Real(v.singleValue())));
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return InType(v.type(), Real(v.toDouble()));
    case Type::Empty:
    case Type::Boolean:
        return InType(Type::Integer, Real(v.toDouble()));
    default: {
        double x = 0;
        if (ScriptError error = ToDouble(v, x); error != ScriptError::None)
            return error;
        return Finite(Real(x));
    }
    }
}

double absolute(double x) {
    return std::fabs(x);
}
std::optional<qint64> absoluteCurrency(qint64 c) {
    if (c == std::numeric_limits<qint64>::min())
        return std::nullopt;
    return c < 0 ? -c : c;
}
double truncated(double x) {
    return std::trunc(x);
}
std::optional<qint64> truncatedCurrency(qint64 c) {
    return c - c % Variant::CurrencyScale;
}
double floored(double x) {
    return std::floor(x);
}
std::optional<qint64> flooredCurrency(qint64 c) {
    const qint64 whole = c - c % Variant::CurrencyScale;
    if (whole <= c)
        return whole;
    if (whole < std::numeric_limits<qint64>::min() + Variant::CurrencyScale)
        return std::nullopt;
    return whole - Variant::CurrencyScale;
}

Result sign(Arguments args) {
    if (args[0].isNull())
        return ScriptError::InvalidUseOfNull;
    double x = 0;
    if (ScriptError error = ToDouble(args[0], x); error != ScriptError::None)
        return error;
    return Variant::integer(static_cast<qint16>((x > 0) - (x < 0)));
}

constexpr int MostRoundingPlaces = 22;

double roundedDouble(double x, int places) {
    const double scale = std::pow(10.0, places);
    const double scaled = x * scale;
    return std::isfinite(scaled) ? std::nearbyint(scaled) / scale : x;
}

// Ten-thousandths rounded half to even to the given decimal places.
std::optional<qint64> roundedCurrency(qint64 c, int places) {
    constexpr int CurrencyPlaces = 4;
    qint64 unit = 1;
    for (int place = places; place < CurrencyPlaces; ++place)
        unit *= 10;
    qint64 rounded = 0;
    if (__builtin_mul_overflow(HalfEvenQuotient(c, unit), unit, &rounded))
        return std::nullopt;
    return rounded;
}

ScriptError roundingPlaces(Arguments args, int& places) {
    if (args.size() < 2)
        return ScriptError::None;
    if (args[1].isNull())
        return ScriptError::InvalidUseOfNull;
    qint32 whole = 0;
    if (ScriptError error = ToLong(args[1], whole); error != ScriptError::None)
        return error;
    if (whole < 0 || whole > MostRoundingPlaces)
        return ScriptError::InvalidProcedureCall;
    places = whole;
    return ScriptError::None;
}

// Round keeps the subtype as well, even a Boolean's; a half goes to the even neighbour.
Result round(Arguments args) {
    const Variant& v = args[0];
    int places = 0;
    if (ScriptError error = roundingPlaces(args, places); error != ScriptError::None)
        return error;
    switch (v.type()) {
    case Type::Null:
    case Type::Boolean:
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return v;
    case Type::Empty:
        return Variant::integer(0);
    case Type::Currency:
        if (const std::optional<qint64> result = roundedCurrency(v.currencyValue(), places))
            return Variant::currency(*result);
        return ScriptError::Overflow;
    case Type::Single:
        return Variant::single(static_cast<float>(roundedDouble(v.singleValue(), places)));
    default: {
        double x = 0;
        if (ScriptError error = ToDouble(v, x); error != ScriptError::None)
            return error;
        return Finite(roundedDouble(x, places));
    }
    }
}

// Hex and Oct: a negative Integer in 16 bits, any other whole number in 32; Null stays Null.
template <int Base> Result inBase(Arguments args) {
    const Variant& v = args[0];
    if (v.isNull())
        return Variant::null();
    qint32 whole = 0;
    if (ScriptError error = ToLong(v, whole); error != ScriptError::None)
        return error;
    const bool wide = v.type() == Type::Long || v.type() == Type::Single ||
                      v.type() == Type::Double || v.type() == Type::Currency;
    const bool sixteenBits = !wide && whole >= std::numeric_limits<qint16>::min();
    const quint32 bits =
        whole < 0 && sixteenBits ? static_cast<quint16>(whole) : static_cast<quint32>(whole);
    return Variant::string(QString::number(bits, Base).toUpper());
}

constexpr Function Functions[] = {
    {"abs", 1, 1, subtypeKeeping<absolute, absoluteCurrency>},
    {"atn", 1, 1, unaryMath<[](double x) { return std::atan(x); }>},
    {"cos", 1, 1, unaryMath<[](double x) { return std::cos(x); }>},
    {"exp", 1, 1, unaryMath<[](double x) { return std::exp(x); }>},
    {"fix", 1, 1, subtypeKeeping<truncated, truncatedCurrency>},
    {"hex", 1, 1, inBase<16>},
    {"int", 1, 1, subtypeKeeping<floored, flooredCurrency>},
    {"log", 1, 1, unaryMath<[](double x) { return std::log(x); }, positive>},
    {"oct", 1, 1, inBase<8>},
    {"round", 1, 2, round},
    {"sgn", 1, 1, sign},
    {"sin", 1, 1, unaryMath<[](double x) { return std::sin(x); }>},
    {"sqr", 1, 1, unaryMath<[](double x) { return std::sqrt(x); }, notNegative>},
    {"tan", 1, 1, unaryMath<[](double x) { return std::tan(x); }>},
};

} // namespace

std::span<const Function> MathFunctions() {
    return Functions;
}

} // namespace script
