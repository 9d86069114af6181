#include "main_window/keypad.h"

#include "resources/fonts.h"
#include "resources/graphical_button.h"

#include <QShortcut>

#include <algorithm>

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

QRect placeOf(const keypad::Key& key) {
    return FromTwips(key.left, key.top, key.width, keypad::KeySize);
}

} // namespace

Keypad::Keypad(QWidget& window)
    : QWidget(&window) {
    QRect area;
    for (const keypad::Key& key : keypad::Keys)
        area |= placeOf(key);
    setGeometry(area);
    for (const keypad::Key& key : keypad::Keys)
        m_buttons << createButton(key, placeOf(key).translated(-area.topLeft()));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    QPushButton* cancel = findChild<QPushButton*>(QStringLiteral("cmdExit"));
    connect(escape, &QShortcut::activated, cancel, &QPushButton::click);
    cancel->setAccessibleName(QStringLiteral("Exit"));
}

QPushButton* Keypad::createButton(const keypad::Key& key, const QRect& place) {
    auto* button = new GraphicalButton(QString::fromUtf8(key.caption), faceFor(key.face),
                                       QColor(key.backColour), this);
    button->setObjectName(QLatin1String(key.name));
    button->setGeometry(place);
    button->setFont(fonts::SansSerif(key.width == keypad::KeySize ? 12 : 9.75, true));
    button->setFocusPolicy(Qt::StrongFocus);
    button->setToolTip(QString::fromUtf8(key.tooltip));
    if (key.command == keypad::Command::Append) {
        const QChar character = QLatin1Char(key.character);
        connect(button, &QPushButton::clicked, this,
                [this, character] { emit characterPressed(character); });
    } else {
        const keypad::Command command = key.command;
        connect(button, &QPushButton::clicked, this,
                [this, command] { emit commandPressed(command); });
    }
    return button;
}

QList<QPushButton*> Keypad::buttonsByName() const {
    QList<QPushButton*> buttons = m_buttons;
    std::sort(buttons.begin(), buttons.end(), [](const QPushButton* a, const QPushButton* b) {
        return a->objectName() < b->objectName();
    });
    return buttons;
}
