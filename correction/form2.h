#pragma once

#include "calc/expression_engine.h"
#include "correction/tape_host.h"

#include <QWidget>

class FormulaEditor;
class QLineEdit;
class QPushButton;

// The correction window: replaces one formula of the tape and recomputes every total. The line
// replaced is the one selected in the main window's List1 when Command1 (or Enter in Text1)
// recalculates. Text2 is never shown; the window has no keypad, and Esc empties Text1.
class Form2 : public QWidget {
    Q_OBJECT

public:
    explicit Form2(TapeHost& host, EngineFactory engine = CreateScriptControl,
                   QWidget* parent = nullptr);
    ~Form2() override;

    // Controls under their designer names.
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* Text2 = nullptr;

    // The editing steps of Text1: "+/-" keeps decimals, "%" divides the number by 100.
    FormulaEditor& editor() { return *m_editor; }

public slots:
    void Command1_Click();

signals:
    // The tapes were recalculated and the window unloaded: the main window takes the focus.
    void recalculated();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createFields();
    void unload();
    void discardContents();

    TapeHost& m_host;
    EngineFactory m_engine;
    FormulaEditor* m_editor = nullptr;
};
