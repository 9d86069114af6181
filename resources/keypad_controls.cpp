#include "resources/keypad_controls.h"

#include "calc/keypad.h"
#include "resources/fonts.h"
#include "resources/graphical_button.h"

#include <QShortcut>

#include <map>
#include <string_view>

namespace {

QPixmap faceFor(keypad::Face face) {
    switch (face) {
    case keypad::Face::A:
        return QPixmap(QStringLiteral(":/images/face_a.jpg"));
    case keypad::Face::B:
        return QPixmap(QStringLiteral(":/images/face_b.jpg"));
    case keypad::Face::C:
        return QPixmap(QStringLiteral(":/images/face_c.jpg"));
    }
    return {};
}

using Member = QPushButton* KeypadControls::*;

// The member that holds a key's button.
Member memberFor(const keypad::Key& key) {
    static const std::map<std::string_view, Member> byName = {
        {"cmd0", &KeypadControls::cmd0},       {"cmd1", &KeypadControls::cmd1},
        {"cmd2", &KeypadControls::cmd2},       {"cmd3", &KeypadControls::cmd3},
        {"cmd4", &KeypadControls::cmd4},       {"cmd5", &KeypadControls::cmd5},
        {"cmd6", &KeypadControls::cmd6},       {"cmd7", &KeypadControls::cmd7},
        {"cmd8", &KeypadControls::cmd8},       {"cmd9", &KeypadControls::cmd9},
        {"cmdAdd", &KeypadControls::cmdAdd},   {"cmdSub", &KeypadControls::cmdSub},
        {"cmdMul", &KeypadControls::cmdMul},   {"cmdDiv", &KeypadControls::cmdDiv},
        {"cmdDec", &KeypadControls::cmdDec},   {"cmdEqual", &KeypadControls::cmdEqual},
        {"cmdNeg", &KeypadControls::cmdNeg},   {"cmdPer", &KeypadControls::cmdPer},
        {"cmdBack", &KeypadControls::cmdBack}, {"cmdExit", &KeypadControls::cmdExit}};
    return byName.at(key.name);
}

} // namespace

QList<QPushButton*> KeypadControls::keypadInTabOrder() const {
    QList<QPushButton*> buttons;
    for (const keypad::Key& key : keypad::Keys)
        buttons << this->*memberFor(key);
    return buttons;
}

void KeypadControls::buildKeypad(QWidget& window, const Placement& placement,
                                 const std::function<void(QChar)>& append) {
    for (const keypad::Key& key : keypad::Keys) {
        auto* button = new GraphicalButton(QString::fromUtf8(key.caption), faceFor(key.face),
                                           QColor(key.backColour), &window);
        button->setObjectName(QLatin1String(key.name));
        button->setGeometry(FromTwips(key.left + placement.shiftRight, key.top - placement.shiftUp,
                                      key.width, keypad::KeySize));
        button->setFont(fonts::SansSerif(key.width == keypad::KeySize ? 12 : 9.75, true));
        button->setFocusPolicy(Qt::StrongFocus);
        if (placement.tooltips)
            button->setToolTip(QString::fromUtf8(key.tooltip));
        this->*memberFor(key) = button;
        if (key.character != 0) {
            const QChar character = QLatin1Char(key.character);
            QObject::connect(button, &QPushButton::clicked, &window,
                             [append, character] { append(character); });
        }
    }
    cmdExit->setAccessibleName(QStringLiteral("Exit"));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(escape, &QShortcut::activated, cmdExit, &QPushButton::click);
}
