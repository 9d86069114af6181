#pragma once

#include "calc/tape.h"
#include "files/failure.h"
#include "toolbar/desktop_opener.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

// Handing the tapes to a word processor and a spreadsheet. Each operation of a target returns
// nothing on success or the failure to warn of; the export stops at the first.
using ExportFailure = std::optional<Failure>;

// A word processor: text appended at the end of its document, CR LF ending a paragraph.
class DocumentTarget {
public:
    virtual ~DocumentTarget() = default;

    virtual ExportFailure createAndShow() = 0;
    virtual ExportFailure newDocument() = 0;
    virtual ExportFailure appendText(const QString& text) = 0;
    // The document belongs to the user from now on.
    virtual ExportFailure release() = 0;
};

// A spreadsheet: cells of the active sheet set by row and column, both counted from 1.
class SpreadsheetTarget {
public:
    virtual ~SpreadsheetTarget() = default;

    virtual ExportFailure createAndShow() = 0;
    virtual ExportFailure newWorkbook() = 0;
    virtual ExportFailure setCell(int row, int column, const QString& text) = 0;
    // The workbook belongs to the user from now on.
    virtual ExportFailure release() = 0;
};

// List1, List2 and List3 one after another, each entry and one empty line after each tape as
// paragraphs.
ExportFailure ExportToWord(const NumberTape& tapes, DocumentTarget& target);
// List1, List2 and List3 in columns 1 to 3 from row 1, each with an empty cell below.
ExportFailure ExportToExcel(const NumberTape& tapes, SpreadsheetTarget& target);

// The user's documents folder, where exports are saved.
QString DocumentsFolder();

// Targets that save a new .docx or .xlsx file in the folder, never overwriting one, and then
// open it with the opener, which must outlive them.
std::unique_ptr<DocumentTarget> CreateWordTarget(FileOpener& opener,
                                                 const QString& folder = DocumentsFolder());
std::unique_ptr<SpreadsheetTarget> CreateExcelTarget(FileOpener& opener,
                                                     const QString& folder = DocumentsFolder());
// The warning when the opener could not show a saved export, naming the file and the cause.
QString ExportNotShownWarning(const QString& path, const QString& cause);
