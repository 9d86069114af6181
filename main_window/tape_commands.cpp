#include "main_window/tape_commands.h"

#include "main_window/window_shortcut.h"

#include <QComboBox>
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

void TapeHistory::putAtBottom(QUndoCommand* step) {
    Q_ASSERT(m_steps.count() == 0);
    m_steps.push(step);
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
    return !m_steps.canRedo() && std::none_of(fields.begin(), fields.end(), [](QLineEdit* field) {
        return field->isRedoAvailable();
    });
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
    if (m_steps.canUndo()) {
        m_steps.undo();
        m_takenBack.push_back(nullptr);
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
        if (!m_steps.canRedo())
            return false;
        m_steps.redo();
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
