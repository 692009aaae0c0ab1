#pragma once

#include "app/OwnedThread.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

class DeviceParent;
class PortableDeviceManager;

// Finds the phones connected over MTP, one pass at a time on a thread of its own
// ("MtpMacDeviceRefresher"): a phone the list knows already (same vendor and product strings) is
// left alone; a new one is opened, its storages read and one DeviceMtpMac made for each
// (disabled when the phone application's android.xml is missing). After a pass, the parents it
// found are handed over to the device list, and those that are gone are named (the list still
// owns them and destroys them). A phone that can't be opened, or shows no storage (a locked
// screen), is reported once through unableToOpenDevice until no phone is connected at all.
// A pass holds the refresher mutex while it talks to phones and starts only when it gets it at
// once; the device list holds it (hold()) while a run uses a phone. Destroying the refresher
// stops a pass between two phones and joins it. Lives on the device list's thread.
class MtpMacDeviceRefresher : public QObject
{
    Q_OBJECT

public:
    static constexpr int kUnableToOpen = 11008;
    static constexpr int kNoStorage = 11009;
    static constexpr int kInUseByAnotherRun = 11010; // the window or another veltrane-sync has it
    static constexpr int kGoneWhileOpening = 11011;

    explicit MtpMacDeviceRefresher(std::shared_ptr<PortableDeviceManager> aManager,
                                   QObject* aParent = nullptr);
    ~MtpMacDeviceRefresher() override;

    bool isActive();
    // Begins a pass over the phones, knowing the list's phones; nothing when one is running.
    void start(const QList<DeviceParent*>& aKnownPhones);
    std::vector<std::unique_ptr<DeviceParent>> takeFoundParents();
    QList<DeviceParent*> takeGoneParents();
    // Holds the refresher still for as long as the lock lives: waits up to aTimeoutMs for the
    // mutex, then (logging that the pass seems stalled) without limit.
    std::unique_lock<QMutex> hold(int aTimeoutMs);
    // Why a phone could not be opened or shows no storage, in words the user can act on; empty
    // when none failed. Read after unableToOpenDevice.
    QString unableToOpenReason() const;
    // The pause after a phone is opened (1 s: phones answer badly right after opening).
    void setOpenPause(int aMilliseconds) { mOpenPauseMs = aMilliseconds; }

signals:
    void unableToOpenDevice(int aReason);

private:
    void run();
    void setComplete();
    void report(int aReason, const QString& aText);
    // Waits the open pause, or less when the pass is being stopped.
    void pause();

    std::shared_ptr<PortableDeviceManager> mManager;
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
    OwnedThread mThread; // the current or last pass; last: joined before the members it uses go
};
