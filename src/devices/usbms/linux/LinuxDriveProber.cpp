#include "devices/usbms/linux/LinuxDriveProber.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSet>

#include <sys/statvfs.h>

namespace {

QByteArray readSmallFile(const QString& aPath)
{
    QFile file(aPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

// Block devices that are never a phone or player: loop files, RAM disks, optical and floppy
// drives, device-mapper, software RAID and network block devices.
bool isExcludedDisk(const QString& aName)
{
    for (const char* prefix : {"loop", "ram", "zram", "sr", "fd", "dm-", "md", "nbd"}) {
        if (aName.startsWith(QLatin1String(prefix)))
            return true;
    }
    return false;
}

} // namespace

LinuxDriveProber::LinuxDriveProber(const QString& aProcRoot, const QString& aSysRoot)
    : mProcRoot(aProcRoot), mSysRoot(aSysRoot)
{
}

QString LinuxDriveProber::decodeMountField(const QByteArray& aField)
{
    QByteArray decoded;
    decoded.reserve(aField.size());
    for (qsizetype i = 0; i < aField.size(); ++i) {
        if (aField[i] == '\\' && i + 3 < aField.size() && aField[i + 1] >= '0' && aField[i + 1] <= '3') {
            bool ok = false;
            const int code = aField.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                decoded.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        decoded.append(aField[i]);
    }
    return QFile::decodeName(decoded);
}

QList<DriveProber::Volume> LinuxDriveProber::removableVolumes()
{
    QFile file(mProcRoot + QStringLiteral("/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray mountInfo = file.readAll();
    QMutexLocker lock(&mMutex);
    if (mountInfo != mLastMountInfo) {
        mLastVolumes = volumesOf(mountInfo);
        mLastMountInfo = mountInfo;
    }
    return mLastVolumes;
}

QList<DriveProber::Volume> LinuxDriveProber::volumesOf(const QByteArray& aMountInfo) const
{
    QList<Volume> volumes;
    QSet<QByteArray> seenDevices;
    for (const QByteArray& line : aMountInfo.split('\n')) {
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 10 || fields[3] != "/")
            continue; // a bind mount of a folder is not a volume of its own
        const QByteArray device = fields[2];
        if (device.startsWith("0:") || seenDevices.contains(device))
            continue; // no block device, or a volume mounted twice: its first mount point
        const QString sysPath =
            QFileInfo(mSysRoot + QStringLiteral("/dev/block/") + QString::fromLatin1(device))
                .canonicalFilePath();
        if (sysPath.isEmpty())
            continue;
        // A partition's disk is the folder above it.
        const QString disk = QFileInfo::exists(sysPath + QStringLiteral("/partition"))
                                 ? QFileInfo(sysPath).absolutePath()
                                 : sysPath;
        if (isExcludedDisk(QFileInfo(disk).fileName()) || !isRemovableUsb(disk))
            continue;
        seenDevices.insert(device);
        QString root = decodeMountField(fields[4]);
        if (!root.endsWith(QLatin1Char('/')))
            root += QLatin1Char('/');
        volumes.append({root, nameOf(disk)});
    }
    return volumes;
}

bool LinuxDriveProber::isRemovableUsb(const QString& aDisk) const
{
    if (readSmallFile(aDisk + QStringLiteral("/removable")) == "1")
        return true;
    // Card readers and many players report fixed media: what counts is the USB bus above them.
    return aDisk.contains(QLatin1String("/usb"));
}

QString LinuxDriveProber::nameOf(const QString& aDisk) const
{
    const QString vendor =
        QString::fromUtf8(readSmallFile(aDisk + QStringLiteral("/device/vendor"))).simplified();
    const QString model =
        QString::fromUtf8(readSmallFile(aDisk + QStringLiteral("/device/model"))).simplified();
    const QString name = (vendor + QLatin1Char(' ') + model).trimmed();
    return name.isEmpty() ? QStringLiteral("Unknown Device") : name;
}

bool LinuxDriveProber::volumeSize(const QString& aRoot, qint64& aTotalBytes, qint64& aFreeBytes)
{
    struct statvfs info
    {
    };
    if (statvfs(QFile::encodeName(aRoot).constData(), &info) != 0)
        return false;
    aTotalBytes = static_cast<qint64>(info.f_blocks) * static_cast<qint64>(info.f_frsize);
    aFreeBytes = static_cast<qint64>(info.f_bavail) * static_cast<qint64>(info.f_frsize);
    return true;
}
