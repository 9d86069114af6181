#pragma once

#include "calc/expression_engine.h"
#include "calc/script_errors.h"

#include <vector>

// A VBScript subset that runs one kind of statement, "name = expression", and evaluates
// expressions over the variables it assigned. It can only compute: there are no objects,
// no statements but the assignment and no functions but VBScript's built-in ones that only
// compute (no files, processes, dates, randomness or locale formatting).
class ScriptEngine : public ExpressionEngine {
public:
    static constexpr int MaxLength = 10000;
    static constexpr int MaxDepth = 200;

    void setLanguage(const QString& language) override;
    bool ExecuteStatement(const QString& statement) override;
    std::optional<Variant> Eval(const QString& expression) override;

    ScriptError lastError() const { return m_lastError; }

    // Few variables: a list searched by name, in any case.
    using Variables = std::vector<std::pair<QString, Variant>>;

private:
    void assign(QString name, Variant value);

    Variables m_variables;
    ScriptError m_lastError = ScriptError::None;
};
