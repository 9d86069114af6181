#pragma once

#include "calc/tape.h"
#include "main_window/tape_journal.h"

#include <QObject>

#include <memory>

class MessageBoxes;
class QLineEdit;
class TapeHistory;

// The fields of the main window that the journal keeps and that tell of the last run.
struct JournalFields {
    QLineEdit& formula; // Text1
    QLineEdit& result;  // Text2
    QLineEdit& total;   // Text3
};

// Puts the tapes that the last run left at the bottom of the history, as if the run had started
// with them and emptied them: Ctrl+Z brings them back and Ctrl+Shift+Z empties them again. The
// journal is read only when they are taken. Until the first change of the tapes the formula
// field's placeholder and tooltip tell of them. Call before the first change.
void OfferLastRun(const std::shared_ptr<TapeJournal>& journal, TapeHistory& history,
                  NumberTape& tapes, const JournalFields& fields);

// Records every completed change of the tapes in the journal, from the first line of each list
// that changed, for as long as the returned object lives.
std::unique_ptr<QObject> KeepTapesIn(TapeJournal& journal, const TapeHistory& history,
                                     NumberTape& tapes, const JournalFields& fields,
                                     MessageBoxes& messages);
