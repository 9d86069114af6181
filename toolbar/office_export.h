#pragma once

#include "calc/tape.h"
#include "files/failure.h"

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

// Shows a saved file in the desktop's application for it.
class FileOpener {
public:
    virtual ~FileOpener() = default;

    // False when no application could be started for it.
    virtual bool open(const QString& path) = 0;
};

// Told, naming the file, when an opener reports after the export that it failed.
using OpenFailureReport = std::function<void(const Failure& failure)>;

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
// Opens files with the desktop's opener program, which chooses the application; when the program
// exits with a failure, the report is told. An opener that is destroyed stops its programs still
// running and reports nothing more.
std::unique_ptr<FileOpener>
CreateDesktopOpener(OpenFailureReport report, const QString& program = QStringLiteral("xdg-open"));
