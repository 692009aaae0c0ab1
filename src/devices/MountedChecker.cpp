#include "devices/MountedChecker.h"

#include "devices/usbms/DriveProber.h"

void MountedChecker::startMountedCheck(const QString& aRootPath)
{
    qint64 total = 0, free = 0;
    emit mountedStatusUpdate(mProber->volumeSize(aRootPath, total, free) ? MountedStateMounted
                                                                         : MountedStateNotMounted,
                             aRootPath);
}
