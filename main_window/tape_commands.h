#pragma once

#include "calc/tape_change.h"

#include <QList>
#include <QObject>
#include <QUndoCommand>
#include <QUndoStack>

#include <functional>
#include <utility>
#include <vector>

class QComboBox;
class QLineEdit;
class QWidget;

// The texts of fields before and after a step. Taking the step back or making it again gives
// each field its other text while it still reads the text the step left in it, so that nothing
// the user typed since is lost.
class FieldTexts {
public:
    // The texts before the step.
    explicit FieldTexts(const QList<QLineEdit*>& fields);

    // Notes the texts after the step; false when no field changed.
    bool noteTextsAfter();
    void exchange();

private:
    struct Texts {
        QLineEdit* field;
        QString other;
        QString shown;
    };

    std::vector<Texts> m_texts;
};

// One step of the tapes on the undo stack: a change already made when the step is pushed, and
// the fields' texts around it.
class TapeStep : public QUndoCommand {
public:
    TapeStep(TapeChange change, FieldTexts fields);

    void undo() override;
    void redo() override;

private:
    TapeChange m_change;
    FieldTexts m_fields;
    bool m_pushed = true;
};

// The main window's tape steps for the run: every evaluation, correction, "Neu" and "Öffnen" is
// one step, and the latest MaxSteps are kept. Ctrl+Z takes back the formula field's own edits
// while it has one, then the latest tape step; Ctrl+Shift+Z and Ctrl+Y make again what Ctrl+Z
// took back, the latest first.
class TapeHistory : public QObject {
    Q_OBJECT

public:
    static constexpr int MaxSteps = 100;

    TapeHistory(QWidget& window, QLineEdit& formulaField);

    // Runs the change and keeps what it did to the tapes and the fields' texts as one step; a
    // change that changed nothing is not kept.
    void record(const std::function<TapeChange()>& change, const QList<QLineEdit*>& fields);

    void undo();
    void redo();
    // Puts the step under every step of the run, before the first change; it is not made.
    void putAtBottom(QUndoCommand* step);

    // The undo and redo keys in an editable combo box of the window walk its editor's own edits
    // first while the box has the focus, then the formula field's and the tape steps.
    void passUndoKeysOn(QComboBox& box);

    const QUndoStack& steps() const { return m_steps; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QLineEdit*> fieldsFirst() const;
    bool nothingToMakeAgain() const;
    // Makes the field's latest edit taken back again, or the tapes' step without a field.
    bool makeAgain(QLineEdit* field);

    QLineEdit& m_formulaField;
    QList<QComboBox*> m_boxes;
    QUndoStack m_steps;
    // The field (or, as nullptr, the tapes) that each Ctrl+Z took back from, the latest last,
    // while any of it can be made again.
    std::vector<QLineEdit*> m_takenBack;
};
