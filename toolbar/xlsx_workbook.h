#pragma once

#include "files/failure.h"
#include "toolbar/text_font.h"

#include <QList>
#include <QString>

#include <optional>

// One text cell of a sheet; row and column counted from 0.
struct SheetCell {
    int row;
    int column;
    QString text;
};

// How the sheet shows its cells: in one font, every row as high as given in points, each column
// as wide as given in pixels (counted from column 0; columns past the list keep the default).
struct SheetLook {
    TextFont font;
    double rowPoints = 0;
    QList<int> columnPixels;
};

// Writes a new workbook (.xlsx) with one sheet holding the cells as text, looking as given. The
// texts must hold only characters that XML allows; an empty text leaves its cell blank. The path
// must name no file yet: a failed write leaves no file behind. Nothing on success, otherwise the
// German reason.
std::optional<Failure> WriteXlsx(const QString& path, const QList<SheetCell>& cells,
                                 const SheetLook& look);
