#pragma once

#include <QString>

// Holds a device for one synchronisation: an exclusive lock (flock) on a file of the KORDA folder
// named after the device's identity, held while the object lives. Two runs on one device (two
// terminals, or the window and veltrane-sync) would otherwise write one track cache at once; the
// second finds the lock held and doesn't start. The lock goes with the process, however it ends.
class DeviceLock
{
public:
    DeviceLock() = default;
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    enum Result
    {
        Locked,
        HeldElsewhere, // another run holds the device
        Failed,        // the lock file can't be made (no room in the KORDA folder, say)
    };
    Result acquire(const QString& aDeviceId);
    void release();
    bool isLocked() const { return mFd >= 0; }

    // The lock file of a device (its identity hashed: an identity may hold any character).
    static QString lockPath(const QString& aDeviceId);

private:
    int mFd = -1;
};
