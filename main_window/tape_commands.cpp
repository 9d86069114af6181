#include "main_window/tape_commands.h"

#include "main_window/window_shortcut.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace {

const QList<QKeySequence> UndoKeys{QKeySequence(Qt::CTRL | Qt::Key_Z)};
const QList<QKeySequence> RedoKeys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                   QKeySequence(Qt::CTRL | Qt::Key_Y)};

bool isOneOf(const QKeyEvent& key, const QList<QKeySequence>& keys) {
    const QKeySequence pressed(
        QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key())));
    return keys.contains(pressed);
}

} // namespace

FieldTexts::FieldTexts(const QList<QLineEdit*>& fields) {
    for (QLineEdit* field : fields)
        m_texts.push_back({field, field->text(), {}});
}

bool FieldTexts::noteTextsAfter() {
    bool changed = false;
    for (Texts& texts : m_texts) {
        texts.shown = texts.field->text();
        changed = changed || texts.shown != texts.other;
    }
    return changed;
}

void FieldTexts::exchange() {
    for (Texts& texts : m_texts) {
        if (texts.field->text() == texts.shown)
            texts.field->setText(texts.other);
        std::swap(texts.shown, texts.other);
    }
}

TapeStep::TapeStep(std::function<TapeChange()> change, const QList<QLineEdit*>& fields)
    : m_make(std::move(change))
    , m_fields(fields) {}

void TapeStep::undo() {
    m_change.takeBack();
    m_fields.exchange();
}

void TapeStep::redo() {
    if (m_make) {
        m_change = std::exchange(m_make, nullptr)();
        m_fieldsChanged = m_fields.noteTextsAfter();
        return;
    }
    m_change.makeAgain();
    m_fields.exchange();
}

TapeHistory::TapeHistory(QWidget& window, QLineEdit& formulaField, const NumberTape& tapes)
    : QObject(&window)
    , m_formulaField(formulaField)
    , m_tapes(tapes) {
    AddWindowShortcut(window, UndoKeys, [this] { undo(); });
    AddWindowShortcut(window, RedoKeys, [this] { redo(); });
    formulaField.installEventFilter(this);
}

void TapeHistory::record(const std::function<TapeChange()>& change,
                         const QList<QLineEdit*>& fields) {
    auto step = std::make_unique<TapeStep>(change, fields);
    step->redo();
    if (step->changedNothing())
        return;
    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_done), m_steps.end());
    m_steps.push_back(std::move(step));
    m_done = m_steps.size();
    dropOldestSteps();
    emit changed();
}

qsizetype TapeHistory::linesHeld() const {
    qsizetype held = 0;
    for (const std::unique_ptr<HistoryStep>& step : m_steps)
        held += step->change().linesHeld();
    return held;
}

// Drops the oldest steps beyond the bounds; called as a step is recorded, when every step is
// made and the lines a step holds are those it took from the tapes.
void TapeHistory::dropOldestSteps() {
    const qsizetype tapeLines =
        m_tapes.List1.count() + m_tapes.List2.count() + m_tapes.List3.count();
    const qsizetype bound = std::max(2 * tapeLines, MinLinesKept);
    qsizetype held = linesHeld();
    while (m_steps.size() > 1 && (m_steps.size() > std::size_t{MaxSteps} || held > bound)) {
        held -= m_steps.front()->change().linesHeld();
        m_steps.pop_front();
        --m_done;
    }
}

void TapeHistory::putAtBottom(std::unique_ptr<HistoryStep> step) {
    Q_ASSERT(m_steps.empty());
    m_steps.push_back(std::move(step));
    m_done = m_steps.size();
}

// The fields whose own edits Ctrl+Z takes back before the tape steps: a combo box's editor while
// the box has the focus, then the formula field.
QList<QLineEdit*> TapeHistory::fieldsFirst() const {
    QList<QLineEdit*> fields;
    for (QComboBox* box : m_boxes) {
        if (box->hasFocus() && box->lineEdit())
            fields << box->lineEdit();
    }
    fields << &m_formulaField;
    return fields;
}

bool TapeHistory::nothingToMakeAgain() const {
    const QList<QLineEdit*> fields = fieldsFirst();
    return !canRedo() && std::none_of(fields.begin(), fields.end(),
                                      [](QLineEdit* field) { return field->isRedoAvailable(); });
}

void TapeHistory::undo() {
    if (nothingToMakeAgain())
        m_takenBack.clear();
    for (QLineEdit* field : fieldsFirst()) {
        if (field->isUndoAvailable()) {
            field->undo();
            m_takenBack.push_back(field);
            return;
        }
    }
    if (canUndo()) {
        HistoryStep& latest = *m_steps[--m_done];
        emit aboutToWalk(latest.change());
        latest.undo();
        m_takenBack.push_back(nullptr);
        emit changed();
    }
}

void TapeHistory::redo() {
    while (!m_takenBack.empty()) {
        QLineEdit* latest = m_takenBack.back();
        m_takenBack.pop_back();
        if (makeAgain(latest))
            return;
    }
    // Taken back otherwise, as with a field's context menu.
    for (QLineEdit* field : fieldsFirst()) {
        if (makeAgain(field))
            return;
    }
    makeAgain(nullptr);
}

bool TapeHistory::makeAgain(QLineEdit* field) {
    if (!field) {
        if (!canRedo())
            return false;
        HistoryStep& next = *m_steps[m_done++];
        emit aboutToWalk(next.change());
        next.redo();
        emit changed();
        return true;
    }
    if (!field->isRedoAvailable())
        return false;
    field->redo();
    return true;
}

void TapeHistory::passUndoKeysOn(QComboBox& box) {
    m_boxes << &box;
    box.installEventFilter(this);
}

// The undo and redo keys go on from the fields to the window's shortcuts, which choose between
// the fields' own edits and the tape steps.
bool TapeHistory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto& key = *static_cast<QKeyEvent*>(event);
    if (!isOneOf(key, UndoKeys) && !isOneOf(key, RedoKeys))
        return false;
    key.ignore();
    return true;
}
