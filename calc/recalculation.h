#pragma once

#include "calc/evaluation.h"

// Recomputes every running total from the first line on: each calculation line, rounded again
// to the decimals chosen now, plus the total just recomputed above it. The calculation lines
// keep their text. The totals tape ends with exactly as many lines as the calculation tape; a
// total that changes is rewritten, so no view keeps it selected.
void RecalculateTotals(NumberTape& tapes, const LineFormat& format);

// Replaces the formula and the calculation line at position k in place (a list that has no
// line k keeps its lines), then recomputes every total. The views drop their selection of the
// replaced lines, so selecting the formula line again reopens it.
void CorrectLine(NumberTape& tapes, int k, const QString& formula, const QString& resultText,
                 const LineFormat& format);
