#include "calc/variant.h"

double Variant::toDouble() const {
    if (const auto* whole = std::get_if<qint32>(&m_value))
        return *whole;
    if (const auto* real = std::get_if<double>(&m_value))
        return *real;
    if (const auto* flag = std::get_if<bool>(&m_value))
        return *flag ? -1.0 : 0.0;
    return 0.0;
}

QString Variant::stringValue() const {
    const auto* text = std::get_if<QString>(&m_value);
    return text ? *text : QString();
}
