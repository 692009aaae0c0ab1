// Copying tracks, deleting them and their album art on a USB drive.
#include "devices/usbms/UsbMSDevice.h"

#include "app/LogScope.h"
#include "tracks/SourceFile.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"

#include <QFileInfo>
#include <QThread>

namespace {

// Copies are named in batches of this many files or bytes: one flush of the drive for many
// copies instead of one per file (USB sticks take long to flush).
constexpr int kBatchFiles = 1000;
constexpr qint64 kBatchBytes = 128 * 1024 * 1024;

} // namespace

QString UsbMSDevice::trackFolder(const Track& aTrack)
{
    QString artistFolder, albumFolder;
    trackFolderNames(aTrack, artistFolder, albumFolder);
    QString folder = QStringLiteral("\\Music\\");
    if (!artistFolder.isEmpty())
        folder += artistFolder + QLatin1Char('\\');
    if (!albumFolder.isEmpty())
        folder += albumFolder + QLatin1Char('\\');
    return folder;
}

bool UsbMSDevice::commitCopies()
{
    if (mCopies.count() == 0)
        return true;
    LogScope log("UsbMSDevice::commitCopies");
    logValue("Copies", mCopies.count());
    return log.ret(mCopies.commit());
}

int UsbMSDevice::UploadTrack(Track& aTrack)
{
    LogScope log("UsbMSDevice::UploadTrack");
    aTrack.dump();
    forgetListings(); // the drive changes from here on
    // A track whose file isn't on this computer is not on the drive either: it is reported, not
    // recorded, and tried again by the next run.
    const QString source = aTrack.uploadSourcePath();
    qint64 sourceSize = 0;
    if ((source != aTrack.path() && !SourceFile::isPresent(aTrack.path())) ||
        SourceFile::check(source, &sourceSize) != SourceFile::Present) {
        logMessage("Source file doesn't exist");
        logValue("a_track.path()", aTrack.path());
        return log.ret(kSourceFileMissing);
    }
    // The file name as the drive can store it; a converted track is stored under its MP3 name,
    // the name its device path, the playlists and a later deletion use.
    QString fileName = safeFileName(QFileInfo(aTrack.path()).fileName());
    if (aTrack.needsConversion() && fileName.size() > 3) {
        logMessage("Changing ext to mp3");
        fileName = fileName.left(fileName.size() - 3) + QStringLiteral("mp3");
    }
    const QString folder = trackFolder(aTrack);
    // Another track of the run may hold this name (two albums both called "Unknown"): this one
    // then gets a numbered name of its own.
    const QString devicePath = freeDevicePath(folder + fileName, aTrack);
    logValue("persistentId", devicePath);
    QStringList names;
    if (!DriveFiles::split(devicePath, names)) {
        logValue("! Not a path on the drive", devicePath);
        return log.ret(kCopyFailed);
    }
    logValue("remoteDirectoryPath", root() + names.mid(0, names.size() - 1).join(QLatin1Char('/')));
    if (!mDrive.makeFolder(names.mid(0, names.size() - 1))) {
        logMessage("Error making remote path");
        return log.ret(failureCode(kFolderFailed));
    }
    // Only whole files carry a real name: a copy that was cut short never got one. One of the
    // size this copy would have is taken as it; any other is replaced.
    qint64 sizeOnDrive = 0;
    if (mDrive.isFile(names, &sizeOnDrive) && sizeOnDrive == sourceSize &&
        (!mFullResync || mDrive.sameContent(names, source))) {
        logMessage("Destination file already exists");
        logValue("remoteFilePath", root() + names.join(QLatin1Char('/')));
        ++mKeptCopies;
    } else {
        logMessage("Copying track");
        logValue("Converted path", source);
        if (!mCopies.add(source, names, &sizeOnDrive)) {
            logValue("! Copy failed", mDrive.lastError());
            const bool sourceGone =
                mDrive.lastStatus() == DriveFiles::Missing && !SourceFile::isPresent(source);
            return log.ret(sourceGone ? kSourceFileMissing : failureCode(kCopyFailed));
        }
        if ((mCopies.count() >= kBatchFiles || mCopies.bytes() >= kBatchBytes) && !commitCopies())
            return log.ret(failureCode(kCopyFailed));
    }
    aTrack.setDeviceId(devicePath);
    aTrack.setOnRemoteDevice(true);
    aTrack.setSizeOnDevice(sizeOnDrive);
    writeMetadataEntry(aTrack);
    return log.ret(0);
}

