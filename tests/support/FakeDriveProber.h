#pragma once

// Temporary folders standing for USB drives: the prober lists the folders a test plugs in, and
// answers size queries with the real file system's numbers, unless a folder is "not mounted".
#include "devices/usbms/DriveProber.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

#include <sys/statvfs.h>

class FakeDriveProber : public DriveProber
{
public:
    void plugIn(const QString& aRoot, const QString& aName)
    {
        QMutexLocker lock(&mMutex);
        mVolumes.append({aRoot.endsWith('/') ? aRoot : aRoot + '/', aName});
    }
    void unplugAll()
    {
        QMutexLocker lock(&mMutex);
        mVolumes.clear();
    }
    void setMounted(const QString& aRoot, bool aMounted)
    {
        QMutexLocker lock(&mMutex);
        const QString root = aRoot.endsWith('/') ? aRoot : aRoot + '/';
        if (aMounted)
            mUnmounted.remove(root);
        else
            mUnmounted.insert(root);
    }
    // The free space a volume reports, in place of the real file system's.
    void setFreeSpace(const QString& aRoot, qint64 aBytes)
    {
        QMutexLocker lock(&mMutex);
        mFreeSpace.insert(aRoot.endsWith('/') ? aRoot : aRoot + '/', aBytes);
    }
    int sizeQueries() const
    {
        QMutexLocker lock(&mMutex);
        return mSizeQueries;
    }

    QList<Volume> removableVolumes() override
    {
        QMutexLocker lock(&mMutex);
        return mVolumes;
    }
    bool volumeSize(const QString& aRoot, qint64& aTotalBytes, qint64& aFreeBytes) override
    {
        QMutexLocker lock(&mMutex);
        ++mSizeQueries;
        const QString root = aRoot.endsWith('/') ? aRoot : aRoot + '/';
        struct statvfs info
        {
        };
        if (mUnmounted.contains(root) || statvfs(root.toLocal8Bit().constData(), &info) != 0)
            return false;
        aTotalBytes = static_cast<qint64>(info.f_blocks) * static_cast<qint64>(info.f_frsize);
        aFreeBytes =
            mFreeSpace.value(root, static_cast<qint64>(info.f_bavail) * static_cast<qint64>(info.f_frsize));
        return true;
    }

private:
    mutable QMutex mMutex;
    QList<Volume> mVolumes;
    QSet<QString> mUnmounted;
    QHash<QString, qint64> mFreeSpace;
    int mSizeQueries = 0;
};
