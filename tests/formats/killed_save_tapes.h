#pragma once

#include "calc/tape.h"

// The two tapes that the killed-save test saves by turns: as many lines each, the first and the
// last line different, the lines between shared so that a helper process starts quickly.
inline constexpr int KilledSaveLines = 200'000;

inline void FillKilledSaveTapes(NumberTape (&tapes)[2]) {
    QStringList formulas, results, totals;
    for (QStringList* list : {&formulas, &results, &totals})
        list->reserve(KilledSaveLines);
    for (int i = 0; i < KilledSaveLines; ++i) {
        formulas << QString::number(i) + QStringLiteral("+1");
        results << QString::number(i) + QStringLiteral(",00");
        totals << QString::number(qint64{i} * (i + 1) / 2) + QStringLiteral(",00");
    }
    for (NumberTape& tape : tapes) {
        tape.List1.append(formulas);
        tape.List2.append(results);
        tape.List3.append(totals);
    }
    tapes[1].List1.replaceAt(0, QStringLiteral("1+1"));
    tapes[1].List3.replaceAt(KilledSaveLines - 1, QStringLiteral("1,00"));
}