bool UsbMSDevice::trackIsOnDevice(const Track& aTrack)
{
    commitCopies();
    // Each folder is listed once for all its tracks (a copy only ever gets its name whole, so
    // a name that is there is a whole file).
    const QString& path = aTrack.deviceId();
    const qsizetype slash = path.lastIndexOf(QLatin1Char('\\'));
    const QStringView folder = QStringView(path).first(slash + 1);
    if (!mLastListing || folder != mLastFolder) {
        mLastFolder = folder.toString();
        FolderListing* listing = nullptr;
        const auto found = mListings.find(mLastFolder);
        if (found != mListings.end()) {
            listing = &found.value();
        } else {
            constexpr int kListingsKept = 256;
            if (mListings.size() >= kListingsKept)
                mListings.clear(); // a folder met again later is listed again
            FolderListing& added = mListings[mLastFolder];
            QStringList names;
            if (namesOf(mLastFolder + QLatin1Char('x'), names)) {
                names.removeLast();
                mDrive.listFileNames(names, added);
            }
            listing = &added;
        }
        mLastListing = listing;
    }
    return mLastListing->contains(QStringView(path).sliced(slash + 1));
}

void UsbMSDevice::forgetListings()
{
    mListings = {};
    mLastFolder.clear();
    mLastListing = nullptr;
}

int UsbMSDevice::DeleteTrack(TrackCache& aCache, Track& aTrack)
{
    LogScope log("UsbMSDevice::DeleteTrack");
    aTrack.dump();
    commitCopies(); // a copy made earlier in the run has its name before anything is deleted
    forgetListings();
    // The path comes from the track cache: one that would leave the drive is never followed.
    QStringList names;
    if (!namesOf(aTrack.deviceId(), names)) {
        logValue("! Refused to delete outside the drive", aTrack.deviceId());
        return log.ret(kDeleteFailed);
    }
    logValue("fileToDelete", root() + names.join(QLatin1Char('/')));
    if (mDrive.exists(names)) {
        const bool removed = mDrive.removeFile(names);
        // Every deletion after the first on this device pauses 100 ms.
        if (mDeletedBefore)
            QThread::msleep(100);
        mDeletedBefore = true;
        logValue("reallyDeleted", removed);
        if (!removed)
            return log.ret(failureCode(kDeleteFailed));
    } else {
        if (!mDrive.present())
            return log.ret(kDeviceGone);
        logMessage("File doesn't exist");
    }
    aTrack.setOnRemoteDevice(false);
    aCache.removeDeletedTrack(aTrack);
    return log.ret(0);
}

void UsbMSDevice::uploadAlbumArt(const Track& aTrack, const QString& aImagePath)
{
    LogScope log("UsbMSDevice::uploadAlbumArt");
    const QString folder = trackFolder(aTrack);
    QStringList artFile;
    if (!DriveFiles::split(folder + QStringLiteral("AlbumArt.jpg"), artFile))
        return;
    const bool copied = !mDrive.exists(artFile) && mDrive.copyIn(aImagePath, artFile);
    if (copied || mDrive.isFile(artFile)) {
        // A new track's art goes before the track, whose path isn't known yet: the hint then
        // names the folder the art went to.
        const QString hinted =
            aTrack.deviceId().isEmpty() ? folder.chopped(1) : deviceDataPath(aTrack.deviceId());
        appendLine(QStringLiteral("refreshhint"), hinted.toUtf8() + "\r\n");
    }
}
