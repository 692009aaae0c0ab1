#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class DeviceList;
class DeviceParent;

// What the device list needs of the worker that finds MTP phones: one pass at a time on its own
// thread; after a pass, the parents it found new (handed over to the list) and those that are
// gone (still owned by the list, which destroys them). A pass holds the refresher's mutex while
// it talks to devices; the list holds it too while a sync must not be disturbed.
class MtpDeviceRefresher : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool isActive() = 0;
    // Begins a pass over the phones, knowing the list's MTP parents; nothing when one is running.
    virtual void start(DeviceList& aDeviceList) = 0;
    virtual std::vector<std::unique_ptr<DeviceParent>> takeFoundParents() = 0;
    virtual QList<DeviceParent*> takeGoneParents() = 0;
    // Waits up to aTimeoutMs for the mutex, then (logging that the pass seems stalled) without limit.
    virtual void lock(int aTimeoutMs) = 0;
    virtual void unlock() = 0;
    // Why a phone could not be opened or shows no storage, in words the user can act on; empty
    // when none failed. Read after unableToOpenDevice.
    virtual QString unableToOpenReason() const { return QString(); }

signals:
    void unableToOpenDevice(int aReason);
};
