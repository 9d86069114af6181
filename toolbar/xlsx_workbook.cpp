#include "toolbar/xlsx_workbook.h"

#include "calc/module1.h"
#include "files/file_access.h"

#include <QFile>

#include <xlsxwriter.h>

#include <cerrno>

namespace {

constexpr qint64 MaxCellCharacters = 32767; // enforced by the library, as by spreadsheets

// The cause of a libxlsxwriter failure in German; error is the system's error number after it.
QString reasonOf(lxw_error failure, int error) {
    switch (failure) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return SystemErrorSentence(ENOMEM);
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("Ein Eintrag ist länger als die %1 Zeichen, die eine Zelle fassen "
                              "kann.")
            .arg(GermanCount(MaxCellCharacters));
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
        return QStringLiteral("Das Band hat mehr Einträge, als ein Tabellenblatt Zeilen hat (%1).")
            .arg(GermanCount(LXW_ROW_MAX));
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        return QStringLiteral("Eine Hilfsdatei im Ordner für temporäre Dateien ging nicht: %1.")
            .arg(error != 0 ? SystemErrorText(error) : QStringLiteral("unbekannte Ursache"));
    default:
        if (error != 0)
            return SystemErrorSentence(error);
        return QStringLiteral("Die Arbeitsmappe konnte nicht geschrieben werden "
                              "(libxlsxwriter-Fehler %1).")
            .arg(static_cast<int>(failure));
    }
}

// The font of every cell; null when the library has no memory for it.
lxw_format* textFormat(lxw_workbook* workbook, const TextFont& font) {
    lxw_format* format = workbook_add_format(workbook);
    if (format) {
        format_set_font_name(format, font.family.toUtf8().constData());
        format_set_font_size(format, font.points);
    }
    return format;
}

lxw_error layOutColumns(lxw_worksheet* sheet, const QList<int>& pixels, lxw_format* format) {
    for (qsizetype index = 0; index < pixels.size(); ++index) {
        const auto column = static_cast<lxw_col_t>(index);
        const lxw_error error =
            worksheet_set_column_pixels(sheet, column, column, pixels[index], format);
        if (error != LXW_NO_ERROR)
            return error;
    }
    return LXW_NO_ERROR;
}

lxw_error writeCells(lxw_worksheet* sheet, const QList<SheetCell>& cells, lxw_format* format) {
    for (const SheetCell& cell : cells) {
        const lxw_error error = worksheet_write_string(sheet, static_cast<lxw_row_t>(cell.row),
                                                       static_cast<lxw_col_t>(cell.column),
                                                       cell.text.toUtf8().constData(), format);
        if (error != LXW_NO_ERROR)
            return error;
    }
    return LXW_NO_ERROR;
}

lxw_error fillSheet(lxw_workbook* workbook, const QList<SheetCell>& cells, const SheetLook& look) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format* format = textFormat(workbook, look.font);
    if (!sheet || !format)
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    worksheet_set_default_row(sheet, look.rowPoints, LXW_FALSE);
    const lxw_error columns = layOutColumns(sheet, look.columnPixels, format);
    return columns != LXW_NO_ERROR ? columns : writeCells(sheet, cells, format);
}

// Writes the workbook to the path, which the library replaces.
std::optional<Failure> writeWorkbook(const QString& path, const QList<SheetCell>& cells,
                                     const SheetLook& look) {
    lxw_workbook* workbook = workbook_new(QFile::encodeName(path).constData());
    if (!workbook)
        return reasonOf(LXW_ERROR_MEMORY_MALLOC_FAILED, 0);
    const lxw_error writing = fillSheet(workbook, cells, look);
    if (writing != LXW_NO_ERROR) {
        lxw_workbook_free(workbook);
        return reasonOf(writing, 0);
    }
    errno = 0;
    const lxw_error closing = workbook_close(workbook);
    if (closing != LXW_NO_ERROR)
        return reasonOf(closing, errno);
    return std::nullopt;
}

} // namespace

std::optional<Failure> WriteXlsx(const QString& path, const QList<SheetCell>& cells,
                                 const SheetLook& look) {
    return WriteFileSafely(
        path,
        [&cells, &look](const QString& temporary) { return writeWorkbook(temporary, cells, look); },
        Commit::CreateNew);
}
