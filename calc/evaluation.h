#pragma once

#include "calc/expression_engine.h"
#include "calc/module1.h"
#include "calc/tape.h"

// How tape lines are written at this moment: the main window's font and decimals choice, and
// the width of its lists.
struct LineFormat {
    const TextMeasurer& measurer;
    DecimalsIndex decimals;
    int listWidthTwips;
};

// The text right-aligned for a list, or the text itself when it is too wide to be padded.
QString AlignedForList(const LineFormat& format, QString text);

// The formula as handed to the engine: every "," becomes ".".
QString FormulaWithDecimalPoint(QString fieldText);

// The latest total shown on the totals tape above the given position that reads as a number.
double TotalAbove(const Tape& totals, int position);

struct EvaluationOutcome {
    QString resultText; // what the engine returned
    QString totalText;  // the new running total, unrounded
};

// Evaluates the formula field onto the three tapes: the formula, its formatted result and the
// running total (the new result line plus the total above it, both as displayed).
EvaluationOutcome EvaluateOntoTapes(NumberTape& tapes, const QString& fieldText,
                                    const LineFormat& format,
                                    const EngineFactory& createEngine = CreateScriptControl);

// Evaluates the formulas in turn as EvaluateOntoTapes evaluates a field, each with its running
// total, and appends each list's new lines in one batch. The outcome is that of the last formula.
EvaluationOutcome EvaluateAllOntoTapes(NumberTape& tapes, const QStringList& formulas,
                                       const LineFormat& format,
                                       const EngineFactory& createEngine = CreateScriptControl);
