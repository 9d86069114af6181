#include "main_window/keypad.h"

#include "resources/fonts.h"
#include "widgets/graphical_button.h"

#include <QShortcut>

#include <algorithm>

namespace {

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
        createButton(key, placeOf(key).translated(-area.topLeft()));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, findChild<QPushButton*>(QStringLiteral("cmdExit")),
            &QPushButton::click);
}

void Keypad::createButton(const keypad::Key& key, const QRect& place) {
    auto* button =
        new GraphicalButton(QString::fromUtf8(key.caption), Picture(QLatin1String(key.face)),
                            QColor(key.backColour), this);
    button->setObjectName(QLatin1String(key.name));
    button->setGeometry(place);
    button->setFont(fonts::SansSerif(key.width == keypad::KeySize ? 12 : 9.75, true));
    // Reached by Tab; a click leaves the keyboard in the formula field.
    button->setFocusPolicy(Qt::TabFocus);
    button->setToolTip(QString::fromUtf8(key.tooltip));
    connect(button, &QPushButton::clicked, this, [this, &key] { emit pressed(key); });
}

QList<QPushButton*> Keypad::buttonsByName() const {
    QList<QPushButton*> buttons = findChildren<QPushButton*>();
    std::sort(buttons.begin(), buttons.end(), [](const QPushButton* a, const QPushButton* b) {
        return a->objectName() < b->objectName();
    });
    return buttons;
}
