#include "main_window/form1.h"

#include "main_window/print_look.h"

#include <QApplication>
#include <QEvent>
#include <QListView>
#include <QPointer>

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

// The warnings come when the window is back as it was.
void Form1::runPrintJob() {
    const QStringList warnings = printInPrintLook(*m_services.printer());
    if (!warnings.isEmpty())
        m_services.messages->warning(warnings.join(QStringLiteral("\n\n")));
}

QStringList Form1::printInPrintLook(TapePrinter& printer) {
    const PrintLook look(*this, m_services.layoutPicture);
    QStringList warnings;
    for (const std::optional<Failure>& failure :
         {PrintTape(*this, printer), look.layoutFailure()}) {
        if (failure)
            warnings << failure->reason;
    }
    return warnings;
}
