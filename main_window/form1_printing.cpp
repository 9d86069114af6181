#include "main_window/form1.h"

#include "main_window/keypad.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>

void Form1::printTape() {
    QList<QWidget*> controls{Toolbar1};
    for (QPushButton* button : m_keypad->buttonsByName())
        controls << button;
    controls << Combo1 << Command1 << Label2[1] << Text1 << Text2 << Text3;
    const PrintableWindow window{
        *this,
        controls,
        {Text2, Text3},
        m_tapes.List3,
        [this](const QColor& colour) { setBackColour(colour); },
        [this](const QPixmap& shown) { setPicture(shown); },
        m_picture,
    };
    const std::unique_ptr<TapePrinter> printer = m_services.printer();
    const PrintResult result = PrintTape(window, *printer, m_services.layoutPicture);
    QStringList messages = result.notices;
    if (!result.printed)
        messages.prepend(result.message);
    if (!messages.isEmpty())
        m_services.messages->warning(messages.join(QStringLiteral("\n\n")));
}
