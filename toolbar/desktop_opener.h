#pragma once

#include <QString>

#include <functional>
#include <memory>

// Shows a saved file or a web address in the desktop's application for it.
class FileOpener {
public:
    virtual ~FileOpener() = default;

    // False when no application could be started for it.
    virtual bool open(const QString& target) = 0;
};

// Told, with the file or address and the cause in German, when the opener program reports after
// its start that it failed.
using OpenFailureReport = std::function<void(const QString& target, const QString& cause)>;

// Opens files and web addresses with the desktop's opener program, which chooses the
// application; when the program exits with a failure, the report is told. An opener that is
// destroyed stops its programs still running and reports nothing more.
std::unique_ptr<FileOpener>
CreateDesktopOpener(OpenFailureReport report, const QString& program = QStringLiteral("xdg-open"));
