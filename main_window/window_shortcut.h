#pragma once

#include <QKeySequence>
#include <QList>

#include <functional>

class QWidget;

// Gives the window a shortcut that works wherever the focus is in it, and not while a modal
// window such as a message box is open.
void AddWindowShortcut(QWidget& window, const QList<QKeySequence>& keys,
                       const std::function<void()>& run);
