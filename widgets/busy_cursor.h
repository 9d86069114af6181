#pragma once

#include <QCursor>
#include <QGuiApplication>
#include <QScopeGuard>

// Runs work that grows with the tape under the wait cursor, which is gone again when its outcome
// comes back, before any message about it shows.
template <typename Work> auto WhileBusy(Work&& work) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    return work();
}
