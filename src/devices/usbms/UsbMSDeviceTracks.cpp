// Copying tracks, deleting them and their album art on a USB drive.
#include "devices/usbms/UsbMSDevice.h"

#include "app/LogScope.h"
#include "devices/usbms/CompleteFileCopy.h"
#include "tracks/SourceFile.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

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

int UsbMSDevice::UploadTrack(Track& aTrack)
{
    LogScope log("UsbMSDevice::UploadTrack");
    aTrack.dump();
    // A track whose file isn't on this computer is not on the drive either: it is reported, not
    // recorded, and tried again by the next run.
    if (!SourceFile::isPresent(aTrack.path()) || !SourceFile::isPresent(aTrack.uploadSourcePath())) {
        logMessage("Source file doesn't exist");
        logValue("a_track.path()", aTrack.path());
        return log.ret(kSourceFileMissing);
    }
    int result = 0;
    bool mayCopy = true;
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
    fileName = devicePath.mid(folder.size());
    // The folder names are sanitised: they never leave the drive.
    const QString remoteFolder = localPathOf(folder);
    logValue("remoteDirectoryPath", remoteFolder);
    if (!makeFolder(remoteFolder)) {
        result = kFolderFailed;
        logMessage("Error making remote path");
        mayCopy = false;
    }
    const QString remoteFile = remoteFolder + QLatin1Char('/') + fileName;
    logValue("persistentId", devicePath);
    bool onDrive = false;
    const QFileInfo existing(remoteFile);
    qint64 sizeOnDrive = 0;
    if (existing.isFile()) {
        // Only whole files carry the real name: a copy that was cut short never got it.
        logMessage("Destination file already exists");
        logValue("remoteFilePath", remoteFile);
        onDrive = true;
        sizeOnDrive = existing.size();
    } else if (mayCopy) {
        logMessage("Copying track");
        const QString source = aTrack.uploadSourcePath();
        logValue("Converted path", source);
        QString error;
        onDrive = CompleteFileCopy::copy(source, remoteFile, &error, &sizeOnDrive);
        logValue("result", onDrive);
        if (!onDrive) {
            logValue("! Copy failed", error);
            result = kCopyFailed;
        }
    }
    if (onDrive) {
        aTrack.setDeviceId(devicePath);
        aTrack.setOnRemoteDevice(true);
        aTrack.setSizeOnDevice(sizeOnDrive);
        writeMetadataEntry(aTrack);
    }
    return log.ret(result);
}

int UsbMSDevice::DeleteTrack(TrackCache& aCache, Track& aTrack)
{
    LogScope log("UsbMSDevice::DeleteTrack");
    aTrack.dump();
    QString devicePath = aTrack.deviceId();
    if (!devicePath.isEmpty() && !devicePath.startsWith(QLatin1Char('\\')))
        devicePath = QStringLiteral("KORDA\\") + devicePath;
    // The path comes from the track cache: one that would leave the drive is never followed.
    const QString fileToDelete = localPathOf(devicePath);
    if (fileToDelete.isEmpty()) {
        logValue("! Refused to delete outside the drive", aTrack.deviceId());
        return log.ret(kDeleteFailed);
    }
    QFile file(fileToDelete);
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner);
    logValue("fileToDelete", fileToDelete);
    bool removed = true;
    if (QFileInfo::exists(fileToDelete) || QFileInfo(fileToDelete).isSymLink()) {
        removed = file.remove();
        // Every deletion after the first on this device pauses 100 ms.
        if (mDeletedBefore)
            QThread::msleep(100);
        mDeletedBefore = true;
        logValue("reallyDeleted", removed);
    } else {
        logMessage("File doesn't exist");
    }
    if (!removed)
        return log.ret(kDeleteFailed);
    aTrack.setOnRemoteDevice(false);
    aCache.removeDeletedTrack(aTrack);
    return log.ret(0);
}

void UsbMSDevice::uploadAlbumArt(const Track& aTrack, const QString& aImagePath)
{
    LogScope log("UsbMSDevice::uploadAlbumArt");
    const QString folder = localPathOf(trackFolder(aTrack));
    const QString artFile = folder + QStringLiteral("/AlbumArt.jpg");
    makeFolder(folder);
    const bool copied = !QFileInfo::exists(artFile) && CompleteFileCopy::copy(aImagePath, artFile);
    if (copied || QFileInfo::exists(artFile)) {
        // A new track's art goes before the track, whose path isn't known yet: the hint then
        // names the folder the art went to.
        const QString hinted =
            aTrack.deviceId().isEmpty() ? trackFolder(aTrack).chopped(1) : deviceDataPath(aTrack.deviceId());
        appendLine(QStringLiteral("refreshhint"), hinted.toUtf8() + "\r\n");
    }
}
