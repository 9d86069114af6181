#include "main_window/form1.h"

#include "main_window/keypad.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QToolBar>

// The print shows the tapes without the marks of the moment: no list has the focus, so none
// frames its current line, and no line is highlighted as the one under the mouse. The focus
// returns afterwards; the mouse marks its line again when it moves.
void Form1::printTape() {
    const QPointer<QWidget> focused = focusWidget();
    setFocus(Qt::OtherFocusReason);
    for (QListView* tape : {List1, List2, List3}) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(tape->viewport(), &leave);
    }
    runPrintJob();
    if (focused)
        focused->setFocus(Qt::OtherFocusReason);
}

void Form1::runPrintJob() {
    QList<QWidget*> controls{Toolbar1};
    for (QPushButton* button : m_keypad->buttonsByName())
        controls << button;
    controls << Combo1 << Command1 << Label2[1] << Text1 << Text2 << Text3;
    // The picture shown before comes back with both of its versions.
    const Picture before = m_picture;
    const QPixmap shownBefore = before.forRatio(devicePixelRatioF());
    const PrintableWindow window{
        *this,
        controls,
        {Text2, Text3},
        m_tapes.List3,
        [this](const QColor& colour) { setBackColour(colour); },
        [this, &before, &shownBefore](const QPixmap& shown) {
            setPicture(shown.cacheKey() == shownBefore.cacheKey() ? before : Picture(shown));
        },
        shownBefore,
    };
    const std::unique_ptr<TapePrinter> printer = m_services.printer();
    const PrintResult result = PrintTape(window, *printer, m_services.layoutPicture);
    QStringList messages = result.notices;
    if (!result.printed)
        messages.prepend(result.message);
    if (!messages.isEmpty())
        m_services.messages->warning(messages.join(QStringLiteral("\n\n")));
}
