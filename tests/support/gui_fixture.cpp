#include "tests/support/gui_fixture.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace gui_test {
namespace {

int g_unexpected = 0;
bool g_expecting = false;

QMessageBox* openMessageBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box && box->isVisible())
            return box;
    }
    return nullptr;
}

// Closes message boxes that no test expected and counts them.
void watchForUnexpectedMessageBoxes(QObject* owner) {
    auto* timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, owner, [] {
        if (g_expecting)
            return;
        if (QMessageBox* box = openMessageBox()) {
            ++g_unexpected;
            qWarning("Unexpected message box: %s", qPrintable(box->text()));
            box->done(QMessageBox::Ok);
        }
    });
    timer->start(50);
}

} // namespace

SeenMessage closeMessageBoxDuring(const std::function<void()>& action) {
    SeenMessage seen;
    g_expecting = true;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&seen] {
        QMessageBox* box = openMessageBox();
        if (!box || seen.shown)
            return;
        seen = {true, box->windowTitle(), box->text(), box->icon()};
        box->done(QMessageBox::Ok);
    });
    poll.start(10);
    action();
    // A box opened without a nested event loop is still up: give it a moment to be found.
    for (int i = 0; i < 20 && !seen.shown && openMessageBox(); ++i)
        QTest::qWait(10);
    g_expecting = false;
    return seen;
}

int unexpectedMessageBoxes() {
    return g_unexpected;
}

int run(int argc, char** argv, const std::function<QObject*()>& createTest) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", QDir(home.path()).absolutePath().toLocal8Bit());
    qunsetenv("XDG_DOCUMENTS_DIR");
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Zifferon"));
    std::unique_ptr<QObject> test(createTest());
    watchForUnexpectedMessageBoxes(test.get());
    const int failures = QTest::qExec(test.get(), argc, argv);
    if (g_unexpected > 0) {
        qWarning("%d unexpected message box(es) opened", g_unexpected);
        return failures + g_unexpected;
    }
    return failures;
}

} // namespace gui_test
