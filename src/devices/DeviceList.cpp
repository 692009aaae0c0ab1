#include "devices/DeviceList.h"

#include "app/LogScope.h"
#include "devices/Device.h"
#include "devices/DeviceParentMs.h"
#include "devices/MDeviceListObserver.h"
#include "devices/MountedChecker.h"
#include "devices/mtp/MtpMacDeviceRefresher.h"
#include "devices/usbms/DriveProber.h"
#include "devices/usbms/UsbMSDevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

DeviceList::DeviceList(std::shared_ptr<DriveProber> aProber, std::shared_ptr<PortableDeviceManager> aPhones,
                       QObject* aParent)
    : QObject(aParent), mProber(std::move(aProber)),
      mRefresher(std::make_unique<MtpMacDeviceRefresher>(std::move(aPhones))),
      mMountedChecker(std::make_unique<MountedChecker>(mProber)),
      mMountedCheckerThread(startEventLoopThread(QStringLiteral("MountedCheckerThread")))
{
    Q_ASSERT(mProber);
    connect(mRefresher.get(), &MtpMacDeviceRefresher::unableToOpenDevice, this,
            &DeviceList::unableToOpenDevice);
    connect(&mTimer, &QTimer::timeout, this, &DeviceList::update);
    // Questions go to the checker's thread and answers come back, both queued.
    mMountedChecker->moveToThread(mMountedCheckerThread.get());
    connect(this, &DeviceList::checkMountedStatus, mMountedChecker.get(), &MountedChecker::startMountedCheck);
    connect(mMountedChecker.get(), &MountedChecker::mountedStatusUpdate, this,
            &DeviceList::mountedStatusChange);
}

DeviceList::~DeviceList()
{
    LogScope log("DeviceList::~DeviceList");
    mTimer.stop();
    // The checker's thread stops first, then the refresher's pass, then the parents the pass knew.
    mMountedCheckerThread.reset();
    mRefresherHold = {};
    mRefresher.reset();
}

QString DeviceList::unableToOpenReason() const
{
    return mRefresher->unableToOpenReason();
}

QList<DeviceParent*> DeviceList::GetParentDevices() const
{
    QList<DeviceParent*> parents;
    for (const auto& parent : mParents)
        parents.append(parent.get());
    return parents;
}

DeviceParent* DeviceList::parentOfDevice(const Device* aDevice) const
{
    for (const auto& parent : mParents) {
        if (parent->children().contains(const_cast<Device*>(aDevice)))
            return parent.get();
    }
    return nullptr;
}

void DeviceList::addParent(std::unique_ptr<DeviceParent> aParent)
{
    mDevices.append(aParent->children());
    mParents.push_back(std::move(aParent));
}

void DeviceList::removeParent(DeviceParent* aParent)
{
    for (Device* child : aParent->children())
        mDevices.removeAll(child);
    for (auto it = mParents.begin(); it != mParents.end(); ++it) {
        if (it->get() == aParent) {
            mParents.erase(it);
            return;
        }
    }
}

Device* DeviceList::ConnectedDevice()
{
    LogScope log("DeviceList::ConnectedDevice");
    int best = 0;
    int bestIndex = 0;
    for (int i = mDevices.size() - 1; i >= 0; --i) {
        if (mDevices[i]->IsConfigured()) {
            logMessage("Configured device found");
            const int order = mDevices[i]->configuredOrder();
            if (order > best) {
                best = order;
                bestIndex = i;
            }
        } else {
            logMessage("Non-Configured device found");
        }
    }
    return mDevices.at(bestIndex);
}

bool DeviceList::RefreshDevices()
{
    LogScope log("DeviceList::RefreshDevices");
    bool mtpChanged = false;
    if (!mInitialised) {
        LogScope initialise("DeviceList::Initialise");
        mInitialised = true;
    }
    if (!mRefresher->isActive()) {
        for (auto& parent : mRefresher->takeFoundParents()) {
            addParent(std::move(parent));
            mtpChanged = true;
        }
        for (DeviceParent* gone : mRefresher->takeGoneParents()) {
            removeParent(gone);
            mtpChanged = true;
        }
        QList<DeviceParent*> phones;
        for (const auto& parent : mParents) {
            if (parent->GetDeviceType() == Device::DeviceTypeMtp)
                phones.append(parent.get());
        }
        mRefresher->start(phones);
    }
    // USB drives are built again from scratch on every refresh.
    for (auto it = mParents.begin(); it != mParents.end();) {
        if ((*it)->GetDeviceType() != Device::DeviceTypeUsbMassStorage) {
            ++it;
            continue;
        }
        for (Device* child : (*it)->children())
            mDevices.removeAll(child);
        it = mParents.erase(it);
    }
    const bool usbChanged = RefreshUsbMSDevices();
    if (usbChanged)
        logMessage("usb_ms_list_changed");
    if (mtpChanged)
        logMessage("mtp_list_changed");
    QString names;
    for (int i = 0; i < mDevices.size(); ++i) {
        logValue("device list index: ", i);
        const QString& name = mDevices[i]->FriendlyName();
        logValue("device name: ", name);
        names += name;
    }
    const bool namesChanged = names != mPreviousDeviceNames;
    mPreviousDeviceNames = names;
    return log.ret(namesChanged || usbChanged || mtpChanged);
}

