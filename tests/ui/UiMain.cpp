// The widget tests run with a QApplication on Qt's offscreen platform (set by the test main).
#include <QApplication>

QCoreApplication* veltraneCreateApplication(int& aArgc, char** aArgv)
{
    return new QApplication(aArgc, aArgv);
}
