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

#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] = "Usage: veltrane [Qt options]\n"
                      "Opens the window that synchronizes the connected phone or player with the iTunes "
                      "library.\nveltrane-sync does the same from a terminal.\n";

} // namespace

int main(int argc, char** argv)
{
    // Answered before the window system is reached: they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("veltrane " VELTRANE_VERSION "\n", stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    Startup::begin(argc);
    int exitCode = 0;
    {
        QApplication application(argc, argv);
        // Qt has taken its own options (-platform, -style, ...): anything left is not understood.
        const QStringList unknown = QCoreApplication::arguments().mid(1);
        if (!unknown.isEmpty()) {
            std::fprintf(stderr, "veltrane: unknown option %s (see --help)\n", qPrintable(unknown.first()));
            Startup::end(2);
            return 2;
        }
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
