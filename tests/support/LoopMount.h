#pragma once

#include <QString>

// A real file system on a loop device, for tests of what a real drive does: fill up, be
// unplugged (a lazy unmount, as when the stick is pulled). Needs root and mkfs.ext4; where that
// is impossible, available() says why and the test skips.
class LoopMount
{
public:
    // An ext4 file system of aMegabytes mounted at aMountPoint (made when missing).
    LoopMount(const QString& aImage, const QString& aMountPoint, int aMegabytes);
    ~LoopMount();
    LoopMount(const LoopMount&) = delete;
    LoopMount& operator=(const LoopMount&) = delete;

    bool available() const { return mMounted; }
    const QString& whyNot() const { return mWhyNot; }
    // Detaches the file system from the mount point at once, as a pulled drive.
    bool unplug();
    // Mounts the image again (a drive plugged back in).
    bool plugIn();

private:
    QString mImage;
    QString mMountPoint;
    bool mMounted = false;
    QString mWhyNot;
};
