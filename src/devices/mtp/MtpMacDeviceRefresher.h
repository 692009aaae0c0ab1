#pragma once

#include "devices/MtpDeviceRefresher.h"

#include <QMutex>
#include <QString>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

class PortableDeviceManager;

// Finds the phones connected over MTP, one pass at a time on its own thread: a phone the list
// knows already (same vendor and product strings) is left alone; a new one is opened, its
// storages read and one DeviceMtpMac made for each (disabled when the phone application's
// android.xml is missing). A phone that can't be opened, or shows no storage (a locked screen),
// is reported once through unableToOpenDevice until no phone is connected at all. A pass holds
// the refresher mutex while it works and starts only when it gets it at once; the device list
// holds it while a run uses a phone. The owner's destruction stops a pass between two phones
// and joins it.
class MtpMacDeviceRefresher : public MtpDeviceRefresher
{
    Q_OBJECT

public:
    static constexpr int kUnableToOpen = 11008;
    static constexpr int kNoStorage = 11009;

    explicit MtpMacDeviceRefresher(std::shared_ptr<PortableDeviceManager> aManager,
                                   QObject* aParent = nullptr);
    ~MtpMacDeviceRefresher() override;

    bool isActive() override;
    void start(DeviceList& aDeviceList) override;
    std::vector<std::unique_ptr<DeviceParent>> takeFoundParents() override;
    QList<DeviceParent*> takeGoneParents() override;
    void lock(int aTimeoutMs) override;
    void unlock() override;
    QString unableToOpenReason() const override;
    void setComplete();
    // The pause after a phone is opened (1 s: phones answer badly right after opening).
    void setOpenPause(int aMilliseconds) { mOpenPauseMs = aMilliseconds; }

private:
    class PassThread : public QThread
    {
    public:
        explicit PassThread(MtpMacDeviceRefresher& aOwner) : mOwner(aOwner) {}

    protected:
        void run() override { mOwner.run(); }

    private:
        MtpMacDeviceRefresher& mOwner;
    };

    void run();
    void report(int aReason, const QString& aText);
    // Waits the open pause, or less when the owner is being destroyed.
    void pause();

    std::shared_ptr<PortableDeviceManager> mManager;
    PassThread mThread{*this};
    std::vector<std::unique_ptr<DeviceParent>> mFoundParents;
    QList<DeviceParent*> mGoneParents;
    QList<DeviceParent*> mKnownParents;
    mutable QMutex mActiveMutex; // guards mActive and mReason
    bool mActive = false;
    QString mReason;
    QMutex mRefresherMutex;
    int mFailedOpens = 0;
    bool mReported = false;
    std::atomic<int> mOpenPauseMs{1000};
    std::atomic<bool> mStopping{false};
};
