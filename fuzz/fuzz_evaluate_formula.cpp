// Any text as a formula: the engine must answer every input without crashing or hanging.
#include "calc/expression_engine.h"
#include "calc/script_conversions.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    EvaluateFormula(text);
    // The bare expression path, without the assignment around it.
    const std::unique_ptr<ExpressionEngine> engine = CreateScriptControl();
    engine->setLanguage(QStringLiteral("VBScript"));
    if (const std::optional<Variant> value = engine->Eval(text))
        ResultText(*value);
    return 0;
}
