#include "devices/mtp/MtpMacDeviceRefresher.h"

#include "app/LogScope.h"
#include "devices/mtp/DeviceMtpMac.h"
#include "devices/mtp/DeviceParentMtpMac.h"
#include "devices/mtp/MtpResult.h"

#include <QElapsedTimer>

MtpMacDeviceRefresher::MtpMacDeviceRefresher(std::shared_ptr<PortableDeviceManager> aManager,
                                             QObject* aParent)
    : QObject(aParent), mManager(std::move(aManager))
{
}

MtpMacDeviceRefresher::~MtpMacDeviceRefresher() = default;

bool MtpMacDeviceRefresher::isActive()
{
    QMutexLocker locker(&mActiveMutex);
    logValue("MtpMacDeviceRefresher::isActive", mActive);
    return mActive;
}

void MtpMacDeviceRefresher::setComplete()
{
    QMutexLocker locker(&mActiveMutex);
    mActive = false;
}

void MtpMacDeviceRefresher::start(const QList<DeviceParent*>& aKnownPhones)
{
    LogScope log("MtpMacDeviceRefresher::start");
    logValue("Known phones", static_cast<int>(aKnownPhones.size()));
    {
        QMutexLocker locker(&mActiveMutex);
        if (mActive) {
            logMessage("Already refreshing, so exit");
            return;
        }
        mActive = true;
    }
    // The previous pass has ended (it marks itself complete as its last step); its thread
    // is joined before the next one starts.
    mThread.reset();
    mKnownParents = aKnownPhones;
    mFoundParents.clear();
    mGoneParents.clear();
    mThread = makeThread(QStringLiteral("MtpMacDeviceRefresher"), [this] { run(); });
    mThread->start();
}

std::vector<std::unique_ptr<DeviceParent>> MtpMacDeviceRefresher::takeFoundParents()
{
    return std::exchange(mFoundParents, {});
}

QList<DeviceParent*> MtpMacDeviceRefresher::takeGoneParents()
{
    return std::exchange(mGoneParents, {});
}

std::unique_lock<QMutex> MtpMacDeviceRefresher::hold(int aTimeoutMs)
{
    std::unique_lock<QMutex> held(mRefresherMutex, std::defer_lock);
    if (!held.try_lock_for(std::chrono::milliseconds(aTimeoutMs))) {
        logMessage("*** Refresher seems to be stalled");
        held.lock();
    }
    return held;
}

QString MtpMacDeviceRefresher::unableToOpenReason() const
{
    QMutexLocker locker(&mActiveMutex);
    return mReason;
}

void MtpMacDeviceRefresher::report(int aReason, const QString& aText)
{
    {
        QMutexLocker locker(&mActiveMutex);
        mReason = aText;
    }
    if (mReported)
        return;
    mReported = true;
    emit unableToOpenDevice(aReason);
}

void MtpMacDeviceRefresher::pause()
{
    QElapsedTimer waited;
    waited.start();
    while (!stopRequested() && waited.elapsed() < mOpenPauseMs)
        QThread::msleep(20);
}

void MtpMacDeviceRefresher::run()
{
    LogScope log("MtpMacDeviceRefresher::run");
    if (!mRefresherMutex.tryLock()) {
        // The device list holds it: a run is using a phone, or auto refresh is off.
        setComplete();
        return;
    }
    logMessage("Listing raw device(s)");
    const QList<PortableDeviceRecord> records = mManager->enumerate();
    if (records.isEmpty())
        mReported = false; // unplugged: the next phone that fails is reported again
    logMessage("Attempting to get devices from raw devices");
    QList<DeviceParent*> seen;
    for (qsizetype index = 0; index < records.size() && !stopRequested(); ++index) {
        const PortableDeviceRecord& record = records.at(index);
        const QString vendor = DeviceParentMtpMac::vendorOf(record);
        const QString product = DeviceParentMtpMac::productOf(record);
        DeviceParent* known = nullptr;
        for (DeviceParent* parent : mKnownParents) {
            const auto* phone = dynamic_cast<DeviceParentMtpMac*>(parent);
            if (phone && phone->vendor() == vendor && phone->product() == product)
                known = parent;
        }
        const auto logDevice = [&] {
            logValue("vendor", vendor);
            logValue("product", product);
            logValue("vendor id", QStringLiteral("0"));
            logValue("product id", QStringLiteral("0"));
        };
        if (known) {
            logMessage("Raw device already in main list");
            logDevice();
            seen.append(known);
            continue;
        }
        logMessage("Device not already in main list... opening device...");
        logDevice();
        logMessage("About to open device");
        qint32 result = MtpResult::kOk;
        QString friendlyName;
        std::unique_ptr<PortableDevice> device = mManager->open(record, result, friendlyName);
        pause();
        if (!device) {
            ++mFailedOpens;
            logValue("Unable to open raw device", static_cast<int>(index));
            {
                // Said at once to whoever asks (veltrane-sync makes one pass); reported below.
                QMutexLocker locker(&mActiveMutex);
                mReason = mManager->openFailure();
            }
            // Another program holding the phone won't let go by itself, and a phone pulled out
            // won't come back: those are said at once. Other failures often pass (a phone just
            // plugged in), so only repeated ones are.
            if (result == MtpResult::kInUse)
                report(kInUseByAnotherRun, mManager->openFailure());
            else if (result == MtpResult::kGone)
                report(kGoneWhileOpening, mManager->openFailure());
            else if (result == MtpResult::kBusy)
                report(kUnableToOpen, mManager->openFailure());
            else if (mFailedOpens > 5)
                report(kUnableToOpen, mManager->openFailure());
            continue;
        }
        logMessage("Opened device");
        QList<QMtpDeviceStorage> storages;
        result = device->storages(storages);
        if (result != MtpResult::kOk || storages.isEmpty()) {
            if (result != MtpResult::kOk)
                logValue("Can't get storage list", result);
            else
                logMessage(
                    "No storage objects found - maybe the screen is locked, or the device needs an SD card?");
            device.reset();
            report(kNoStorage,
                   QStringLiteral("%1 shows no storage: unlock its screen and allow access to its "
                                  "files (USB file transfer) on the phone")
                       .arg(friendlyName.isEmpty() ? record.description : friendlyName));
            continue;
        }
        auto parent = std::make_unique<DeviceParentMtpMac>(std::make_unique<MtpDevice>(std::move(device)),
                                                           record, friendlyName);
        seen.append(parent.get());
        for (const QMtpDeviceStorage& storage : storages) {
            logValue("Storage", storage.description());
            parent->addChild(std::make_unique<DeviceMtpMac>(*parent, storage));
        }
        AndroidInfo best;
        parent->bestAndroidInfo(best);
        if (best.androidVersion < 0) {
            // A phone without the phone application is listed, but can't be synchronised.
            logValue("We couldn't find the android.xml file, so disable the child device",
                     best.androidVersion);
            for (Device* child : parent->children())
                child->setDisabled(true);
        }
        mFoundParents.push_back(std::move(parent));
    }
    for (DeviceParent* parent : mKnownParents) {
        if (!seen.contains(parent) && !stopRequested())
            mGoneParents.append(parent);
    }
    logMessage("Unlocking device refresher mutex");
    mRefresherMutex.unlock();
    setComplete();
}
