#include "tests/support/gui_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace gui_test {
namespace {

// Sees every message box as it shows, and closes it once its event loop runs.
class MessageBoxWatcher : public QObject {
public:
    bool expecting = false;
    SeenMessage seen;
    int unexpected = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show)
            return false;
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (!box)
            return false;
        if (expecting && !seen.shown) {
            seen = {true,        box->windowTitle(),    box->text(), box->textFormat(),
                    box->icon(), box->standardButtons()};
        } else {
            ++unexpected;
            const QString failure = QStringLiteral("Unexpected message box: ") + box->text();
            QTest::qFail(qPrintable(failure), __FILE__, __LINE__);
        }
        QMetaObject::invokeMethod(
            box, [box] { box->done(QMessageBox::Ok); }, Qt::QueuedConnection);
        return false;
    }
};

MessageBoxWatcher* g_watcher = nullptr;

// Points the home folder and the XDG folders under it into the temporary folder: the tests empty
// their home folder.
void liveIn(const QTemporaryDir& home) {
    const QByteArray path = QFile::encodeName(QDir(home.path()).absolutePath());
    qputenv("HOME", path);
    qputenv("XDG_CONFIG_HOME", path + "/.config");
    qputenv("XDG_STATE_HOME", path + "/.local/state");
    qputenv("XDG_DATA_HOME", path + "/.local/share");
    qputenv("XDG_CACHE_HOME", path + "/.cache");
    qunsetenv("XDG_DOCUMENTS_DIR");
}

} // namespace

SeenMessage closeMessageBoxDuring(const std::function<void()>& action) {
    g_watcher->seen = {};
    g_watcher->expecting = true;
    action();
    g_watcher->expecting = false;
    return g_watcher->seen;
}

int run(int argc, char** argv, const std::function<QObject*()>& createTest) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir home;
    if (!home.isValid()) {
        qCritical("No temporary home folder, so no test runs: %s", qPrintable(home.errorString()));
        return 1;
    }
    liveIn(home);
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Zifferon"));
    MessageBoxWatcher watcher;
    g_watcher = &watcher;
    application.installEventFilter(&watcher);
    std::unique_ptr<QObject> test(createTest());
    const int failures = QTest::qExec(test.get(), argc, argv);
    if (watcher.unexpected > 0) {
        qWarning("%d unexpected message box(es) opened", watcher.unexpected);
        return failures + watcher.unexpected;
    }
    return failures;
}

} // namespace gui_test
