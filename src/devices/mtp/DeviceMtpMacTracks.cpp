// Copying tracks to a phone, deleting them, their album art, and checking what the cache records.
#include "devices/mtp/DeviceMtpMac.h"

#include "app/LogScope.h"
#include "devices/mtp/MtpDevice.h"
#include "devices/mtp/MtpFile.h"
#include "devices/mtp/MtpResult.h"
#include "devices/mtp/QMtpFile.h"
#include "tracks/DevicePaths.h"
#include "tracks/SourceFile.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"

#include <QFileInfo>

QString DeviceMtpMac::trackFileName(const Track& aTrack)
{
    QString name = QFileInfo(aTrack.path()).fileName();
    sanitiseFileName(name, false);
    // A converted track is MP3: its name says so, for the phone's player and for every later
    // lookup (uploads, playlists and deletions all use this name).
    if (aTrack.needsConversion() && name.size() > 3)
        name = name.left(name.size() - 3) + QStringLiteral("mp3");
    // Never a hidden file, which the phone's media scanner passes over (nor "." or "..").
    for (qsizetype i = 0; i < name.size() && name.at(i) == QLatin1Char('.'); ++i)
        name[i] = QLatin1Char('_');
    // Phones' file systems hold names of 255 bytes: a longer one loses the end of its stem.
    if (name.toUtf8().size() > 255) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        const QString extension = dot > 0 && name.size() - dot <= 16 ? name.mid(dot) : QString();
        name = DevicePaths::cutToUtf8Bytes(name.left(name.size() - extension.size()),
                                           255 - static_cast<int>(extension.toUtf8().size())) +
               extension;
    }
    return name.isEmpty() ? QStringLiteral("_") : name;
}

int DeviceMtpMac::UploadTrack(Track& aTrack)
{
    LogScope log("DeviceMtpMac::UploadTrack");
    const QString source = aTrack.uploadSourcePath();
    qint64 sourceSize = 0;
    if ((source != aTrack.path() && !SourceFile::isPresent(aTrack.path())) ||
        SourceFile::check(source, &sourceSize) != SourceFile::Present) {
        logValue("Source file doesn't exist", source);
        return log.ret(kSourceFileMissing);
    }
    QString artistFolder, albumFolder;
    trackFolderNames(aTrack, artistFolder, albumFolder);
    sanitiseFileName(artistFolder, true);
    sanitiseFileName(albumFolder, true);
    // Another track of the run may hold this path (two albums both called "Unknown"): this one
    // then gets a numbered name of its own.
    const QString devicePath = freeDevicePath(QStringLiteral("\\Music\\") + artistFolder + QLatin1Char('\\') +
                                                  albumFolder + QLatin1Char('\\') + trackFileName(aTrack),
                                              aTrack);
    logValue("persistentId", devicePath);
    // A copy already there from an earlier run (whose record this computer doesn't have: a new
    // computer, a new home folder) is taken as it is when it has the size this one would have;
    // a full resynchronisation sends every track again.
    QMtpFile existing;
    if (!mFullResync && findObject(devicePath, false, existing) == MtpResult::kOk &&
        existing.size() == sourceSize) {
        logMessage("The track is on the phone already");
        ++mKeptCopies;
        aTrack.setOnRemoteDevice(true);
        aTrack.setSizeOnDevice(sourceSize);
        aTrack.setDeviceId(devicePath);
        return log.ret(0);
    }
    noteSending(devicePath);
    MtpFile file(*this, devicePath);
    if (!file.copy(source, devicePath, MtpFile::kCopyAttempts, QMtpFile::TypeOther)) {
        // A phone that went away may keep part of the file: the journal keeps its path for the
        // next run. Otherwise the object layer has removed what the failed sends left.
        if (file.lastResult() != MtpResult::kGone)
            noteSending(QString());
        logMessage("*** Failed to copy track.");
        return log.ret(copyFailure(file.lastResult()));
    }
    noteSending(QString());
    aTrack.setOnRemoteDevice(true);
    aTrack.setSizeOnDevice(sourceSize);
    aTrack.setDeviceId(devicePath);
    return log.ret(0);
}

int DeviceMtpMac::DeleteTrack(TrackCache& aCache, Track& aTrack)
{
    LogScope log("DeviceMtpMac::DeleteTrack");
    QMtpFile object;
    const int found = findObject(aTrack.deviceId(), false, object);
    int result = 0;
    if (found != MtpResult::kOk) {
        logValue("Error getting ID of track to delete, err", found);
        // Only a track that is certainly not there leaves the cache: one the phone couldn't
        // look up (gone, busy) is still on it.
        if (found != MtpResult::kNotFound)
            return log.ret(deviceResult(found));
    } else {
        logValue("About to do LIBMTP_Delete_Object", object.objectId());
        result = handle().deleteObject(object);
        if (result == MtpResult::kNotFound)
            result = 0;
        if (result != MtpResult::kOk) {
            logValue("*** Error deleteing track: trackId", object.objectId());
            return log.ret(deviceResult(result));
        }
        logMessage("Track deleted");
    }
    aTrack.setOnRemoteDevice(false);
    aCache.removeDeletedTrack(aTrack);
    return log.ret(result);
}

void DeviceMtpMac::uploadAlbumArt(const Track& aTrack, const QString& aImagePath)
{
    LogScope log("DeviceMtpMac::uploadAlbumArt");
    QString artistFolder, albumFolder, folderId;
    trackFolderNames(aTrack, artistFolder, albumFolder);
    if (FindOrCreateDirectories(artistFolder, albumFolder, folderId) != MtpResult::kOk)
        return;
    const QString artName = QStringLiteral("folder.jpg");
    QMtpFile art(QString(), folderId, storageId(), artName, QFileInfo(aImagePath).size(),
                 QMtpFile::TypeDocument);
    QList<QMtpFile> objects;
    handle().listFolder(storageId(), folderId, objects);
    for (const QMtpFile& object : objects) {
        if (object.type() != QMtpFile::TypeFolder && object.name().compare(artName, Qt::CaseInsensitive) == 0)
            handle().deleteObject(object);
    }
    const qint32 sent = sendFile(aImagePath, art);
    if (sent != MtpResult::kOk)
        logValue("! Could not send the album art", sent);
}

bool DeviceMtpMac::trackIsOnDevice(const Track& aTrack)
{
    // Each folder is listed once for all its tracks (the folder cache). A copy that is there
    // but not whole (another program's doing) doesn't count either.
    // A lookup that fails for another reason (the phone went away) says nothing about it.
    QMtpFile object;
    const int found = findObject(aTrack.deviceId(), false, object);
    if (found != MtpResult::kOk)
        return found != MtpResult::kNotFound;
    return object.type() != QMtpFile::TypeFolder &&
           (aTrack.recordedSizeOnDevice() <= 0 || object.size() == aTrack.recordedSizeOnDevice());
}
