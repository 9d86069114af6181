#pragma once

#include "calc/expression_engine.h"
#include "calc/tape_host.h"
#include "resources/keypad_controls.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// The correction window: replaces one formula of the tape and recomputes every total. The line
// replaced is the one selected in the main window's List1 when Command1 (or Enter in Text1)
// recalculates. The keypad and Text2 are built but never shown.
class Form2 : public QWidget, public KeypadControls {
    Q_OBJECT

public:
    explicit Form2(TapeHost& host, EngineFactory engine = CreateScriptControl,
                   QWidget* parent = nullptr);
    ~Form2() override;

    // Controls under their designer names.
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* Text2 = nullptr;

public slots:
    void Command1_Click();
    void cmdBack_Click();
    void cmdExit_Click();
    void cmdNeg_Click();
    void cmdPer_Click();
    void Text1_KeyPress(int keyAscii);

signals:
    // The tapes were recalculated and the window unloaded: the main window takes the focus.
    void recalculated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createFields();
    void createKeypad();
    void setTabOrder();
    void appendToField(QChar character);
    void unload();
    void discardContents();

    TapeHost& m_host;
    EngineFactory m_engine;
};
