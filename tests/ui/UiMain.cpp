// The widget tests run with a QApplication on Qt's offscreen platform (set by the test main), with
// the English forms of counted texts the program installs.
#include "app/Startup.h"

#include <QApplication>
#include <QTranslator>

QCoreApplication* veltraneCreateApplication(int& aArgc, char** aArgv)
{
    auto* application = new QApplication(aArgc, aArgv);
    static QTranslator englishForms;
    Startup::installEnglishForms(*application, englishForms);
    return application;
}
