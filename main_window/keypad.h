#pragma once

#include "main_window/keypad_layout.h"

#include <QList>
#include <QWidget>

class QPushButton;

// The main window's twenty keypad buttons, placed by the layout table where the window shows
// them and created in its order, the tab order (the buttons keep their designer names as object
// names). The keypad only says what was
// pressed; cmdExit is the window's cancel button, so Esc anywhere in the window presses it.
class Keypad : public QWidget {
    Q_OBJECT

public:
    explicit Keypad(QWidget& window);

    // By name, cmd0 ... cmd9, cmdAdd ... cmdSub: the order in which printing hides them.
    QList<QPushButton*> buttonsByName() const;

signals:
    // The key's entry in the layout table: what it does.
    void pressed(const keypad::Key& key);

private:
    void createButton(const keypad::Key& key, const QRect& place);
};
