#pragma once

#include "calc/script_errors.h"
#include "calc/variant.h"

#include <QStringView>

#include <span>

// The operators and built-in functions of the script language, on Variants.
namespace script {

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

enum class BinaryOperator {
    Power,
    Multiply,
    Divide,
    IntegerDivide,
    Modulo,
    Add,
    Subtract,
    Concatenate,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessOrEqual,
    GreaterOrEqual,
    And,
    Or,
    Xor,
    Eqv,
    Imp,
};

Result Apply(BinaryOperator op, const Variant& left, const Variant& right);
Result Negate(const Variant& operand);
Result Not(const Variant& operand);

// Whether a built-in function has this name (any case).
bool IsFunction(QStringView name);
Result Call(QStringView name, std::span<const Variant> arguments);

// A number literal: Integer or Long where whole and in range, Double otherwise.
Variant WholeOrDouble(double value, bool whole);

// A Double, or the error of an infinite (Overflow) or undefined (InvalidProcedureCall) value.
Result Finite(double value);
// A whole result in the narrowest subtype that holds it, Integer only where integer is set;
// beyond the 32-bit range a Double.
Result Widened(double value, bool integer);

} // namespace script
