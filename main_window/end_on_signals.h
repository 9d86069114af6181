#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Ends the program through its ordinary quit path when the session asks it to end (SIGTERM,
// SIGHUP at logout, SIGINT from Ctrl+C in its terminal): the signal handler only writes to a
// pipe, and the end runs in the event loop. One per process.
class EndOnSignals : public QObject {
public:
    explicit EndOnSignals(std::function<void()> end, QObject* parent = nullptr);
    ~EndOnSignals() override;

private:
    std::function<void()> m_end;
    QSocketNotifier* m_notifier = nullptr;
};
