#include "toolbar/xlsx_workbook.h"

#include <QFile>

#include <xlsxwriter.h>

namespace {

QString reasonOf(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

lxw_error writeCells(lxw_worksheet* sheet, const QList<SheetCell>& cells) {
    for (const SheetCell& cell : cells) {
        const lxw_error error = worksheet_write_string(sheet, static_cast<lxw_row_t>(cell.row),
                                                       static_cast<lxw_col_t>(cell.column),
                                                       cell.text.toUtf8().constData(), nullptr);
        if (error != LXW_NO_ERROR)
            return error;
    }
    return LXW_NO_ERROR;
}

} // namespace

std::optional<QString> WriteXlsx(const QString& path, const QList<SheetCell>& cells) {
    lxw_workbook* workbook = workbook_new(QFile::encodeName(path).constData());
    if (!workbook)
        return reasonOf(LXW_ERROR_MEMORY_MALLOC_FAILED);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    const lxw_error writing = sheet ? writeCells(sheet, cells) : LXW_ERROR_MEMORY_MALLOC_FAILED;
    if (writing != LXW_NO_ERROR) {
        lxw_workbook_free(workbook);
        return reasonOf(writing);
    }
    const lxw_error closing = workbook_close(workbook);
    if (closing != LXW_NO_ERROR) {
        QFile::remove(path);
        return reasonOf(closing);
    }
    return std::nullopt;
}
