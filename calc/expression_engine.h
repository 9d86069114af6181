#pragma once

#include "calc/variant.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

// A script engine that runs one statement and answers one expression.
class ExpressionEngine {
public:
    virtual ~ExpressionEngine() = default;

    virtual void setLanguage(const QString& language) = 0;
    // Runs the statement; false on a syntax or run-time error (nothing is assigned then).
    virtual bool ExecuteStatement(const QString& statement) = 0;
    // The value of the expression, or nothing when it fails.
    virtual std::optional<Variant> Eval(const QString& expression) = 0;
};

using EngineFactory = std::function<std::unique_ptr<ExpressionEngine>()>;

// The project's VBScript engine, the one the windows evaluate with.
std::unique_ptr<ExpressionEngine> CreateScriptControl();

// Evaluates a formula (decimal point already ".") in a fresh engine; "" when it fails.
QString EvaluateFormula(const QString& formula,
                        const EngineFactory& createEngine = CreateScriptControl);