bool DeviceList::RefreshUsbMSDevices()
{
    LogScope log("DeviceList::RefreshUsbMSDevices");
    const QList<DriveProber::Volume> volumes = mProber->removableVolumes();
    QString driveString;
    for (const DriveProber::Volume& volume : volumes)
        driveString += volume.root;
    logValue("logicalDriverString", driveString);
    int newMountedCount = 0;
    bool changed = false;
    for (const DriveProber::Volume& volume : volumes) {
        logValue("deviceName", volume.name);
        logMessage("isUsbDevice == true");
        // The answer to this question serves the next refresh.
        const bool mounted = mMountedStates.value(volume.root) == MountedChecker::MountedStateMounted;
        emit checkMountedStatus(volume.root);
        if (mounted)
            logMessage("Got free space, so we assume the drive is mounted");
        auto parent = std::make_unique<DeviceParentMs>(volume.name);
        Device* device =
            parent->addChild(std::make_unique<UsbMSDevice>(volume.root, volume.name, mounted, mProber));
        addParent(std::move(parent));
        if (mounted) {
            logMessage("usbMSDevice added");
            if (device->IsMounted())
                ++newMountedCount;
        }
    }
    if (newMountedCount != mMountedUsbMSCount) {
        logValue("newMountedCount", newMountedCount);
        logValue("mMountedUsbMSCount", mMountedUsbMSCount);
        mMountedUsbMSCount = newMountedCount;
        changed = true;
    }
    if (driveString != mPreviousLogicalDriveString) {
        logValue("mPreviousLogicalDriveString", mPreviousLogicalDriveString);
        logValue("logicalDriveString", driveString);
        mPreviousLogicalDriveString = driveString;
        changed = true;
    }
    return log.ret(changed);
}

void DeviceList::mountedStatusChange(int aMountedState, const QString& aRootPath)
{
    mMountedStates.insert(aRootPath, aMountedState);
}

void DeviceList::EnableAutoRefresh(MDeviceListObserver* aObserver)
{
    LogScope log("DeviceList::EnableAutoRefresh");
    if (mAutoRefreshEnabled) {
        logMessage("Autorefresh is already enabled");
        return;
    }
    if (mRefresherHold.owns_lock()) {
        logMessage("Unlocking the autorefresher");
        logMessage("Unlocking device refresher mutex - 1");
        mRefresherHold = {};
    } else {
        logMessage("Autorefresher is already unlocked");
    }
    mAutoRefreshEnabled = true;
    mObserver = aObserver;
    {
        LogScope force("DeviceList::forceUpdate");
        RefreshDevices();
        if (mObserver)
            mObserver->DeviceListChanged();
    }
    mTimer.start(2000);
}

void DeviceList::DisableAutoRefresh()
{
    LogScope log("DeviceList::DisableAutoRefresh");
    if (!mAutoRefreshEnabled) {
        logMessage("Autorefresh already disabled");
        return;
    }
    mAutoRefreshEnabled = false;
    mTimer.stop();
    holdRefresher();
    logMessage("Autorefresh is locked");
    mObserver = nullptr;
}

void DeviceList::holdRefresher()
{
    if (!mRefresherHold.owns_lock()) {
        logMessage("Locking the autorefresher");
        mRefresherHold = mRefresher->hold(5000);
    } else {
        logMessage("Autorefresher is already locked");
    }
}

void DeviceList::refreshWithPhones(int aTimeoutMs)
{
    LogScope log("DeviceList::refreshWithPhones");
    RefreshDevices();
    QElapsedTimer waited;
    waited.start();
    while (mRefresher->isActive() && waited.elapsed() < aTimeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    // Held first, so that the pass this refresh starts finds the mutex taken and ends at once.
    holdRefresher();
    RefreshDevices();
    QCoreApplication::processEvents(); // the signals of the pass
}

void DeviceList::update()
{
    if (mAutoRefreshEnabled && RefreshDevices() && mObserver)
        mObserver->DeviceListChanged();
}
