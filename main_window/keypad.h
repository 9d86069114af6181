#pragma once

#include "main_window/keypad_layout.h"

#include <QList>
#include <QWidget>

class QPushButton;

// The main window's twenty keypad buttons, placed by the layout table where the window shows
// them (the buttons keep their designer names as object names). The keypad only says what was
// pressed; cmdExit is the window's cancel button, so Esc anywhere in the window presses it.
class Keypad : public QWidget {
    Q_OBJECT

public:
    explicit Keypad(QWidget& window);

    // Row by row, left to right: the tab order.
    const QList<QPushButton*>& buttonsInTabOrder() const { return m_buttons; }
    // By name, cmd0 ... cmd9, cmdAdd ... cmdSub: the order in which printing hides them.
    QList<QPushButton*> buttonsByName() const;

signals:
    void characterPressed(QChar character);
    // Any command but Command::Append.
    void commandPressed(keypad::Command command);

private:
    QPushButton* createButton(const keypad::Key& key, const QRect& place);

    QList<QPushButton*> m_buttons;
};
