#pragma once

#include <QProcess>
#include <QStringList>

// What a command-line tool did: its exit code (-1 when it did not start, crashed or hung) and
// its standard output and error together.
struct ToolRun {
    int exitCode = -1;
    QString output;
};

inline ToolRun RunTool(const QString& program, const QStringList& arguments) {
    constexpr int Timeout = 240'000;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(Timeout);
    if (!finished)
        process.kill();
    ToolRun run;
    run.output = QString::fromUtf8(process.readAll());
    if (finished && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    else
        run.output += process.errorString();
    return run;
}
