#pragma once

#include <QList>
#include <QString>

#include <optional>

// One text cell of a sheet; row and column counted from 0.
struct SheetCell {
    int row;
    int column;
    QString text;
};

// Writes a new workbook (.xlsx) with one sheet holding the cells as text. The texts must hold only
// characters that XML allows; an empty text leaves its cell blank. The path must name no file
// yet: a failed write leaves no file behind. Nothing on success, otherwise the German reason.
std::optional<QString> WriteXlsx(const QString& path, const QList<SheetCell>& cells);
