#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;
class QLineEdit;

// The editing steps of a window's formula field Text1. Every step reads the field's text,
// computes the new text with a rule of calc/formula_edit.h and writes it back as an edit that the
// field's own undo takes back, so keys act at the end of the text whatever the caret position.
// Enter in the field evaluates it, and no edit (typing, pasting) leaves a line break in the field.
// The two windows differ only in "%".
class FormulaEditor : public QObject {
    Q_OBJECT

public:
    using Rule = QString (*)(const QString& field);

    FormulaEditor(QLineEdit& field, Rule percent, std::function<void()> evaluate);

    // cmd0_Click ... cmd9_Click, cmdAdd_Click, cmdSub_Click, cmdMul_Click, cmdDiv_Click,
    // cmdDec_Click: the key's character at the end of the field.
    void append(QChar character);
    void cmdBack_Click();
    void cmdExit_Click();
    void cmdNeg_Click();
    void cmdPer_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Every key typed into the field, before the field takes it: Enter evaluates.
    void Text1_KeyPress(const QKeyEvent& key);
    void rewrite(Rule rule);
    void write(const QString& text);

    QLineEdit& m_field;
    Rule m_percent;
    std::function<void()> m_evaluate;
};
