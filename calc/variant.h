#pragma once

#include <QString>

#include <variant>

// A script value: the VBScript Variant subtypes that formulas can produce.
class Variant {
public:
    // Numbered as VarType reports them.
    enum class Type : quint8 {
        Empty = 0,
        Null = 1,
        Integer = 2,
        Long = 3,
        Single = 4,
        Double = 5,
        Currency = 6,
        String = 8,
        Boolean = 11,
        Byte = 17,
    };

    // A Currency counts ten-thousandths in a 64-bit integer.
    static constexpr qint64 CurrencyScale = 10000;

    Variant() = default;
    static Variant null() { return Variant(Type::Null, {}); }
    static Variant boolean(bool value) { return Variant(Type::Boolean, value); }
    static Variant byte(quint8 value) { return Variant(Type::Byte, qint32{value}); }
    static Variant integer(qint16 value) { return Variant(Type::Integer, qint32{value}); }
    static Variant longValue(qint32 value) { return Variant(Type::Long, value); }
    static Variant single(float value) { return Variant(Type::Single, value); }
    static Variant number(double value) { return Variant(Type::Double, value); }
    static Variant currency(qint64 tenThousandths) {
        return Variant(Type::Currency, tenThousandths);
    }
    static Variant string(QString value) { return Variant(Type::String, std::move(value)); }

    Type type() const { return m_type; }
    // Byte, Integer and Long.
    bool isWhole() const { return std::holds_alternative<qint32>(m_value); }
    // Numeric subtypes as a double; Boolean as -1 or 0; anything else 0.
    double toDouble() const;
    bool toBool() const { return std::get_if<bool>(&m_value) && std::get<bool>(m_value); }
    // A whole subtype's value; 0 for any other.
    qint32 wholeValue() const;
    // A Currency's ten-thousandths; 0 for any other subtype.
    qint64 currencyValue() const;
    // A Single's value; 0 for any other subtype.
    float singleValue() const;
    QString stringValue() const;

private:
    using Storage = std::variant<std::monostate, bool, qint32, qint64, float, double, QString>;
    Variant(Type type, Storage value)
        : m_type(type)
        , m_value(std::move(value)) {}

    Type m_type = Type::Empty;
    Storage m_value;
};
