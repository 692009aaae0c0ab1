#pragma once

#include "app/UniqueFd.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

class DriveFiles;

// Copies to a drive that take their names together: each copy's data is written under its
// temporary name, and commit() flushes the whole drive once for all of them, then gives each its
// real name, then flushes the names. A copy cut short by a pulled drive or a power cut never
// stands under its real name. Used on the thread of its DriveFiles.
class DriveCopyBatch
{
public:
    explicit DriveCopyBatch(DriveFiles& aDrive) : mDrive(aDrive) {}

    // Copies the local regular file aSource to aPath's temporary name; aBytes receives its size.
    bool add(const QString& aSource, const QStringList& aPath, qint64* aBytes = nullptr);
    // Flushes the drive and gives every copy its name; false when any could not be named.
    bool commit();
    int count() const { return static_cast<int>(mCopies.size()); }
    qint64 bytes() const { return mBytes; }

private:
    struct Copy
    {
        std::size_t folder; // in mFolders
        QByteArray partial;
        QByteArray name;
    };

    DriveFiles& mDrive;
    std::vector<Copy> mCopies;
    std::vector<UniqueFd> mFolders; // the folders the copies wait in
    QStringList mLastFolder;
    qint64 mBytes = 0;
};
