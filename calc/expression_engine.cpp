#include "calc/expression_engine.h"

#include "calc/module1.h"

QString ResultText(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return {};
    case Variant::Type::Boolean:
        return value.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case Variant::Type::String:
        return value.stringValue();
    case Variant::Type::Integer:
    case Variant::Type::Long:
    case Variant::Type::Double:
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
