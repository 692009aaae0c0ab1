#pragma once

#include <QThread>

#include <memory>

class DeviceList;
class DriveProber;
class MountedChecker;

// The thread of the MountedChecker: runs an event loop; questions arrive from the device list
// and answers go back to it as queued signals. Connected before it starts, so no question is
// lost; stopped and joined when destroyed.
class MountedCheckerThread : public QThread
{
    Q_OBJECT

public:
    MountedCheckerThread(DeviceList* aDeviceList, std::shared_ptr<DriveProber> aProber);
    ~MountedCheckerThread() override;

private:
    std::unique_ptr<MountedChecker> mChecker;
};
