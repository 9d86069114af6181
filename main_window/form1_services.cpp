#include "main_window/form1_services.h"

#include "files/private_files.h"
#include "toolbar/help_window.h"
#include "toolbar/tape_file.h"

#include <QCoreApplication>
#include <QDir>

Form1Services Form1Services::Default() {
    Form1Services services;
    services.engine = CreateScriptControl;
    services.messages = std::make_shared<QtMessageBoxes>();
    services.endProgram = [] { QCoreApplication::exit(0); };
    services.help = std::make_shared<ChmHelpViewer>();
    services.programFolder = QCoreApplication::applicationDirPath();
    services.tapeFile = TapeFilePath();
    // The opener reports an application that fails to show a saved export, after the export.
    const std::shared_ptr<FileOpener> opener =
        CreateDesktopOpener([messages = services.messages](const Failure& failure) {
            messages->warning(failure.reason);
        });
    services.wordTarget = [opener] { return CreateWordTarget(*opener); };
    services.excelTarget = [opener] { return CreateExcelTarget(*opener); };
    services.printer = CreateDefaultPrinter;
    services.layoutPicture = QDir::homePath() + QStringLiteral("/Programme/Morvantis/Layout.jpg");
    services.journal =
        std::make_shared<FileTapeJournal>(ProgramStateFolder(), FileTapeJournal::ThisRun());
    return services;
}
