#pragma once

#include "devices/usbms/DriveProber.h"

#include <QMutex>

// Removable USB volumes from /proc/self/mountinfo and sysfs: a mounted block device whose disk
// is removable or sits below a USB controller; never loop, RAM, optical, floppy, device-mapper
// or network block devices. The name is the disk's sysfs vendor and model. Sizes from statvfs.
// The /proc and /sys roots can be moved, so that tests hand the prober trees of their own.
class LinuxDriveProber : public DriveProber
{
public:
    explicit LinuxDriveProber(const QString& aProcRoot = QStringLiteral("/proc"),
                              const QString& aSysRoot = QStringLiteral("/sys"));

    QList<Volume> removableVolumes() override;
    bool volumeSize(const QString& aRoot, qint64& aTotalBytes, qint64& aFreeBytes) override;

    // A mount point field of mountinfo with its octal escapes (\040 and the like) decoded.
    static QString decodeMountField(const QByteArray& aField);

private:
    QList<Volume> volumesOf(const QByteArray& aMountInfo) const;
    bool isRemovableUsb(const QString& aDisk) const;
    QString nameOf(const QString& aDisk) const;

    QString mProcRoot;
    QString mSysRoot;
    QMutex mMutex;
    QByteArray mLastMountInfo; // the volumes are worked out again only when the mounts change
    QList<Volume> mLastVolumes;
};
