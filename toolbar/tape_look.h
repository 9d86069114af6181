#pragma once

#include "toolbar/text_font.h"
#include "toolbar/xlsx_workbook.h"

// How the exports show the tapes: in the font the tapes are shown in, so that the alignment
// blanks right-align the entries as they do on the screen.

TextFont TapeTextFont();

// Every cell in the tapes' font, rows as high as its lines, each column wide enough for its
// longest entry.
SheetLook TapeSheetLook(const QList<SheetCell>& cells);
