#pragma once

#include <QString>

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
    static Variant boolean(bool value) { return Variant(Type::Boolean, {.flag = value}); }
    static Variant byte(quint8 value) { return Variant(Type::Byte, {.whole = value}); }
    static Variant integer(qint16 value) { return Variant(Type::Integer, {.whole = value}); }
    static Variant longValue(qint32 value) { return Variant(Type::Long, {.whole = value}); }
    static Variant single(float value) { return Variant(Type::Single, {.single = value}); }
    static Variant number(double value) { return Variant(Type::Double, {.real = value}); }
    static Variant currency(qint64 tenThousandths) {
        return Variant(Type::Currency, {.tenThousandths = tenThousandths});
    }
    static Variant string(QString value) {
        Variant v(Type::String, {});
        v.m_text = std::move(value);
        return v;
    }

    Type type() const { return m_type; }
    bool isNull() const { return m_type == Type::Null; }
    // Byte, Integer and Long.
    bool isWhole() const {
        return m_type == Type::Byte || m_type == Type::Integer || m_type == Type::Long;
    }
    // Numeric subtypes as a double; Boolean as -1 or 0; anything else 0.
    double toDouble() const;
    bool toBool() const { return m_type == Type::Boolean && m_scalar.flag; }
    // A whole subtype's value; 0 for any other.
    qint32 wholeValue() const { return isWhole() ? m_scalar.whole : 0; }
    // A Currency's ten-thousandths; 0 for any other subtype.
    qint64 currencyValue() const { return m_type == Type::Currency ? m_scalar.tenThousandths : 0; }
    // A Single's value; 0 for any other subtype.
    float singleValue() const { return m_type == Type::Single ? m_scalar.single : 0.0f; }
    // A String's text; empty for any other subtype.
    const QString& stringValue() const { return m_text; }

private:
    // The value of every subtype but String, read only as the subtype that m_type names.
    union Scalar {
        double real;
        bool flag;
        qint32 whole;
        qint64 tenThousandths;
        float single;
    };

    Variant(Type type, Scalar scalar)
        : m_type(type)
        , m_scalar(scalar) {}

    Type m_type = Type::Empty;
    Scalar m_scalar{};
    QString m_text;
};
