#pragma once

#include "app/OwnedThread.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <mutex>
#include <vector>

class Device;
class DeviceParent;
class DriveProber;
class MDeviceListObserver;
class MountedChecker;
class MtpMacDeviceRefresher;
class PortableDeviceManager;

// The connected devices: USB drives, rebuilt on every refresh, and MTP phones, which come and go
// only through a finished pass of its MtpMacDeviceRefresher. Owns every parent and device in it;
// a Device* stays valid until the next refresh (so auto refresh is off while a sync uses one).
// Lives on the GUI thread; with auto refresh on it refreshes every 2000 ms and tells its
// observer. Whether a drive is mounted is asked on the "MountedCheckerThread", where a hung
// drive blocks nobody.
class DeviceList : public QObject
{
    Q_OBJECT

public:
    // The backends come from backends/: the prober of USB drives and the finder of phones.
    DeviceList(std::shared_ptr<DriveProber> aProber, std::shared_ptr<PortableDeviceManager> aPhones,
               QObject* aParent = nullptr);
    ~DeviceList() override;

    const QList<Device*>& GetDevices() const { return mDevices; }
    virtual QList<DeviceParent*> GetParentDevices() const;
    void SelectDevice(int aIndex) { mSelectedIndex = aIndex; }
    bool DeviceIsSelected() const { return mSelectedIndex >= 0 && mSelectedIndex < mDevices.size(); }
    Device* SelectedDevice() const { return mDevices.at(mSelectedIndex); }
    bool DeviceIsConnected() const { return !mDevices.isEmpty(); }
    // The device to synchronise: the configured one whose settings entry stands lowest, else the first.
    Device* ConnectedDevice();
    DeviceParent* parentOfDevice(const Device* aDevice) const;
    bool RefreshDevices();
    void EnableAutoRefresh(MDeviceListObserver* aObserver);
    void DisableAutoRefresh();
    bool autoRefreshEnabled() const { return mAutoRefreshEnabled; }
    // For a front end without auto refresh that is about to use a device: refreshes, waits up
    // to aTimeoutMs for the refresher's pass over the phones, then holds the refresher still and
    // takes the phones it found into the list.
    void refreshWithPhones(int aTimeoutMs);
    // Why a phone could not be opened, in words for the user (after unableToOpenDevice).
    QString unableToOpenReason() const;
    MtpMacDeviceRefresher& refresher() { return *mRefresher; }
    // The last answer of the mounted checker for a root: 1 mounted, 2 not, 0 none yet.
    int mountedState(const QString& aRoot) const { return mMountedStates.value(aRoot, 0); }

public slots:
    void update();
    void mountedStatusChange(int aMountedState, const QString& aRootPath);

signals:
    void checkMountedStatus(const QString& aRootPath);
    void unableToOpenDevice(int aReason);

private:
    bool RefreshUsbMSDevices();
    void addParent(std::unique_ptr<DeviceParent> aParent);
    void removeParent(DeviceParent* aParent);
    void holdRefresher();

    std::shared_ptr<DriveProber> mProber;
    std::vector<std::unique_ptr<DeviceParent>> mParents;
    QList<Device*> mDevices;
    std::unique_ptr<MtpMacDeviceRefresher> mRefresher;
    std::unique_lock<QMutex> mRefresherHold; // owned while auto refresh is off
    bool mInitialised = false;
    MDeviceListObserver* mObserver = nullptr;
    QString mPreviousLogicalDriveString;
    QTimer mTimer;
    int mSelectedIndex = -1;
    int mMountedUsbMSCount = 0;
    QHash<QString, int> mMountedStates;
    bool mAutoRefreshEnabled = false;
    QString mPreviousDeviceNames;
    std::unique_ptr<MountedChecker> mMountedChecker; // lives on the thread below
    OwnedThread mMountedCheckerThread;               // stopped before the checker goes
};
