#include "main_window/tape_copy.h"

#include "calc/tape_text.h"
#include "main_window/tape_view.h"
#include "main_window/window_shortcut.h"
#include "widgets/clipboard.h"

#include <QKeyEvent>
#include <QListView>

namespace {

void copy(const QString& text, Clipboard& clipboard) {
    if (!text.isEmpty())
        clipboard.setText(text);
}

// Takes Ctrl+C from the view, which would copy its current line as it stands.
class SelectedLineCopy : public QObject {
public:
    SelectedLineCopy(QListView& view, Clipboard& clipboard)
        : QObject(&view)
        , m_view(view)
        , m_clipboard(clipboard) {
        view.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress ||
            !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
            return QObject::eventFilter(watched, event);
        copy(SelectedEntry(m_view), m_clipboard);
        return true;
    }

private:
    const QListView& m_view;
    Clipboard& m_clipboard;
};

} // namespace

void CopySelectedLineOnCtrlC(QListView& view, Clipboard& clipboard) {
    new SelectedLineCopy(view, clipboard);
}

void CopyWholeTapeOnCtrlShiftC(QWidget& window, const NumberTape& tapes, Clipboard& clipboard) {
    AddWindowShortcut(window, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
                      [&tapes, &clipboard] { copy(TapeAsText(tapes), clipboard); });
}
