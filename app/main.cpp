#include "credits/frm_start.h"
#include "main_window/end_on_signals.h"
#include "main_window/form1.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Zifferon"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral(ZIFFERON_APP_ID));
    // A logout or a kill ends the program as "Ende" does, so that the journal keeps the tapes;
    // unlike quit(), exit() is not refused by a window that keeps itself open (the splash).
    const EndOnSignals ending([] { QCoreApplication::exit(0); });
    std::unique_ptr<Form1> mainWindow;
    auto* splash = new frmStart([&mainWindow] {
        mainWindow = std::make_unique<Form1>();
        mainWindow->show();
    });
    splash->show();
    return QApplication::exec();
}
