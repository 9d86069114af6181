#include "main_window/form1.h"
#include "resources/fonts.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Zifferon"));
    fonts::LoadApplicationFonts();
    Form1 window;
    window.show();
    return QApplication::exec();
}
