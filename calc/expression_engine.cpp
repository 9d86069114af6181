#include "calc/expression_engine.h"

#include "calc/script_conversions.h"

QString EvaluateFormula(const QString& formula, const EngineFactory& createEngine) {
    const std::unique_ptr<ExpressionEngine> engine = createEngine ? createEngine() : nullptr;
    if (!engine)
        return {};
    engine->setLanguage(QStringLiteral("VBScript"));
    engine->ExecuteStatement(QStringLiteral("xergebnis =") + formula);
    const std::optional<Variant> value = engine->Eval(QStringLiteral("xergebnis"));
    return value ? ResultText(*value) : QString();
}
