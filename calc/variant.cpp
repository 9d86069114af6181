#include "calc/variant.h"

double Variant::toDouble() const {
    if (const auto* whole = std::get_if<qint32>(&m_value))
        return *whole;
    if (const auto* real = std::get_if<double>(&m_value))
        return *real;
    if (const auto* single = std::get_if<float>(&m_value))
        return *single;
    if (const auto* tenThousandths = std::get_if<qint64>(&m_value))
        return static_cast<double>(*tenThousandths) / CurrencyScale;
    if (const auto* flag = std::get_if<bool>(&m_value))
        return *flag ? -1.0 : 0.0;
    return 0.0;
}

qint32 Variant::wholeValue() const {
    const auto* whole = std::get_if<qint32>(&m_value);
    return whole ? *whole : 0;
}

qint64 Variant::currencyValue() const {
    const auto* tenThousandths = std::get_if<qint64>(&m_value);
    return tenThousandths ? *tenThousandths : 0;
}

float Variant::singleValue() const {
    const auto* single = std::get_if<float>(&m_value);
    return single ? *single : 0.0f;
}

QString Variant::stringValue() const {
    const auto* text = std::get_if<QString>(&m_value);
    return text ? *text : QString();
}
