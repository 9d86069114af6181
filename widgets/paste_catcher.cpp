#include "widgets/paste_catcher.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

PasteCatcher::PasteCatcher(QLineEdit& field, const Clipboard& clipboard, Handler handler)
    : QObject(&field)
    , m_field(field)
    , m_clipboard(clipboard)
    , m_handler(std::move(handler)) {
    field.installEventFilter(this);
}

// The text goes in place of the characters from start to end.
bool PasteCatcher::offer(const QString& pasted, int start, int end) {
    const QString text = m_field.text();
    return !m_field.isReadOnly() && m_handler(pasted, text.left(start) + pasted + text.mid(end));
}

bool PasteCatcher::offerAtCaret(const QString& pasted) {
    if (m_field.hasSelectedText())
        return offer(pasted, m_field.selectionStart(), m_field.selectionEnd());
    return offer(pasted, m_field.cursorPosition(), m_field.cursorPosition());
}

// The field's own menu, whose "Einfügen" is offered to the handler first. The entry is known by
// its text, and named "edit-paste" as later Qt versions name it.
void PasteCatcher::showContextMenu(const QPoint& globalPosition) {
    QMenu* menu = m_field.createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QString pasteText = QLineEdit::tr("&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().section(u'\t', 0, 0) != pasteText)
            continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        QObject::disconnect(action, &QAction::triggered, &m_field, nullptr);
        connect(action, &QAction::triggered, this, [this] {
            if (!offerAtCaret(m_clipboard.text()))
                m_field.paste();
        });
    }
    menu->popup(globalPosition);
}

bool PasteCatcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_field)
        return QObject::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress)
        return static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) &&
               offerAtCaret(m_clipboard.text());
    if (type == QEvent::ContextMenu) {
        showContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    // The press put the caret under the pointer; the field pastes the selection there. Without a
    // selection clipboard its text is empty and the field goes on as usual.
    if (type == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
        const int caret = m_field.cursorPosition();
        return offer(m_clipboard.text(Clipboard::Mode::Selection), caret, caret);
    }
    if (type == QEvent::Drop)
        return takeDrop(*static_cast<QDropEvent*>(event));
    return false;
}

bool PasteCatcher::takeDrop(QDropEvent& drop) {
    const QMimeData* data = drop.mimeData();
    const int position = m_field.cursorPositionAt(drop.position().toPoint());
    if (!data->hasText() || !offer(data->text(), position, position))
        return false;
    drop.acceptProposedAction();
    // The field hides the caret it showed under the dragged text.
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(&m_field, &leave);
    return true;
}
