#pragma once

#include "calc/expression_engine.h"
#include "main_window/tape_journal.h"
#include "toolbar/help_viewer.h"
#include "toolbar/office_export.h"
#include "toolbar/print_tape.h"
#include "widgets/clipboard.h"
#include "widgets/message_boxes.h"

#include <functional>
#include <memory>

// The platform behind the main window's commands; tests put stand-ins in its place.
struct Form1Services {
    EngineFactory engine;
    std::shared_ptr<MessageBoxes> messages;
    std::shared_ptr<Clipboard> clipboard;
    std::function<void()> endProgram;
    std::shared_ptr<HelpViewer> help;
    QString programFolder;
    QString tapeFile;
    std::function<std::unique_ptr<DocumentTarget>()> wordTarget;
    std::function<std::unique_ptr<SpreadsheetTarget>()> excelTarget;
    std::function<std::unique_ptr<TapePrinter>()> printer;
    // Loaded as the window's picture after printing.
    QString layoutPicture;
    // Keeps the tapes for the next start; none keeps nothing.
    std::shared_ptr<TapeJournal> journal;

    static Form1Services Default();
};
