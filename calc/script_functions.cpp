#include "calc/expression_engine.h"
#include "calc/module1.h"
#include "calc/script_operations.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace script {
namespace {

using Type = Variant::Type;
using Arguments = std::span<const Variant>;

struct Function {
    const char* name;
    int minArguments;
    int maxArguments;
    Result (*call)(Arguments);
};

Result number(const Variant& v, double& value) {
    if (v.type() == Type::String) {
        const std::optional<double> parsed = TextToNumber(v.stringValue());
        if (!parsed)
            return ScriptError::TypeMismatch;
        value = *parsed;
        return Variant();
    }
    value = v.toDouble();
    return Variant();
}

// A function of one number giving a Double; Null gives Null.
template <double (*Math)(double), bool (*Valid)(double) = nullptr>
Result unaryMath(Arguments args) {
    if (args[0].type() == Type::Null)
        return Variant::null();
    double x = 0;
    if (Result r = number(args[0], x); !r.ok())
        return r;
    if constexpr (Valid != nullptr) {
        if (!Valid(x))
            return ScriptError::InvalidProcedureCall;
    }
    return Finite(Math(x));
}

bool positive(double x) {
    return x > 0;
}
bool notNegative(double x) {
    return x >= 0;
}
double sine(double x) {
    return std::sin(x);
}
double cosine(double x) {
    return std::cos(x);
}
double tangent(double x) {
    return std::tan(x);
}
double arcTangent(double x) {
    return std::atan(x);
}
double exponential(double x) {
    return std::exp(x);
}
double logarithm(double x) {
    return std::log(x);
}
double squareRoot(double x) {
    return std::sqrt(x);
}

// Keeps the subtype of whole operands: Abs, Fix, Int, Sgn of an Integer stay whole.
Result sameKind(const Variant& original, double value) {
    const bool whole = original.type() == Type::Integer || original.type() == Type::Long ||
                       original.type() == Type::Boolean || original.type() == Type::Empty;
    return whole ? Widened(value, original.type() != Type::Long) : Finite(value);
}

template <double (*Transform)(double)> Result wholeKeeping(Arguments args) {
    if (args[0].type() == Type::Null)
        return Variant::null();
    double x = 0;
    if (Result r = number(args[0], x); !r.ok())
        return r;
    return sameKind(args[0].type() == Type::String ? Variant::number(x) : args[0], Transform(x));
}

double absolute(double x) {
    return std::fabs(x);
}
double truncated(double x) {
    return std::trunc(x);
}
double floored(double x) {
    return std::floor(x);
}

Result sign(Arguments args) {
    if (args[0].type() == Type::Null)
        return Variant::null();
    double x = 0;
    if (Result r = number(args[0], x); !r.ok())
        return r;
    return Variant::integer(static_cast<qint16>((x > 0) - (x < 0)));
}

Result round(Arguments args) {
    if (args[0].type() == Type::Null)
        return Variant::null();
    double x = 0;
    double places = 0;
    if (Result r = number(args[0], x); !r.ok())
        return r;
    if (args.size() > 1) {
        if (Result r = number(args[1], places); !r.ok())
            return r;
        places = std::nearbyint(places);
        if (places < 0 || places > 22)
            return ScriptError::InvalidProcedureCall;
    }
    const double scale = std::pow(10.0, places);
    const double scaled = x * scale;
    if (!std::isfinite(scaled))
        return Finite(x);
    return sameKind(args[0].type() == Type::String ? Variant::number(x) : args[0],
                    std::nearbyint(scaled) / scale);
}

Result toBoolean(Arguments args) {
    const Variant& v = args[0];
    if (v.type() == Type::Null)
        return ScriptError::TypeMismatch;
    if (v.type() == Type::String) {
        const QString text = v.stringValue().trimmed();
        for (const char* word : {"True", "Wahr"})
            if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
                return Variant::boolean(true);
        for (const char* word : {"False", "Falsch"})
            if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
                return Variant::boolean(false);
    }
    double x = 0;
    if (Result r = number(v, x); !r.ok())
        return r;
    return Variant::boolean(x != 0);
}

Result toDouble(Arguments args) {
    if (args[0].type() == Type::Null)
        return ScriptError::TypeMismatch;
    double x = 0;
    if (Result r = number(args[0], x); !r.ok())
        return r;
    return Finite(x);
}

template <typename Whole> Result toWhole(Arguments args) {
    if (args[0].type() == Type::Null)
        return ScriptError::TypeMismatch;
    double x = 0;
    if (Result r = number(args[0], x); !r.ok())
        return r;
    const double rounded = std::nearbyint(x);
    if (!(rounded >= std::numeric_limits<Whole>::min() &&
          rounded <= std::numeric_limits<Whole>::max()))
        return ScriptError::Overflow;
    if constexpr (sizeof(Whole) == 2)
        return Variant::integer(static_cast<qint16>(rounded));
    else
        return Variant::longValue(static_cast<qint32>(rounded));
}

Result toSingle(Arguments args) {
    if (args[0].type() == Type::Null)
        return ScriptError::TypeMismatch;
    double x = 0;
    if (Result r = number(args[0], x); !r.ok())
        return r;
    if (std::fabs(x) > FLT_MAX)
        return ScriptError::Overflow;
    // Single precision shows seven significant digits.
    return Variant::number(QString::asprintf("%.7g", x).toDouble());
}

Result toText(Arguments args) {
    if (args[0].type() == Type::Null)
        return ScriptError::TypeMismatch;
    return Variant::string(ResultText(args[0]));
}

template <int Base> Result inBase(Arguments args) {
    const Variant& v = args[0];
    if (v.type() == Type::Null)
        return Variant::null();
    double x = 0;
    if (Result r = number(v, x); !r.ok())
        return r;
    const double rounded = std::nearbyint(x);
    if (!(rounded >= std::numeric_limits<qint32>::min() &&
          rounded <= std::numeric_limits<qint32>::max()))
        return ScriptError::Overflow;
    const auto whole = static_cast<qint32>(rounded);
    const bool integer = v.type() != Type::Long && v.type() != Type::Double &&
                         whole >= std::numeric_limits<qint16>::min();
    const quint32 bits =
        whole < 0 && integer ? static_cast<quint16>(whole) : static_cast<quint32>(whole);
    return Variant::string(QString::number(bits, Base).toUpper());
}

const Function Functions[] = {
    {"Abs", 1, 1, wholeKeeping<absolute>},
    {"Atn", 1, 1, unaryMath<arcTangent>},
    {"Cos", 1, 1, unaryMath<cosine>},
    {"Exp", 1, 1, unaryMath<exponential>},
    {"Fix", 1, 1, wholeKeeping<truncated>},
    {"Int", 1, 1, wholeKeeping<floored>},
    {"Log", 1, 1, unaryMath<logarithm, positive>},
    {"Round", 1, 2, round},
    {"Sgn", 1, 1, sign},
    {"Sin", 1, 1, unaryMath<sine>},
    {"Sqr", 1, 1, unaryMath<squareRoot, notNegative>},
    {"Tan", 1, 1, unaryMath<tangent>},
    {"CBool", 1, 1, toBoolean},
    {"CDbl", 1, 1, toDouble},
    {"CInt", 1, 1, toWhole<qint16>},
    {"CLng", 1, 1, toWhole<qint32>},
    {"CSng", 1, 1, toSingle},
    {"CStr", 1, 1, toText},
    {"Hex", 1, 1, inBase<16>},
    {"Oct", 1, 1, inBase<8>},
};

const Function* find(QStringView name) {
    constexpr qsizetype LongestName = 5; // "Round", "CBool"
    if (name.size() > LongestName)
        return nullptr;
    for (const Function& function : Functions)
        if (name.compare(QLatin1String(function.name), Qt::CaseInsensitive) == 0)
            return &function;
    return nullptr;
}

} // namespace

bool IsFunction(QStringView name) {
    return find(name) != nullptr;
}

Result Call(QStringView name, std::span<const Variant> arguments) {
    const Function* function = find(name);
    if (!function)
        return ScriptError::UnknownFunction;
    const auto count = static_cast<int>(arguments.size());
    if (count < function->minArguments || count > function->maxArguments)
        return ScriptError::InvalidProcedureCall;
    return function->call(arguments);
}

} // namespace script
