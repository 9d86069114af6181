#pragma once

// Helpers of the engine's data-driven tests: a formula's result text or error.
#include "calc/script_engine.h"

#include <QTest>

#include <initializer_list>
#include <tuple>

Q_DECLARE_METATYPE(ScriptError)

namespace script_rows {

// The result text of "xergebnis =" followed by the formula.
inline QString evaluate(const QString& formula) {
    return EvaluateFormula(formula);
}

inline ScriptError errorOf(const QString& formula) {
    ScriptEngine engine;
    engine.ExecuteStatement(QStringLiteral("x =") + formula);
    return engine.lastError();
}

// Columns "formula" and "expected" (the result text).
inline void addResultColumns() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("expected");
}

inline void addRows(std::initializer_list<std::tuple<const char*, QString, QString>> rows) {
    for (const auto& [name, formula, expected] : rows)
        QTest::newRow(name) << formula << expected;
}

// Columns "formula" and "error".
inline void addErrorColumns() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<ScriptError>("error");
}

inline void
addErrorRows(std::initializer_list<std::tuple<const char*, const char*, ScriptError>> rows) {
    for (const auto& [name, formula, error] : rows)
        QTest::newRow(name) << QString::fromUtf8(formula) << error;
}

// Fetches formula and expected result text and compares.
inline void compareResult() {
    QFETCH(QString, formula);
    QFETCH(QString, expected);
    QCOMPARE(evaluate(formula), expected);
}

// Fetches formula and error: the formula fails with it and leaves the result text empty.
inline void compareError() {
    QFETCH(QString, formula);
    QFETCH(ScriptError, error);
    QCOMPARE(errorOf(formula), error);
    QCOMPARE(evaluate(formula), QString());
}

} // namespace script_rows
