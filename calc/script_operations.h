#pragma once

#include "calc/script_conversions.h"

// The operators of the script language, on Variants, with VBScript's choice of the result's
// subtype.
namespace script {

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

} // namespace script
