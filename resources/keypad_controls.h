#pragma once

#include <QList>

#include <functional>

class QChar;
class QPushButton;
class QWidget;

// The twenty keypad buttons of a window, under their designer names.
class KeypadControls {
public:
    QPushButton* cmd0 = nullptr;
    QPushButton* cmd1 = nullptr;
    QPushButton* cmd2 = nullptr;
    QPushButton* cmd3 = nullptr;
    QPushButton* cmd4 = nullptr;
    QPushButton* cmd5 = nullptr;
    QPushButton* cmd6 = nullptr;
    QPushButton* cmd7 = nullptr;
    QPushButton* cmd8 = nullptr;
    QPushButton* cmd9 = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdSub = nullptr;
    QPushButton* cmdMul = nullptr;
    QPushButton* cmdDiv = nullptr;
    QPushButton* cmdDec = nullptr;
    QPushButton* cmdEqual = nullptr;
    QPushButton* cmdNeg = nullptr;
    QPushButton* cmdPer = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdExit = nullptr;

    // The keys row by row, left to right: their tab order.
    QList<QPushButton*> keypadInTabOrder() const;

protected:
    struct Placement {
        int shiftRight = 0; // twips
        int shiftUp = 0;    // twips
        bool tooltips = true;
    };

    // Creates the keys on the window; the character keys hand their character to append, and
    // Esc anywhere in the window clicks cmdExit, the cancel button.
    void buildKeypad(QWidget& window, const Placement& placement,
                     const std::function<void(QChar)>& append);
};
