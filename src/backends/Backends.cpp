#include "backends/Backends.h"

#include "devices/NoMtpDeviceRefresher.h"
#include "devices/usbms/linux/LinuxDriveProber.h"
#include "library/itunes/xml/ITunesXmlBackend.h"
#include "sync/logind/LogindKeepAwake.h"

Backends Backends::forThisComputer(const QString& aLibraryFile)
{
    Backends backends;
    backends.library = std::make_shared<ITunesXmlBackend>(aLibraryFile);
    backends.driveProber = std::make_shared<LinuxDriveProber>();
    backends.makeMtpRefresher = [] { return std::make_unique<NoMtpDeviceRefresher>(); };
    backends.keepAwake = [] { return std::make_unique<LogindKeepAwake>(); };
    return backends;
}
