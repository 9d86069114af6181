#include "calc/evaluation.h"

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

EvaluationOutcome EvaluateOntoTapes(NumberTape& tapes, const QString& fieldText,
                                    const LineFormat& format, const EngineFactory& createEngine) {
    const QString formula = FormulaWithDecimalPoint(fieldText);
    EvaluationOutcome outcome;
    outcome.resultText = EvaluateFormula(formula, createEngine);
    tapes.List1.append(AlignedForList(format, formula));
    tapes.List2.append(AlignedForList(format, FormatResult(outcome.resultText, format.decimals)));
    const int n = tapes.List2.count() - 1;
    const double x = TextToNumber(tapes.List2.text(n)).value_or(0.0);
    const double total = x + TotalAbove(tapes.List3, n);
    tapes.List3.append(AlignedForList(format, FormatResult(total, format.decimals)));
    outcome.totalText = NumberToText(total);
    return outcome;
}
