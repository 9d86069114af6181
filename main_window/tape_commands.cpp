#include "main_window/tape_commands.h"

#include "main_window/window_shortcut.h"

#include <QKeyEvent>
#include <QLineEdit>

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

TapeStep::TapeStep(TapeChange change, FieldTexts fields)
    : m_change(std::move(change))
    , m_fields(std::move(fields)) {}

void TapeStep::undo() {
    m_change.takeBack();
    m_fields.exchange();
}

void TapeStep::redo() {
    if (std::exchange(m_pushed, false))
        return;
    m_change.makeAgain();
    m_fields.exchange();
}

TapeHistory::TapeHistory(QWidget& window, QLineEdit& formulaField)
    : QObject(&window)
    , m_formulaField(formulaField) {
    m_steps.setUndoLimit(MaxSteps);
    AddWindowShortcut(window, UndoKeys, [this] { undo(); });
    AddWindowShortcut(window, RedoKeys, [this] { redo(); });
    formulaField.installEventFilter(this);
}

void TapeHistory::record(const std::function<TapeChange()>& change,
                         const QList<QLineEdit*>& fields) {
    FieldTexts texts(fields);
    TapeChange made = change();
    if (texts.noteTextsAfter() || !made.isEmpty())
        m_steps.push(new TapeStep(std::move(made), std::move(texts)));
}

void TapeHistory::undo() {
    if (!m_formulaField.isRedoAvailable() && !m_steps.canRedo())
        m_takenBack.clear();
    if (m_formulaField.isUndoAvailable()) {
        m_formulaField.undo();
        m_takenBack.push_back(Walk::Field);
    } else if (m_steps.canUndo()) {
        m_steps.undo();
        m_takenBack.push_back(Walk::Tapes);
    }
}

void TapeHistory::redo() {
    while (!m_takenBack.empty()) {
        const Walk latest = m_takenBack.back();
        m_takenBack.pop_back();
        if (makeAgain(latest))
            return;
    }
    // Taken back otherwise, as with the field's context menu.
    if (!makeAgain(Walk::Field))
        makeAgain(Walk::Tapes);
}

bool TapeHistory::makeAgain(Walk walk) {
    if (walk == Walk::Field && m_formulaField.isRedoAvailable()) {
        m_formulaField.redo();
        return true;
    }
    if (walk == Walk::Tapes && m_steps.canRedo()) {
        m_steps.redo();
        return true;
    }
    return false;
}

// The undo and redo keys go on from the formula field to the window's shortcuts, which decide
// between the field's own edits and the tape steps.
bool TapeHistory::eventFilter(QObject* watched, QEvent* event) {
    const bool shortcut = event->type() == QEvent::ShortcutOverride;
    if (watched != &m_formulaField || (!shortcut && event->type() != QEvent::KeyPress))
        return QObject::eventFilter(watched, event);
    auto& key = *static_cast<QKeyEvent*>(event);
    if (!isOneOf(key, UndoKeys) && !isOneOf(key, RedoKeys))
        return false;
    key.ignore();
    return true;
}
