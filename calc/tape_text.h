#pragma once

#include "calc/tape.h"

// The whole tape as plain text for other programs: one row per line, the formula, the result and
// the total without their alignment blanks, separated by a TAB, each row ended by LF. Where one
// list is shorter than the others its entries are empty. A tab or line break within an entry
// becomes a blank, so that every entry keeps its own field and row.
QString TapeAsText(const NumberTape& tapes);
