#include "main_window/form1_services.h"

#include "files/private_files.h"
#include "formats/tape_file.h"
#include "toolbar/help_process.h"

#include <QCoreApplication>
#include <QDir>

Form1Services Form1Services::Default() {
    Form1Services services;
    services.engine = CreateScriptControl;
    services.messages = std::make_shared<QtMessageBoxes>();
    services.endProgram = [] { QCoreApplication::exit(0); };
    services.clipboard = CreateDesktopClipboard();
    services.programFolder = QCoreApplication::applicationDirPath();
    // The help viewer reports a help file that it cannot show, after F1.
    services.help = std::make_shared<HelpProcess>(
        services.programFolder + u'/' + QLatin1String(HelpChannel::ViewerProgram),
        [messages = services.messages](const Failure& failure) {
            messages->warning(failure.reason);
        });
    services.tapeFile = TapeFilePath();
    // The opener reports an application that fails to show a saved export, after the export.
    const std::shared_ptr<FileOpener> opener = CreateDesktopOpener(
        [messages = services.messages](const QString& path, const QString& cause) {
            messages->warning(ExportNotShownWarning(path, cause));
        });
    services.wordTarget = [opener] { return CreateWordTarget(*opener); };
    services.excelTarget = [opener] { return CreateExcelTarget(*opener); };
    services.printer = CreateDefaultPrinter;
    services.layoutPicture = QDir::homePath() + QStringLiteral("/Programme/Morvantis/Layout.jpg");
    services.journal =
        std::make_shared<FileTapeJournal>(ProgramStateFolder(), FileTapeJournal::ThisRun());
    return services;
}
