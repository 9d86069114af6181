#include "calc/variant.h"

double Variant::toDouble() const {
    switch (m_type) {
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return m_scalar.whole;
    case Type::Single:
        return m_scalar.single;
    case Type::Double:
        return m_scalar.real;
    case Type::Currency:
        return static_cast<double>(m_scalar.tenThousandths) / CurrencyScale;
    case Type::Boolean:
        return m_scalar.flag ? -1.0 : 0.0;
    default:
        return 0.0;
    }
}
