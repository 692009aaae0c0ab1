#include "backends/Backends.h"

#include "devices/mtp/libmtp/LibmtpDeviceManager.h"
#include "devices/usbms/PlayerFolderProber.h"
#include "devices/usbms/linux/LinuxDriveProber.h"
#include "library/itunes/xml/ITunesXmlBackend.h"
#include "sync/freedesktop/FreedesktopNotifier.h"
#include "sync/logind/LogindKeepAwake.h"

Backends Backends::forThisComputer(const QString& aLibraryFile)
{
    Backends backends;
    backends.library = std::make_shared<ITunesXmlBackend>(aLibraryFile);
    // Folders named in VELTRANE_PLAYER_FOLDERS (separated by colons) are players too.
    backends.driveProber = std::make_shared<PlayerFolderProber>(
        std::make_shared<LinuxDriveProber>(),
        PlayerFolderProber::foldersOf(QString::fromLocal8Bit(qgetenv("VELTRANE_PLAYER_FOLDERS"))));
    // One manager for the process: phones are found and opened through libmtp.
    backends.phones = std::make_shared<LibmtpDeviceManager>();
    backends.keepAwake = [] { return std::make_unique<LogindKeepAwake>(); };
    backends.notifier = std::make_shared<FreedesktopNotifier>();
    return backends;
}
