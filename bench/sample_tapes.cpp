#include "sample_tapes.h"

namespace {

constexpr int TapeWidthTwips = 1695;

} // namespace

SampleTapes::SampleTapes(int lines) {
    for (Tape* tape : {&tapes.List1, &tapes.List2, &tapes.List3})
        tape->setWidthTwips(TapeWidthTwips);
    QStringList formulas, results, totals;
    for (int i = 0; i < lines; ++i) {
        formulas << AlignedForList(format, tapes.List1, QStringLiteral("%1+0,5").arg(i));
        results << AlignedForList(format, tapes.List2, FormatResult(i + 0.5, format.decimals));
        totals << AlignedForList(format, tapes.List3,
                                 FormatResult(0.5 * (i + 1) * (i + 1), format.decimals));
    }
    tapes.List1.append(formulas);
    tapes.List2.append(results);
    tapes.List3.append(totals);
}
