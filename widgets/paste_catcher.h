#pragma once

#include "widgets/clipboard.h"

#include <QObject>

#include <functional>

class QDropEvent;
class QLineEdit;

// Catches every paste into a field before the field takes it (and before its length limit cuts
// it): Ctrl+V, Shift+Insert, the context menu's "Einfügen", the middle mouse button and a drop of
// text. The handler gets the pasted text and the field's text with the paste put in at the
// caret, in place of a selection; when it returns false the field pastes as it always does.
class PasteCatcher : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<bool(const QString& pasted, const QString& fieldWithPaste)>;

    // The clipboard must outlive the field.
    PasteCatcher(QLineEdit& field, const Clipboard& clipboard, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool offer(const QString& pasted, int start, int end);
    bool offerAtCaret(const QString& pasted);
    void showContextMenu(const QPoint& globalPosition);
    bool takeDrop(QDropEvent& drop);

    QLineEdit& m_field;
    const Clipboard& m_clipboard;
    Handler m_handler;
};
