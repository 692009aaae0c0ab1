// Copies that take their names together after one flush of the drive.
#include "devices/usbms/DriveCopyBatch.h"

#include "devices/usbms/DriveFiles.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

bool DriveCopyBatch::add(const QString& aSource, const QStringList& aPath, qint64* aBytes)
{
    qint64 bytes = 0;
    if (aPath.isEmpty() || !mDrive.copyUnnamed(aSource, aPath, false, bytes))
        return false;
    if (aBytes)
        *aBytes = bytes;
    const QStringList folder = aPath.mid(0, aPath.size() - 1);
    if (mFolders.empty() || folder != mLastFolder) {
        mFolders.emplace_back(::fcntl(mDrive.folder(folder, false), F_DUPFD_CLOEXEC, 0));
        mLastFolder = folder;
    }
    mCopies.push_back({mFolders.size() - 1, QFile::encodeName(DriveFiles::partialName(aPath.last())),
                       QFile::encodeName(aPath.last())});
    mBytes += bytes;
    return true;
}

bool DriveCopyBatch::commit()
{
    if (mCopies.empty())
        return true;
    const std::vector<Copy> copies = std::exchange(mCopies, {});
    const std::vector<UniqueFd> folders = std::exchange(mFolders, {});
    mLastFolder.clear();
    mBytes = 0;
    // One flush for all the copies' data, then their names, then a flush for the names.
    if (!mDrive.flushDrive())
        return false;
    bool named = true;
    for (const Copy& copy : copies) {
        const int parent = folders[copy.folder].get();
        if (parent < 0 ||
            !mDrive.giveName(parent, copy.partial, copy.name, QFile::decodeName(copy.name), false))
            named = false;
    }
    return mDrive.flushDrive() && named;
}
