#include "calc/script_operations.h"

#include "calc/expression_engine.h"
#include "calc/module1.h"

#include <cmath>
#include <limits>

namespace script {
namespace {

constexpr double Int16Min = std::numeric_limits<qint16>::min();
constexpr double Int16Max = std::numeric_limits<qint16>::max();
constexpr double Int32Min = std::numeric_limits<qint32>::min();
constexpr double Int32Max = std::numeric_limits<qint32>::max();

// An operand as arithmetic sees it.
struct Number {
    double value = 0;
    bool whole = true;   // an Integer, Long, Boolean or Empty
    bool integer = true; // fits the 16-bit Integer subtype
};

using Type = Variant::Type;

bool isNull(const Variant& v) {
    return v.type() == Type::Null;
}

Result toNumber(const Variant& v, Number& number) {
    switch (v.type()) {
    case Type::Empty:
        number = {};
        return Variant();
    case Type::Boolean:
    case Type::Integer:
        number = {v.toDouble(), true, true};
        return Variant();
    case Type::Long:
        number = {v.toDouble(), true, false};
        return Variant();
    case Type::Double:
        number = {v.toDouble(), false, false};
        return Variant();
    case Type::String:
        if (const std::optional<double> parsed = TextToNumber(v.stringValue())) {
            number = {*parsed, false, false};
            return Variant();
        }
        return ScriptError::TypeMismatch;
    case Type::Null:
        break;
    }
    return ScriptError::TypeMismatch;
}

// Rounds half to even into the 32-bit range.
Result toLong(const Variant& v, qint32& whole, bool& integer) {
    Number number;
    if (Result converted = toNumber(v, number); !converted.ok())
        return converted;
    const double rounded = std::nearbyint(number.value);
    if (!(rounded >= Int32Min && rounded <= Int32Max))
        return ScriptError::Overflow;
    whole = static_cast<qint32>(rounded);
    integer = number.integer;
    return Variant();
}

// Both operands as 32-bit wholes; integer tells whether both were integer subtypes.
struct LongOperands {
    qint32 left = 0;
    qint32 right = 0;
    bool integer = false;
};

Result toLongs(const Variant& left, const Variant& right, LongOperands& operands) {
    bool integerLeft = false;
    bool integerRight = false;
    if (Result r = toLong(left, operands.left, integerLeft); !r.ok())
        return r;
    if (Result r = toLong(right, operands.right, integerRight); !r.ok())
        return r;
    operands.integer = integerLeft && integerRight;
    return Variant();
}

Result arithmetic(BinaryOperator op, const Variant& left, const Variant& right) {
    Number a;
    Number b;
    if (Result r = toNumber(left, a); !r.ok())
        return r;
    if (Result r = toNumber(right, b); !r.ok())
        return r;
    double value = 0;
    switch (op) {
    case BinaryOperator::Add:
        value = a.value + b.value;
        break;
    case BinaryOperator::Subtract:
        value = a.value - b.value;
        break;
    case BinaryOperator::Multiply:
        value = a.value * b.value;
        break;
    case BinaryOperator::Divide:
        if (b.value == 0)
            return a.value == 0 ? ScriptError::Overflow : ScriptError::DivisionByZero;
        return Finite(a.value / b.value);
    case BinaryOperator::Power:
        if (a.value == 0 && b.value < 0)
            return ScriptError::DivisionByZero;
        return Finite(std::pow(a.value, b.value));
    default:
        return ScriptError::Syntax;
    }
    if (a.whole && b.whole)
        return Widened(value, a.integer && b.integer);
    return Finite(value);
}

Result wholeDivision(BinaryOperator op, const Variant& left, const Variant& right) {
    LongOperands operands;
    if (Result r = toLongs(left, right, operands); !r.ok())
        return r;
    const qint32 a = operands.left;
    const qint32 b = operands.right;
    if (b == 0)
        return ScriptError::DivisionByZero;
    const qint64 value = op == BinaryOperator::IntegerDivide ? qint64{a} / b : qint64{a} % b;
    if (value > std::numeric_limits<qint32>::max())
        return ScriptError::Overflow;
    return Widened(static_cast<double>(value), operands.integer);
}

Result add(const Variant& left, const Variant& right) {
    const bool leftText = left.type() == Type::String;
    const bool rightText = right.type() == Type::String;
    if ((leftText || left.type() == Type::Empty) && (rightText || right.type() == Type::Empty) &&
        (leftText || rightText))
        return Variant::string(left.stringValue() + right.stringValue());
    return arithmetic(BinaryOperator::Add, left, right);
}

Result concatenate(const Variant& left, const Variant& right) {
    if (isNull(left) && isNull(right))
        return Variant::null();
    return Variant::string(ResultText(left) + ResultText(right));
}

// -1, 0 or 1 as the left operand is less than, equal to or greater than the right one.
Result compare(const Variant& left, const Variant& right, int& order) {
    const bool leftText = left.type() == Type::String;
    const bool rightText = right.type() == Type::String;
    if (leftText || rightText) {
        // Text compares with text or Empty (as ""), character by character.
        const Variant& other = leftText ? right : left;
        if (other.type() == Type::String || other.type() == Type::Empty) {
            order = QString::compare(left.stringValue(), right.stringValue());
            order = (order > 0) - (order < 0);
            return Variant();
        }
        // A number is less than any text.
        order = leftText ? 1 : -1;
        return Variant();
    }
    Number a;
    Number b;
    if (Result r = toNumber(left, a); !r.ok())
        return r;
    if (Result r = toNumber(right, b); !r.ok())
        return r;
    order = (a.value > b.value) - (a.value < b.value);
    return Variant();
}

Result comparison(BinaryOperator op, const Variant& left, const Variant& right) {
    int order = 0;
    if (Result r = compare(left, right, order); !r.ok())
        return r;
    switch (op) {
    case BinaryOperator::Equal:
        return Variant::boolean(order == 0);
    case BinaryOperator::NotEqual:
        return Variant::boolean(order != 0);
    case BinaryOperator::Less:
        return Variant::boolean(order < 0);
    case BinaryOperator::Greater:
        return Variant::boolean(order > 0);
    case BinaryOperator::LessOrEqual:
        return Variant::boolean(order <= 0);
    case BinaryOperator::GreaterOrEqual:
        return Variant::boolean(order >= 0);
    default:
        return ScriptError::Syntax;
    }
}

qint32 bitwise(BinaryOperator op, qint32 a, qint32 b) {
    switch (op) {
    case BinaryOperator::And:
        return a & b;
    case BinaryOperator::Or:
        return a | b;
    case BinaryOperator::Xor:
        return a ^ b;
    case BinaryOperator::Eqv:
        return ~(a ^ b);
    default: // Imp
        return ~a | b;
    }
}

// Null And False is False, Null Or True is True, False Imp Null and Null Imp True are True;
// on numbers the same holds for all bits clear or set (0 And Null is 0, Null Or -1 is -1).
Result logicalWithNull(BinaryOperator op, const Variant& left, const Variant& right) {
    const Variant& other = isNull(left) ? right : left;
    if (isNull(other))
        return Variant::null();
    qint32 bits = 0;
    bool integer = false;
    if (Result r = toLong(other, bits, integer); !r.ok())
        return r;
    const bool decided = (op == BinaryOperator::And && bits == 0) ||
                         (op == BinaryOperator::Or && bits == -1) ||
                         (op == BinaryOperator::Imp && bits == (isNull(left) ? -1 : 0));
    if (!decided)
        return Variant::null();
    const qint32 result = op == BinaryOperator::Imp ? -1 : bits;
    if (other.type() == Type::Boolean)
        return Variant::boolean(result != 0);
    return Widened(result, integer);
}

Result logical(BinaryOperator op, const Variant& left, const Variant& right) {
    if (isNull(left) || isNull(right))
        return logicalWithNull(op, left, right);
    if (left.type() == Type::Boolean && right.type() == Type::Boolean)
        return Variant::boolean(bitwise(op, -left.toBool(), -right.toBool()) != 0);
    LongOperands operands;
    if (Result r = toLongs(left, right, operands); !r.ok())
        return r;
    const qint32 a = operands.left;
    const qint32 b = operands.right;
    return Widened(bitwise(op, a, b), operands.integer);
}

} // namespace

Variant WholeOrDouble(double value, bool whole) {
    if (whole && value <= Int16Max)
        return Variant::integer(static_cast<qint16>(value));
    if (whole && value <= Int32Max)
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

Result Widened(double value, bool integer) {
    if (integer && value >= Int16Min && value <= Int16Max)
        return Variant::integer(static_cast<qint16>(value));
    if (value >= Int32Min && value <= Int32Max)
        return Variant::longValue(static_cast<qint32>(value));
    return Finite(value);
}

Result Apply(BinaryOperator op, const Variant& left, const Variant& right) {
    switch (op) {
    case BinaryOperator::Concatenate:
        return concatenate(left, right);
    case BinaryOperator::And:
    case BinaryOperator::Or:
    case BinaryOperator::Xor:
    case BinaryOperator::Eqv:
    case BinaryOperator::Imp:
        return logical(op, left, right);
    default:
        break;
    }
    if (isNull(left) || isNull(right))
        return Variant::null();
    switch (op) {
    case BinaryOperator::Add:
        return add(left, right);
    case BinaryOperator::IntegerDivide:
    case BinaryOperator::Modulo:
        return wholeDivision(op, left, right);
    case BinaryOperator::Equal:
    case BinaryOperator::NotEqual:
    case BinaryOperator::Less:
    case BinaryOperator::Greater:
    case BinaryOperator::LessOrEqual:
    case BinaryOperator::GreaterOrEqual:
        return comparison(op, left, right);
    default:
        return arithmetic(op, left, right);
    }
}

Result Negate(const Variant& operand) {
    if (isNull(operand))
        return Variant::null();
    Number number;
    if (Result r = toNumber(operand, number); !r.ok())
        return r;
    if (number.whole)
        return Widened(-number.value, number.integer);
    return Finite(-number.value);
}

Result Not(const Variant& operand) {
    if (isNull(operand))
        return Variant::null();
    if (operand.type() == Type::Boolean)
        return Variant::boolean(!operand.toBool());
    qint32 whole = 0;
    bool integer = false;
    if (Result r = toLong(operand, whole, integer); !r.ok())
        return r;
    return Widened(~whole, integer);
}

} // namespace script
