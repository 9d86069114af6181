#include "calc/expression_engine.h"

#include "calc/module1.h"

#include <charconv>

namespace {

// A Single shows the seven significant digits it holds: CSng(1/3) is 0,3333333.
double asShown(float single) {
    constexpr int SingleDigits = 7;
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, double{single},
                                   std::chars_format::general, SingleDigits)
                         .ptr;
    double shown = 0;
    std::from_chars(buffer, end, shown);
    return shown;
}

} // namespace

QString ResultText(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return {};
    case Variant::Type::Boolean:
        return value.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case Variant::Type::String:
        return value.stringValue();
    case Variant::Type::Single:
        return NumberToText(asShown(value.singleValue()));
    case Variant::Type::Byte:
    case Variant::Type::Integer:
    case Variant::Type::Long:
    case Variant::Type::Double:
    case Variant::Type::Currency:
        return NumberToText(value.toDouble());
    }
    return {};
}

QString EvaluateFormula(const QString& formula, const EngineFactory& createEngine) {
    const std::unique_ptr<ExpressionEngine> engine = createEngine ? createEngine() : nullptr;
    if (!engine)
        return {};
    engine->setLanguage(QStringLiteral("VBScript"));
    engine->ExecuteStatement(QStringLiteral("xergebnis =") + formula);
    const std::optional<Variant> value = engine->Eval(QStringLiteral("xergebnis"));
    return value ? ResultText(*value) : QString();
}
