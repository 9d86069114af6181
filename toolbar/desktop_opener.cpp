#include "toolbar/desktop_opener.h"

#include <QProcess>

namespace {

// The cause after the exit codes of xdg-open.
QString openerCause(QProcess::ExitStatus status, int code) {
    constexpr int FileNotFound = 2;
    constexpr int NoTool = 3;
    if (status != QProcess::NormalExit)
        return QStringLiteral("das Programm zum Öffnen brach ab.");
    if (code == FileNotFound)
        return QStringLiteral("die Datei wurde nicht gefunden.");
    if (code == NoTool)
        return QStringLiteral("kein Programm dafür gefunden.");
    return QStringLiteral("das Programm zum Öffnen meldete einen Fehler (Code %1).").arg(code);
}

// Runs the opener program for each file or address and waits for its answer without blocking.
class DesktopOpener : public FileOpener {
public:
    DesktopOpener(OpenFailureReport report, QString program)
        : m_report(std::move(report))
        , m_program(std::move(program)) {}
    DesktopOpener(const DesktopOpener&) = delete;
    DesktopOpener& operator=(const DesktopOpener&) = delete;

    // Programs still running are stopped without a report: the window that would show it may be
    // going as well.
    ~DesktopOpener() override {
        for (QProcess* process : m_running.findChildren<QProcess*>(Qt::FindDirectChildrenOnly)) {
            process->disconnect();
            process->kill();
            process->waitForFinished();
        }
    }

    bool open(const QString& target) override {
        auto* process = new QProcess(&m_running);
        process->setProgram(m_program);
        process->setArguments({target});
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(process, &QProcess::finished, process,
                         [this, process, target](int code, QProcess::ExitStatus status) {
                             if (status != QProcess::NormalExit || code != 0)
                                 m_report(target, openerCause(status, code));
                             process->deleteLater();
                         });
        process->start();
        if (process->waitForStarted())
            return true;
        delete process;
        return false;
    }

private:
    OpenFailureReport m_report;
    QString m_program;
    QObject m_running; // parent of the opener processes still running
};

} // namespace

std::unique_ptr<FileOpener> CreateDesktopOpener(OpenFailureReport report, const QString& program) {
    return std::make_unique<DesktopOpener>(std::move(report), program);
}
