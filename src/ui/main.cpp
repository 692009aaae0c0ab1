// veltrane: the desktop program. Its window synchronises the connected phone with the iTunes
// library; veltrane-sync is its twin for terminals and scripts.
#include "app/InterruptWatcher.h"
#include "app/LogScope.h"
#include "app/Startup.h"
#include "backends/Backends.h"
#include "ui/SyncUi.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

int main(int argc, char** argv)
{
    Startup::begin(argc);
    int exitCode = 0;
    {
        QApplication application(argc, argv);
        QApplication::setApplicationName(QStringLiteral("veltrane"));
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/veltrane.png")));
        Startup startup;
        startup.loadTranslations(application, QLocale::system().name());
        SyncUi window(Backends::forThisComputer(QString()));
        window.show();
        // At logout (SIGTERM) or Ctrl-C the window closes as if the user closed it: a run is
        // cancelled and finalised first. A second signal ends the program at once.
        InterruptWatcher interrupts;
        QObject::connect(&interrupts, &InterruptWatcher::interrupted, &window, &QWidget::close);
        exitCode = QApplication::exec();
        Startup::end(exitCode);
    }
    return exitCode;
}
