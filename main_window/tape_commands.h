#pragma once

#include "calc/tape_change.h"

#include <QList>
#include <QObject>

#include <deque>
#include <functional>
#include <memory>
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

// A step of the history, taken back and made again.
class HistoryStep {
public:
    virtual ~HistoryStep() = default;

    virtual void undo() = 0;
    virtual void redo() = 0;
    // What the step did to the tapes, as far as it holds it.
    virtual const TapeChange& change() const = 0;
};

// One step of the tapes in the history: a change of the tapes and the fields' texts around it.
// Its first redo() makes the change, every later one makes it again.
class TapeStep : public HistoryStep {
public:
    TapeStep(std::function<TapeChange()> change, const QList<QLineEdit*>& fields);

    void undo() override;
    void redo() override;

    // Whether making the change left the tapes and the fields as they were.
    bool changedNothing() const { return m_change.isEmpty() && !m_fieldsChanged; }
    const TapeChange& change() const override { return m_change; }

private:
    std::function<TapeChange()> m_make; // until the change is made
    TapeChange m_change;
    FieldTexts m_fields;
    bool m_fieldsChanged = false;
};

// The main window's tape steps for the run: every evaluation, correction, "Neu" and "Öffnen" is
// one step. The latest MaxSteps are kept while the lines the steps hold stay within about twice
// the lines of the tapes (at least MinLinesKept); the oldest go first, the latest always stays.
// Ctrl+Z takes back the formula field's own edits while it has one, then the latest tape step;
// Ctrl+Shift+Z and Ctrl+Y make again what Ctrl+Z took back, the latest first.
class TapeHistory : public QObject {
    Q_OBJECT

public:
    static constexpr int MaxSteps = 100;
    static constexpr qsizetype MinLinesKept = 10000;

    TapeHistory(QWidget& window, QLineEdit& formulaField, const NumberTape& tapes);

    // Runs the change and keeps what it did to the tapes and the fields' texts as one step; a
    // change that changed nothing is not kept and leaves the steps to make again.
    void record(const std::function<TapeChange()>& change, const QList<QLineEdit*>& fields);

    void undo();
    void redo();
    // Puts the step under every step of the run, before the first change, as made already.
    void putAtBottom(std::unique_ptr<HistoryStep> step);

    // The undo and redo keys in an editable combo box of the window walk its editor's own edits
    // first while the box has the focus, then the formula field's and the tape steps.
    void passUndoKeysOn(QComboBox& box);

    int stepCount() const { return static_cast<int>(m_steps.size()); }
    // The tape lines the steps hold.
    qsizetype linesHeld() const;

signals:
    // A tape step is about to be taken back or made again.
    void aboutToWalk(const TapeChange& change);
    // A tape step was made, taken back or made again.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QLineEdit*> fieldsFirst() const;
    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    bool nothingToMakeAgain() const;
    // Makes the field's latest edit taken back again, or the tapes' step without a field.
    bool makeAgain(QLineEdit* field);
    void dropOldestSteps();

    QLineEdit& m_formulaField;
    const NumberTape& m_tapes;
    QList<QComboBox*> m_boxes;
    std::deque<std::unique_ptr<HistoryStep>> m_steps;
    std::size_t m_done = 0; // the steps made, from the oldest; the others can be made again
    // The field (or, as nullptr, the tapes) that each Ctrl+Z took back from, the latest last,
    // while any of it can be made again.
    std::vector<QLineEdit*> m_takenBack;
};
