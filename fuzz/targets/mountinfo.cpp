// /proc/self/mountinfo, with mount points any user can name (a FUSE mount, a USB stick's label).
#include "devices/usbms/linux/LinuxDriveProber.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    const QString home = fuzz::home();
    fuzz::file(QStringLiteral("proc/self/mountinfo"), fuzz::bytes(aData, aSize));
    QDir().mkpath(home + QStringLiteral("/sys"));
    LinuxDriveProber prober(home + QStringLiteral("/proc"), home + QStringLiteral("/sys"));
    prober.removableVolumes();
    return 0;
}
