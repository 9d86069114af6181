#include "main_window/form1_services.h"

#include <QCoreApplication>

Form1Services Form1Services::Default()
{
    Form1Services services;
    services.engine = CreateScriptControl;
    services.endProgram = [] { QCoreApplication::exit(0); };
    services.programFolder = QCoreApplication::applicationDirPath();
    return services;
}
