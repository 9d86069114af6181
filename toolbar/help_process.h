#pragma once

#include "files/failure.h"
#include "toolbar/help_viewer.h"

#include <QObject>
#include <QProcess>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

// The lines the program and the help viewer exchange, each ended by a line feed.
namespace HelpChannel {
// The viewer's executable, in the program's folder.
inline constexpr char ViewerProgram[] = "zifferon-hilfe";
// To the viewer, on its standard input: bring the window to the front.
inline constexpr char Front[] = "front";
// From the viewer, on its standard output: the window shows a page, after it opened or came to
// the front.
inline constexpr char Shown[] = "shown";
// From the viewer before it ends: the file cannot be shown, for the reason that follows as
// percent-encoded UTF-8.
inline constexpr char Refused[] = "refused ";
} // namespace HelpChannel

// Shows help files in the help viewer, a process of its own, so that a help file that makes
// chmlib crash or hang ends only the viewer. The viewer ends with this object; when the program
// is killed it reads the end of its standard input and ends too. A viewer that ends before it
// shows the file, or shows nothing within the reply time, says the file is damaged.
class HelpProcess : public QObject, public HelpViewer {
    Q_OBJECT
public:
    using FailureReporter = std::function<void(const Failure&)>;
    static constexpr std::chrono::milliseconds DefaultReplyTime{5000};

    // reportFailure hears of a failure that comes to light after ShowHelp() has returned.
    HelpProcess(QString viewerProgram, FailureReporter reportFailure,
                std::chrono::milliseconds replyTime = DefaultReplyTime);
    ~HelpProcess() override;
    HelpProcess(const HelpProcess&) = delete;
    HelpProcess& operator=(const HelpProcess&) = delete;

    // Starts the viewer on the file, or asks the running one to come to the front; says so at
    // once when the viewer cannot be started.
    std::optional<Failure> ShowHelp(const QString& helpFile) override;

    // Whether a viewer runs and has shown what it was last asked to show.
    bool showing() const { return m_process && !m_awaitingReply; }
    // The running viewer's process id; 0 when none runs.
    qint64 viewerId() const { return m_process ? m_process->processId() : 0; }

private:
    std::optional<Failure> startViewer(const QString& helpFile);
    void awaitReply();
    void readReplies();
    void viewerEnded(int exitCode, QProcess::ExitStatus status);
    void endViewer();

    QString m_viewerProgram;
    FailureReporter m_reportFailure;
    QTimer m_replyTimer;
    std::unique_ptr<QProcess> m_process;
    QString m_helpFile;
    bool m_awaitingReply = false;
    std::optional<Failure> m_refusal;
};
