#pragma once

#include <QString>

#include <variant>

// A script value: the VBScript Variant subtypes that formulas can produce.
class Variant {
public:
    enum class Type { Empty, Null, Boolean, Integer, Long, Double, String };

    Variant() = default;
    static Variant null() { return Variant(Type::Null, {}); }
    static Variant boolean(bool value) { return Variant(Type::Boolean, value); }
    static Variant integer(qint16 value) { return Variant(Type::Integer, qint32{value}); }
    static Variant longValue(qint32 value) { return Variant(Type::Long, value); }
    static Variant number(double value) { return Variant(Type::Double, value); }
    static Variant string(QString value) { return Variant(Type::String, std::move(value)); }

    Type type() const { return m_type; }
    bool isNumeric() const {
        return m_type == Type::Integer || m_type == Type::Long || m_type == Type::Double;
    }
    // Numeric subtypes as a double; Boolean as -1 or 0; anything else 0.
    double toDouble() const;
    bool toBool() const { return std::get_if<bool>(&m_value) && std::get<bool>(m_value); }
    QString stringValue() const;

private:
    using Storage = std::variant<std::monostate, bool, qint32, double, QString>;
    Variant(Type type, Storage value)
        : m_type(type)
        , m_value(std::move(value)) {}

    Type m_type = Type::Empty;
    Storage m_value;
};
