#include "widgets/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

void QtMessageBoxes::show(Icon icon, const QString& text) {
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                    QStringLiteral("Zifferon"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    // The text may name a file or quote a tape line: never rich text.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
