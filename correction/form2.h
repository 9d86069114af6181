#pragma once

#include "calc/expression_engine.h"
#include "calc/tape_host.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// The correction window: replaces one formula of the tape and recomputes every total.
class Form2 : public QWidget {
    Q_OBJECT

public:
    explicit Form2(TapeHost& host, EngineFactory engine = CreateScriptControl,
                   QWidget* parent = nullptr);
    ~Form2() override;

    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* Text2 = nullptr;

public slots:
    void Command1_Click();

signals:
    // The tapes were recalculated and the window unloaded: the main window takes the focus.
    void recalculated();

private:
    TapeHost& m_host;
    EngineFactory m_engine;
};
