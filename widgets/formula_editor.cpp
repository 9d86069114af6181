#include "widgets/formula_editor.h"

#include "calc/formula_edit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

namespace {

// Turns the line breaks of every edit into blanks; the caret keeps its place in the text.
class SingleLineValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override {
        if (formula_edit::HasLineBreak(input)) {
            position =
                static_cast<int>(formula_edit::LineBreaksAsBlanks(input.left(position)).size());
            input = formula_edit::LineBreaksAsBlanks(input);
        }
        return Acceptable;
    }
};

} // namespace

FormulaEditor::FormulaEditor(QLineEdit& field, Rule percent, std::function<void()> evaluate)
    : QObject(&field)
    , m_field(field)
    , m_percent(percent)
    , m_evaluate(std::move(evaluate)) {
    field.setValidator(new SingleLineValidator(this));
    field.installEventFilter(this);
}

void FormulaEditor::append(QChar character) {
    write(m_field.text() + character);
}

void FormulaEditor::cmdBack_Click() {
    rewrite(formula_edit::WithoutLastCharacter);
}

void FormulaEditor::cmdExit_Click() {
    m_field.clear();
}

void FormulaEditor::cmdNeg_Click() {
    rewrite(formula_edit::Negated);
}

void FormulaEditor::cmdPer_Click() {
    rewrite(m_percent);
}

void FormulaEditor::Text1_KeyPress(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        m_evaluate();
}

void FormulaEditor::rewrite(Rule rule) {
    write(rule(m_field.text()));
}

// Replaces what follows the beginning that the old and the new text share, as one edit of the
// field's own that Ctrl+Z takes back.
void FormulaEditor::write(const QString& text) {
    const QString old = m_field.text();
    const auto kept = static_cast<int>(
        std::mismatch(old.begin(), old.end(), text.begin(), text.end()).first - old.begin());
    if (kept == old.size() && kept == text.size())
        return;
    m_field.setCursorPosition(kept);
    if (kept < old.size())
        m_field.setSelection(kept, static_cast<int>(old.size()) - kept);
    m_field.insert(text.sliced(kept));
}

bool FormulaEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_field && event->type() == QEvent::KeyPress)
        Text1_KeyPress(*static_cast<QKeyEvent*>(event));
    return QObject::eventFilter(watched, event);
}
