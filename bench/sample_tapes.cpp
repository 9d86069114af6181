#include "sample_tapes.h"

SampleTapes::SampleTapes(int lines) {
    QStringList formulas, results, totals;
    for (int i = 0; i < lines; ++i) {
        formulas << AlignedForList(format, QStringLiteral("%1+0,5").arg(i));
        results << AlignedForList(format, FormatResult(i + 0.5, format.decimals));
        totals << AlignedForList(format, FormatResult(0.5 * (i + 1) * (i + 1), format.decimals));
    }
    tapes.List1.append(formulas);
    tapes.List2.append(results);
    tapes.List3.append(totals);
}
