#include "main_window/window_shortcut.h"

#include <QAction>
#include <QWidget>

void AddWindowShortcut(QWidget& window, const QList<QKeySequence>& keys,
                       const std::function<void()>& run) {
    auto* action = new QAction(&window);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &window, run);
    window.addAction(action);
}
