#include "devices/MountedCheckerThread.h"

#include "devices/DeviceList.h"
#include "devices/MountedChecker.h"

MountedCheckerThread::MountedCheckerThread(DeviceList* aDeviceList, std::shared_ptr<DriveProber> aProber)
    : mChecker(std::make_unique<MountedChecker>(std::move(aProber)))
{
    mChecker->moveToThread(this);
    connect(aDeviceList, &DeviceList::checkMountedStatus, mChecker.get(), &MountedChecker::startMountedCheck);
    connect(mChecker.get(), &MountedChecker::mountedStatusUpdate, aDeviceList,
            &DeviceList::mountedStatusChange);
}

MountedCheckerThread::~MountedCheckerThread()
{
    quit();
    wait();
}
