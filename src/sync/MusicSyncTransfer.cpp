// The transfers of a sync run: deletions, uploads with conversion, and album art.
#include "sync/MusicSync.h"

#include "app/ApplicationPaths.h"
#include "app/FaultGuard.h"
#include "app/LogScope.h"
#include "devices/Device.h"
#include "library/LocalMusicLibrary.h"
#include "sync/AlbumArtImage.h"
#include "sync/Mp3Converter.h"

#include <QDir>
#include <QFile>

void MusicSync::GetTracksToDelete()
{
    mTracksToDelete = TrackList();
    for (const Track& track : mTracks) {
        if (track.onRemoteDevice() && !track.onLocalSyncPlaylist())
            mTracksToDelete.addTrack(track);
    }
}

int MusicSync::DeleteTracks()
{
    LogScope log("MusicSync::DeleteTracks");
    int result = 0;
    for (Track& track : mTracksToDelete) {
        if (hasBeenCancelled())
            break;
        UpdateProgress(StateDeleting, track.trackName());
        result = mDevice->DeleteTrack(mCache, track);
        if (result != 0)
            mNotDeletedTracks.append(track);
    }
    return log.ret(result);
}

void MusicSync::Upload()
{
    LogScope log("MusicSync::Upload");
    logValue("Tracks to copy", mTracks.count());
    int attempted = 0;
    for (int position = mTracks.count() - 1; position >= 0; --position) {
        if (hasBeenCancelled())
            break;
        // A fault inside one track's upload skips that track; the run goes on.
        if (!FaultGuard::run([&] { uploadTrack(position, attempted); }))
            logValue("! Fault while uploading track index", position);
    }
}

void MusicSync::uploadTrack(int aPosition, int& aAttempted)
{
    logValue("Checking whether to copy track", aPosition);
    Track& track = mTracks.at(aPosition);
    if (!track.onLocalSyncPlaylist() || track.onRemoteDevice())
        return;
    ChangeState(StateCopying);
    QString text = track.trackName();
    if (text.isNull()) {
        logMessage("NULL trackName");
        text = QLatin1String("");
    }
    UpdateProgress(mTracks.totalTracksToCopy(), aAttempted, text);
    logValue("Uploading track index", aPosition);
    if (track.needsConversion()) {
        logMessage("Coverting to MP3");
        Mp3Converter::convert(track);
    }
    if (hasBeenCancelled()) {
        logMessage("Has been cancelled");
        return;
    }
    uploadAlbumArtForTrack(track, false);
    logMessage("About to upload track");
    track.dump();
    const int result = mDevice->UploadTrack(track);
    ++aAttempted;
    if (result == 0) {
        mCache.addTrack(track);
        logMessage("Track copied");
        return;
    }
    Track notCopied = track;
    notCopied.setPath(track.uploadSourcePath());
    mNonCopiedTracks.append(notCopied);
    logMessage("Track not copied");
    logValue("err", result);
    mLastError = result;
}

bool MusicSync::updateAlbumArtForTracksAlreadyOnDevice()
{
    LogScope log("MusicSync::updateAlbumArtForTracksAlreadyOnDevice");
    ChangeState(StateAlbumArt);
    for (const Track& track : mTracks) {
        if (hasBeenCancelled())
            break;
        if (!track.onRemoteDevice())
            continue;
        UpdateProgress(0, 0, track.albumName() + QStringLiteral(" - ") + track.artistName());
        uploadAlbumArtForTrack(track, true);
    }
    return log.ret(true);
}

void MusicSync::uploadAlbumArtForTrack(const Track& aTrack, bool aForced)
{
    if (!FaultGuard::run([&] { uploadAlbumArtForTrackInt(aTrack, aForced); }))
        logMessage("! Fault while preparing album art");
}

void MusicSync::uploadAlbumArtForTrackInt(const Track& aTrack, bool aForced)
{
    LogScope log("MusicSync::uploadAlbumArtForTrackInt");
    // An album's art is sent once per run.
    const QString key = aTrack.albumName() + aTrack.artistName();
    if (mAlbumsWithArt.contains(key))
        return;
    const QString artworkPath = mLibrary->generateArtwork(aTrack);
    logValue("artworkPath", artworkPath);
    if (artworkPath.isEmpty())
        return;
    const QString tempImageFilename =
        ApplicationPaths::kordaFolder() + QDir::separator() + QStringLiteral("AlbumArt.jpg");
    logValue("tempImageFilename", tempImageFilename);
    if (AlbumArtImage::prepare(artworkPath, tempImageFilename) && (mEnableArtworkSync || aForced)) {
        mDevice->uploadAlbumArt(aTrack, tempImageFilename);
        mAlbumsWithArt.insert(key);
    }
    QFile::remove(artworkPath);
}
