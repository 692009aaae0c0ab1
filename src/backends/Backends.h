#pragma once

#include "sync/KeepAwake.h"

#include <QString>

#include <functional>
#include <memory>

class DesktopNotifier;
class DriveProber;
class PortableDeviceManager;
namespace itunes {
class Backend;
}

// What the program runs on, chosen here and nowhere else: the iTunes library, the prober that
// finds USB drives, the manager that finds and opens MTP phones, the keep-awake of a sync run and
// the desktop's notifications. Every front end starts from these; the layers below take them as
// arguments and name no backend.
struct Backends
{
    std::shared_ptr<itunes::Backend> library;
    std::shared_ptr<DriveProber> driveProber;
    std::shared_ptr<PortableDeviceManager> phones;
    KeepAwake::Factory keepAwake;
    std::shared_ptr<DesktopNotifier> notifier; // none: no notifications

    // This computer's backends. aLibraryFile names the iTunes library XML file; empty: the
    // "itunes-library-path" setting, else where iTunes and Music keep it.
    static Backends forThisComputer(const QString& aLibraryFile);
};
