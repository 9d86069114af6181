#include "calc/evaluation.h"

#include <array>

QString AlignedForList(const LineFormat& format, QString text) {
    RightAlignForList(format.measurer, format.listWidthTwips, text);
    return text;
}

QString FormulaWithDecimalPoint(QString fieldText) {
    return fieldText.replace(u',', u'.');
}

double TotalAbove(const Tape& totals, int position) {
    for (int i = std::min(position, totals.count()) - 1; i >= 0; --i) {
        if (const std::optional<double> total = TextToNumber(totals.text(i)))
            return *total;
    }
    return 0.0;
}

namespace {

// The three lines of one evaluation, before they are appended.
struct EvaluatedLines {
    QString formula;
    QString result;
    QString total;
    EvaluationOutcome outcome;
};

// totalAbove: the running total shown above the new lines.
EvaluatedLines evaluate(const QString& fieldText, double totalAbove, const LineFormat& format,
                        const EngineFactory& createEngine) {
    EvaluatedLines lines;
    lines.formula = FormulaWithDecimalPoint(fieldText);
    lines.outcome.resultText = EvaluateFormula(lines.formula, createEngine);
    lines.formula = AlignedForList(format, lines.formula);
    lines.result = AlignedForList(format, FormatResult(lines.outcome.resultText, format.decimals));
    const double total = TextToNumber(lines.result).value_or(0.0) + totalAbove;
    lines.total = AlignedForList(format, FormatResult(total, format.decimals));
    lines.outcome.totalText = NumberToText(total);
    return lines;
}

} // namespace

EvaluationOutcome EvaluateOntoTapes(NumberTape& tapes, const QString& fieldText,
                                    const LineFormat& format, const EngineFactory& createEngine) {
    EvaluatedLines lines =
        evaluate(fieldText, TotalAbove(tapes.List3, tapes.List2.count()), format, createEngine);
    tapes.List1.append(std::move(lines.formula));
    tapes.List2.append(std::move(lines.result));
    tapes.List3.append(std::move(lines.total));
    return lines.outcome;
}

EvaluationOutcome EvaluateAllOntoTapes(NumberTape& tapes, const QStringList& formulas,
                                       const LineFormat& format,
                                       const EngineFactory& createEngine) {
    std::array<QStringList, 3> added;
    for (QStringList& list : added)
        list.reserve(formulas.size());
    double totalAbove = TotalAbove(tapes.List3, tapes.List2.count());
    EvaluationOutcome outcome;
    for (const QString& formula : formulas) {
        EvaluatedLines lines = evaluate(formula, totalAbove, format, createEngine);
        totalAbove = TextToNumber(lines.total).value_or(totalAbove);
        added[0].append(std::move(lines.formula));
        added[1].append(std::move(lines.result));
        added[2].append(std::move(lines.total));
        outcome = std::move(lines.outcome);
    }
    tapes.List1.append(std::move(added[0]));
    tapes.List2.append(std::move(added[1]));
    tapes.List3.append(std::move(added[2]));
    return outcome;
}
