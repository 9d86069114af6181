#include "main_window/tape_copy.h"

#include "calc/tape_text.h"
#include "main_window/tape_view.h"
#include "main_window/window_shortcut.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListView>

namespace {

void copy(const QString& text) {
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

// Takes Ctrl+C from the view, which would copy its current line as it stands.
class SelectedLineCopy : public QObject {
public:
    explicit SelectedLineCopy(QListView& view)
        : QObject(&view)
        , m_view(view) {
        view.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress ||
            !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
            return QObject::eventFilter(watched, event);
        copy(SelectedEntry(m_view));
        return true;
    }

private:
    const QListView& m_view;
};

} // namespace

void CopySelectedLineOnCtrlC(QListView& view) {
    new SelectedLineCopy(view);
}

void CopyWholeTapeOnCtrlShiftC(QWidget& window, const NumberTape& tapes) {
    AddWindowShortcut(window, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
                      [&tapes] { copy(TapeAsText(tapes)); });
}
