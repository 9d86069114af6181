#include "calc/script_operations.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <span>

namespace script {
namespace {

using Type = Variant::Type;

// Products of two Currency values need 128 bits before they are scaled back.
__extension__ typedef __int128 Int128;

// The subtype an operand brings into arithmetic: a Boolean counts as Integer, a text as Double.
Type arithmeticType(Type type) {
    switch (type) {
    case Type::Boolean:
        return Type::Integer;
    case Type::String:
        return Type::Double;
    default:
        return type;
    }
}

// Subtypes from the strongest: a sum or product takes the first one that either operand has.
// Sums rank Currency above Double, products below it.
constexpr Type SumOrder[] = {Type::Currency, Type::Double,  Type::Single,
                             Type::Long,     Type::Integer, Type::Byte};
constexpr Type ProductOrder[] = {Type::Double, Type::Single,  Type::Currency,
                                 Type::Long,   Type::Integer, Type::Byte};

Type resultType(std::span<const Type> order, Type a, Type b) {
    for (const Type type : order) {
        if (a != type && b != type)
            continue;
        // A Single beside a Long or a Currency would lose digits: the result is a Double.
        const bool wider =
            a == Type::Long || b == Type::Long || a == Type::Currency || b == Type::Currency;
        return type == Type::Single && wider ? Type::Double : type;
    }
    return Type::Integer; // Empty with Empty
}

// "/" gives a Double, or a Single where a Single meets nothing wider than an Integer.
Type quotientType(Type a, Type b) {
    const auto narrow = [](Type t) {
        return t == Type::Empty || t == Type::Byte || t == Type::Integer || t == Type::Single;
    };
    return (a == Type::Single || b == Type::Single) && narrow(a) && narrow(b) ? Type::Single
                                                                              : Type::Double;
}

// "\", Mod and the bitwise operators: a Byte between Bytes, an Integer between Integers (or
// Bytes or Empty), a Long otherwise.
Type wholeType(Type a, Type b) {
    if (a == Type::Byte && b == Type::Byte)
        return Type::Byte;
    const auto narrow = [](Type t) {
        return t == Type::Empty || t == Type::Byte || t == Type::Integer;
    };
    return narrow(a) && narrow(b) ? Type::Integer : Type::Long;
}

Type logicalType(Type a, Type b) {
    if (a == Type::Boolean && b == Type::Boolean)
        return Type::Boolean;
    return wholeType(arithmeticType(a), arithmeticType(b));
}

// Both operands converted alike, or the first conversion's error.
template <typename T>
ScriptError convertBoth(ScriptError (*convert)(const Variant&, T&), const Variant& left,
                        const Variant& right, T& a, T& b) {
    if (ScriptError error = convert(left, a); error != ScriptError::None)
        return error;
    return convert(right, b);
}

Result currencyResult(Int128 tenThousandths) {
    if (tenThousandths < std::numeric_limits<qint64>::min() ||
        tenThousandths > std::numeric_limits<qint64>::max())
        return ScriptError::Overflow;
    return Variant::currency(static_cast<qint64>(tenThousandths));
}

// Sums and products in Currency are exact in ten-thousandths.
Result currencyArithmetic(BinaryOperator op, const Variant& left, const Variant& right) {
    qint64 a = 0;
    qint64 b = 0;
    if (ScriptError error = convertBoth(ToCurrency, left, right, a, b); error != ScriptError::None)
        return error;
    switch (op) {
    case BinaryOperator::Add:
        return currencyResult(Int128{a} + b);
    case BinaryOperator::Subtract:
        return currencyResult(Int128{a} - b);
    default:
        return currencyResult(HalfEvenQuotient<Int128>(Int128{a} * b, Variant::CurrencyScale));
    }
}

Result quotient(const Variant& left, const Variant& right) {
    double a = 0;
    double b = 0;
    if (ScriptError error = convertBoth(ToDouble, left, right, a, b); error != ScriptError::None)
        return error;
    if (b == 0)
        return a == 0 ? ScriptError::Overflow : ScriptError::DivisionByZero;
    return InType(quotientType(arithmeticType(left.type()), arithmeticType(right.type())), a / b);
}

Result power(const Variant& left, const Variant& right) {
    double a = 0;
    double b = 0;
    if (ScriptError error = convertBoth(ToDouble, left, right, a, b); error != ScriptError::None)
        return error;
    if (a == 0 && b < 0)
        return ScriptError::DivisionByZero;
    return Finite(std::pow(a, b));
}

// "+", "-" and "*" widen instead of overflowing (Byte to Integer to Long to Double).
Result arithmetic(BinaryOperator op, const Variant& left, const Variant& right) {
    const Type type = resultType(op == BinaryOperator::Multiply ? ProductOrder : SumOrder,
                                 arithmeticType(left.type()), arithmeticType(right.type()));
    if (type == Type::Currency)
        return currencyArithmetic(op, left, right);
    double a = 0;
    double b = 0;
    if (ScriptError error = convertBoth(ToDouble, left, right, a, b); error != ScriptError::None)
        return error;
    const double value = op == BinaryOperator::Add        ? a + b
                         : op == BinaryOperator::Subtract ? a - b
                                                          : a * b;
    return InType(type, value);
}

Result wholeDivision(BinaryOperator op, const Variant& left, const Variant& right) {
    qint32 a = 0;
    qint32 b = 0;
    if (ScriptError error = convertBoth(ToLong, left, right, a, b); error != ScriptError::None)
        return error;
    if (b == 0)
        return ScriptError::DivisionByZero;
    const qint64 value = op == BinaryOperator::IntegerDivide ? qint64{a} / b : qint64{a} % b;
    if (value > std::numeric_limits<qint32>::max())
        return ScriptError::Overflow;
    return InType(wholeType(arithmeticType(left.type()), arithmeticType(right.type())),
                  static_cast<double>(value));
}

Result joined(const QString& left, const QString& right) {
    if (!FitsText(left.size() + right.size()))
        return ScriptError::OutOfStringSpace;
    return Variant::string(left + right);
}

Result add(const Variant& left, const Variant& right) {
    const bool leftText = left.type() == Type::String;
    const bool rightText = right.type() == Type::String;
    if ((leftText || left.type() == Type::Empty) && (rightText || right.type() == Type::Empty) &&
        (leftText || rightText))
        return joined(left.stringValue(), right.stringValue());
    return arithmetic(BinaryOperator::Add, left, right);
}

Result concatenate(const Variant& left, const Variant& right) {
    if (left.isNull() && right.isNull())
        return Variant::null();
    return joined(ResultText(left), ResultText(right));
}

template <typename T> int orderOf(T a, T b) {
    return (a > b) - (a < b);
}

// Currency beside whole numbers compares exactly.
bool exactlyAsCurrency(Type a, Type b) {
    const auto exact = [](Type t) {
        return t == Type::Currency || t == Type::Long || t == Type::Integer || t == Type::Byte ||
               t == Type::Empty;
    };
    return (a == Type::Currency || b == Type::Currency) && exact(a) && exact(b);
}

Result numericOrder(const Variant& left, const Variant& right, int& order) {
    if (exactlyAsCurrency(arithmeticType(left.type()), arithmeticType(right.type()))) {
        qint64 a = 0;
        qint64 b = 0;
        ToCurrency(left, a);
        ToCurrency(right, b);
        order = orderOf(a, b);
        return Variant();
    }
    double a = 0;
    double b = 0;
    if (ScriptError error = convertBoth(ToDouble, left, right, a, b); error != ScriptError::None)
        return error;
    // A Single compares with a Double in single precision.
    const bool singleBesideDouble =
        (left.type() == Type::Single) != (right.type() == Type::Single) &&
        (left.type() == Type::Double || right.type() == Type::Double);
    if (singleBesideDouble && std::fabs(a) <= FLT_MAX && std::fabs(b) <= FLT_MAX) {
        a = static_cast<float>(a);
        b = static_cast<float>(b);
    }
    order = orderOf(a, b);
    return Variant();
}

// -1, 0 or 1 as the left operand is less than, equal to or greater than the right one.
Result compare(const Variant& left, const Variant& right, int& order) {
    const bool leftText = left.type() == Type::String;
    const bool rightText = right.type() == Type::String;
    if (!leftText && !rightText)
        return numericOrder(left, right, order);
    // Text compares with text or Empty (as ""), character by character.
    const Variant& other = leftText ? right : left;
    if (other.type() == Type::String || other.type() == Type::Empty) {
        order = orderOf(QString::compare(left.stringValue(), right.stringValue()), 0);
        return Variant();
    }
    // A number is less than any text.
    order = leftText ? 1 : -1;
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

Result bitsIn(Type type, qint32 bits) {
    switch (type) {
    case Type::Boolean:
        return Variant::boolean(bits != 0);
    case Type::Byte:
        return Variant::byte(static_cast<quint8>(bits & 0xFF));
    case Type::Integer:
        return Variant::integer(static_cast<qint16>(bits));
    default:
        return Variant::longValue(bits);
    }
}

// Null And False is False, Null Or True is True, False Imp Null and Null Imp True are True;
// on numbers the same holds for all bits clear or set (0 And Null is 0, Null Or -1 is -1).
Result logicalWithNull(BinaryOperator op, const Variant& left, const Variant& right) {
    const Variant& other = left.isNull() ? right : left;
    if (other.isNull())
        return Variant::null();
    qint32 bits = 0;
    if (ScriptError error = ToLong(other, bits); error != ScriptError::None)
        return error;
    const bool decided = (op == BinaryOperator::And && bits == 0) ||
                         (op == BinaryOperator::Or && bits == -1) ||
                         (op == BinaryOperator::Imp && bits == (left.isNull() ? -1 : 0));
    if (!decided)
        return Variant::null();
    return bitsIn(logicalType(other.type(), other.type()), op == BinaryOperator::Imp ? -1 : bits);
}

Result logical(BinaryOperator op, const Variant& left, const Variant& right) {
    if (left.isNull() || right.isNull())
        return logicalWithNull(op, left, right);
    qint32 a = 0;
    qint32 b = 0;
    if (ScriptError error = convertBoth(ToLong, left, right, a, b); error != ScriptError::None)
        return error;
    return bitsIn(logicalType(left.type(), right.type()), bitwise(op, a, b));
}

} // namespace

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
    if (left.isNull() || right.isNull())
        return Variant::null();
    switch (op) {
    case BinaryOperator::Add:
        return add(left, right);
    case BinaryOperator::Subtract:
    case BinaryOperator::Multiply:
        return arithmetic(op, left, right);
    case BinaryOperator::Divide:
        return quotient(left, right);
    case BinaryOperator::Power:
        return power(left, right);
    case BinaryOperator::IntegerDivide:
    case BinaryOperator::Modulo:
        return wholeDivision(op, left, right);
    default:
        return comparison(op, left, right);
    }
}

Result Negate(const Variant& operand) {
    switch (arithmeticType(operand.type())) {
    case Type::Null:
        return Variant::null();
    case Type::Currency:
        if (operand.currencyValue() == std::numeric_limits<qint64>::min())
            return ScriptError::Overflow;
        return Variant::currency(-operand.currencyValue());
    case Type::Single:
        return Variant::single(-operand.singleValue());
    case Type::Empty:
    case Type::Byte:
    case Type::Integer:
        return InType(Type::Integer, -operand.toDouble());
    case Type::Long:
        return InType(Type::Long, -operand.toDouble());
    default: {
        double value = 0;
        if (ScriptError error = ToDouble(operand, value); error != ScriptError::None)
            return error;
        return Finite(-value);
    }
    }
}

Result Not(const Variant& operand) {
    switch (operand.type()) {
    case Type::Null:
        return Variant::null();
    case Type::Boolean:
        return Variant::boolean(!operand.toBool());
    case Type::Byte:
    case Type::Empty:
    case Type::Integer:
        return bitsIn(operand.type() == Type::Byte ? Type::Byte : Type::Integer,
                      ~operand.wholeValue());
    default: {
        qint32 whole = 0;
        if (ScriptError error = ToLong(operand, whole); error != ScriptError::None)
            return error;
        return Variant::longValue(~whole);
    }
    }
}

} // namespace script
