// Playlists on a phone: written in Playlists_VLT, sent only when they changed, old ones retired.
#include "devices/mtp/DeviceMtpMac.h"

#include "app/ApplicationPaths.h"
#include "app/LogScope.h"
#include "devices/mtp/MtpDevice.h"
#include "devices/mtp/MtpFile.h"
#include "devices/mtp/MtpResult.h"
#include "tracks/DevicePaths.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QFile>

namespace {

const QString kPlaylistFolder = QStringLiteral("Playlists_VLT");

QString folded(const QString& aName)
{
    return aName.normalized(QString::NormalizationForm_C).toCaseFolded();
}

} // namespace

QString DeviceMtpMac::playlistFileName(const QString& aPlaylistName) const
{
    const QString extension =
        mAndroidInfo.supportsPlaylistsFromPlaylistsVlt ? QStringLiteral(".vlt") : QStringLiteral(".m3u");
    QString name = aPlaylistName;
    sanitiseFileName(name, true);
    // Two playlists never share one file ("A/B" and "A_B" are both "A_B"): the second one this
    // run gets a number. Names hold 255 bytes.
    for (int n = 1;; ++n) {
        const QString number = n == 1 ? QString() : QStringLiteral(" (%1)").arg(n);
        QString candidate =
            DevicePaths::cutToUtf8Bytes(name, 255 - static_cast<int>((number + extension).toUtf8().size()));
        candidate = (candidate.isEmpty() ? QStringLiteral("_") : candidate) + number + extension;
        const auto owner = mPlaylistOwners.constFind(folded(candidate));
        if (owner == mPlaylistOwners.constEnd() || owner.value() == aPlaylistName)
            return candidate;
    }
}

int DeviceMtpMac::createPlaylist(const LocalPlaylist& aPlaylist, const TrackList& aTracks, bool aForce)
{
    LogScope log("DeviceMtpMac::createPlaylist");
    const bool vlt = mAndroidInfo.supportsPlaylistsFromPlaylistsVlt;
    const QString korda = ApplicationPaths::kordaFolder();
    QDir().mkpath(korda);
    const QString localCopy = korda + QStringLiteral("/tempplaylist.m3u");
    Device::createPlaylist(aPlaylist, aTracks, localCopy, vlt);

    QString folderId;
    const int folderResult =
        GetOrCreateFromNameAndParent(MtpDevice::kRootFolder, kPlaylistFolder, true, true, folderId);
    if (folderResult != MtpResult::kOk) {
        logValue("Error creating", kPlaylistFolder);
        logValue("Error", folderResult);
    }
    const QString fileName = playlistFileName(aPlaylist.name());
    mPlaylistOwners.insert(folded(fileName), aPlaylist.name());
    mPlaylistsThisRun.insert(folded(fileName), aForce);

    bool identical = false;
    if (folderResult == MtpResult::kOk) {
        logMessage("Checking whether playlist already exists on device");
        logValue("playlistFolderId", folderId);
        QMtpFile existing;
        if (findObject(QLatin1Char('\\') + kPlaylistFolder + QLatin1Char('\\') + fileName, false, existing) ==
            MtpResult::kOk) {
            logMessage("We have an existing playlist with the same name");
            // The copy on the phone is read back only when its size could be the new one's; it
            // is the same playlist when it holds the same bytes (a changed track name counts).
            QFile local(localCopy);
            const qint64 size = local.size();
            const QString fromDevice = korda + QStringLiteral("/tempplaylistfromdevice.m3u");
            if (existing.size() == size) {
                if (handle().readObject(existing.objectId(), fromDevice) != MtpResult::kOk) {
                    logMessage("Error getting existing playlist file from the device");
                } else {
                    QFile remote(fromDevice);
                    if (local.open(QIODevice::ReadOnly) && remote.open(QIODevice::ReadOnly) &&
                        local.readAll() == remote.read(size + 1)) {
                        logMessage("The playlist on the device is identical");
                        identical = true;
                    }
                }
                QFile::remove(fromDevice);
            }
        }
    }
    if (identical && !aForce)
        return log.ret(0);

    const QString devicePath = QLatin1Char('\\') + kPlaylistFolder + QLatin1Char('\\') + fileName;
    MtpFile file(*this, devicePath);
    if (!file.copy(localCopy, devicePath, MtpFile::kCopyAttempts,
                   vlt ? QMtpFile::TypeDocument : QMtpFile::TypePlaylist)) {
        logMessage("*** Failed to copy track.");
        return log.ret(copyFailure(file.lastResult()));
    }
    if (!vlt) {
        // The phone's own player shows the playlist from its references to the tracks.
        QString playlistId;
        if (GetOrCreateFromPath(devicePath, playlistId, false) == MtpResult::kOk) {
            QStringList references;
            for (const LocalPlaylistEntry& entry : aPlaylist.entries()) {
                const Track& track = aTracks.at(entry.trackIndex);
                QString trackId;
                if (track.onRemoteDevice() && !track.deviceId().isEmpty() &&
                    GetIdFromTrack(track, trackId) == MtpResult::kOk)
                    references.append(trackId);
            }
            const qint32 referenced = handle().setReferences(playlistId, references);
            if (referenced != MtpResult::kOk)
                logValue("! Could not set the playlist's tracks", referenced);
        }
    }
    return log.ret(0);
}

void DeviceMtpMac::removeOldPlaylists()
{
    LogScope log("DeviceMtpMac::removeOldPlaylists");
    const bool vlt = mAndroidInfo.supportsPlaylistsFromPlaylistsVlt;
    QString folderId;
    if (GetOrCreateFromNameAndParent(MtpDevice::kRootFolder, kPlaylistFolder, true, false, folderId) !=
        MtpResult::kOk)
        return;
    logValue("Got playlist folder ID", folderId);
    QList<QMtpFile> objects;
    if (handle().listFolder(storageId(), folderId, objects) != MtpResult::kOk)
        return;
    for (const QMtpFile& object : objects) {
        if (!vlt && object.type() != QMtpFile::TypePlaylist)
            continue;
        if (object.type() == QMtpFile::TypeFolder)
            continue; // a folder someone made there is not a playlist
        const bool isVltFile = object.name().endsWith(QLatin1String("vlt"));
        const bool writtenThisRun = mPlaylistsThisRun.contains(folded(object.name()));
        if (writtenThisRun && (!vlt || isVltFile))
            continue;
        if (vlt && isVltFile) {
            logMessage("Creating empty playlist (to delete old playlist)");
            createPlaylist(LocalPlaylist(object.name().left(object.name().lastIndexOf(QLatin1Char('.')))),
                           TrackList(), false);
        } else {
            logMessage("Deleting playlist");
            handle().deleteObject(object);
        }
    }
}
