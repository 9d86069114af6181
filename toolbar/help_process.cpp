#include "toolbar/help_process.h"

#include "formats/chm_file.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Longer replies come from no viewer of this program.
constexpr qint64 MaxReplyLength = 64 * 1024;

} // namespace

HelpProcess::HelpProcess(QString viewerProgram, FailureReporter reportFailure,
                         std::chrono::milliseconds replyTime)
    : m_viewerProgram(std::move(viewerProgram))
    , m_reportFailure(std::move(reportFailure)) {
    m_replyTimer.setSingleShot(true);
    m_replyTimer.setInterval(replyTime);
    connect(&m_replyTimer, &QTimer::timeout, this, [this] {
        if (m_process)
            m_process->kill();
    });
}

HelpProcess::~HelpProcess() {
    endViewer();
}

std::optional<Failure> HelpProcess::ShowHelp(const QString& helpFile) {
    if (m_process && m_helpFile == helpFile) {
        if (!m_awaitingReply) {
            m_process->write(QByteArray(HelpChannel::Front) + '\n');
            awaitReply();
        }
        return std::nullopt;
    }
    endViewer();
    return startViewer(helpFile);
}

// The file is passed as an absolute path, which the viewer's Qt cannot take for an option.
std::optional<Failure> HelpProcess::startViewer(const QString& helpFile) {
    m_helpFile = helpFile;
    m_refusal.reset();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(m_process.get(), &QProcess::readyReadStandardOutput, this, &HelpProcess::readReplies);
    connect(m_process.get(), &QProcess::finished, this, &HelpProcess::viewerEnded);
    m_process->start(m_viewerProgram, {QFileInfo(helpFile).absoluteFilePath()});
    if (!m_process->waitForStarted(static_cast<int>(m_replyTimer.interval()))) {
        const QString reason = m_process->errorString();
        endViewer();
        return QStringLiteral("Die Hilfe kann nicht angezeigt werden: Das Hilfeprogramm „%1“ "
                              "lässt sich nicht starten (%2).")
            .arg(QDir::toNativeSeparators(m_viewerProgram), reason);
    }
    awaitReply();
    return std::nullopt;
}

void HelpProcess::awaitReply() {
    m_awaitingReply = true;
    m_replyTimer.start();
}

void HelpProcess::readReplies() {
    while (m_process->canReadLine()) {
        const QByteArray line = m_process->readLine(MaxReplyLength).chopped(1);
        if (line == HelpChannel::Shown) {
            m_awaitingReply = false;
            m_replyTimer.stop();
        } else if (line.startsWith(HelpChannel::Refused)) {
            m_refusal = QString::fromUtf8(
                QByteArray::fromPercentEncoding(line.sliced(qstrlen(HelpChannel::Refused))));
        }
    }
    if (m_process->bytesAvailable() >= MaxReplyLength)
        m_process->kill();
}

// A viewer that ends while a reply is awaited, or by a crash, could not show the file.
void HelpProcess::viewerEnded(int, QProcess::ExitStatus status) {
    readReplies();
    std::optional<Failure> failure = m_refusal;
    if (!failure && (m_awaitingReply || status == QProcess::CrashExit))
        failure = DamagedHelpFile(m_helpFile);
    m_replyTimer.stop();
    m_awaitingReply = false;
    m_process.release()->deleteLater();
    if (failure)
        m_reportFailure(*failure);
}

// Closing its input ends the viewer; one that does not end at once is killed.
void HelpProcess::endViewer() {
    if (!m_process)
        return;
    m_process->disconnect(this);
    m_replyTimer.stop();
    m_awaitingReply = false;
    m_process->closeWriteChannel();
    if (!m_process->waitForFinished(1000)) {
        m_process->kill();
        m_process->waitForFinished();
    }
    m_process.reset();
}
