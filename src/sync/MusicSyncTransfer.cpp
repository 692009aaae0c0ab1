// The transfers of a sync run: deletions, uploads with conversion, and album art.
#include "sync/MusicSync.h"

#include "app/ApplicationPaths.h"
#include "app/FaultGuard.h"
#include "app/LogScope.h"
#include "devices/Device.h"
#include "library/LocalMusicLibrary.h"
#include "sync/AlbumArtImage.h"
#include "sync/Mp3Converter.h"
#include "tracks/SourceFile.h"

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
        UpdateProgress(SyncState::Deleting, track.trackName());
        const QString devicePath = track.deviceId();
        result = mDevice->DeleteTrack(mCache, track);
        if (result != 0)
            mNotDeletedTracks.append(track);
        else
            mDevicePaths.release(devicePath, track.uniqueId());
        if (deviceLost())
            break;
    }
    return log.ret(result);
}

void MusicSync::Upload()
{
    LogScope log("MusicSync::Upload");
    logValue("Tracks to copy", mTracks.count());
    int attempted = 0;
    // While a file goes to the device, the percentage moves with it, and a cancel stops the
    // copy within a block.
    const int total = mTracks.totalTracksToCopy();
    mTracksToCopy = total;
    mTracksCopied = 0;
    mDevice->setTransferProgress([this, &attempted, total](qint64 aDone, qint64 aSize) {
        if (total > 0 && aSize > 0 && aDone <= aSize) {
            const int percent = static_cast<int>((attempted * 100LL + aDone * 100 / aSize) / total);
            if (percent != mPercentComplete) {
                mPercentComplete = percent;
                emit ProgressUpdate(mState, percent);
            }
        }
        return !cancelRequested();
    });
    for (int position = mTracks.count() - 1; position >= 0; --position) {
        if (hasBeenCancelled() || failed())
            break;
        logValue("Checking whether to copy track", position);
        const Track& track = mTracks.at(position);
        if (!track.onLocalSyncPlaylist() || track.onRemoteDevice())
            continue; // most tracks of most runs: nothing to guard
        // A fault inside one track's upload skips that track; the run goes on.
        if (!FaultGuard::run([&] { uploadTrack(position, attempted); }))
            logValue("! Fault while uploading track index", position);
    }
    mDevice->setTransferProgress(nullptr);
}

void MusicSync::uploadTrack(int aPosition, int& aAttempted)
{
    Track& track = mTracks.at(aPosition);
    ChangeState(SyncState::Copying);
    QString text = track.trackName();
    if (text.isNull()) {
        logMessage("NULL trackName");
        text = QLatin1String("");
    }
    UpdateProgress(mTracks.totalTracksToCopy(), aAttempted, text);
    logValue("Uploading track index", aPosition);
    // A file that isn't here (or is no regular file) is neither converted nor read for its art,
    // and the run says why.
    const QString sourceProblem = SourceFile::problem(track.path());
    if (!sourceProblem.isEmpty()) {
        ++aAttempted;
        noteNotCopied(track, Device::kSourceFileMissing, sourceProblem);
        return;
    }
    if (track.needsConversion()) {
        logMessage("Coverting to MP3");
        if (!Mp3Converter::convert(track)) {
            ++aAttempted;
            noteNotCopied(track, Device::kSourceFileMissing, QStringLiteral("the conversion to MP3 failed"));
            return;
        }
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
        mDevicePaths.claim(track.deviceId(), track);
        // A copy the cache doesn't know would never be deleted later: the run stops instead (the
        // next run finds the file and records it).
        if (mCache.addTrack(track) != TrackCache::kResultOk) {
            fail(Failure::CacheUnwritable,
                 QStringLiteral("the track cache can't be written in %1 (is the disk full?)")
                     .arg(QDir::toNativeSeparators(ApplicationPaths::kordaFolder())));
            return;
        }
        logMessage("Track copied");
        ++mTracksCopied;
        return;
    }
    // A copy the cancel stopped is no failure: the next run makes it.
    if (hasBeenCancelled())
        return;
    // A file gone meanwhile: the run says which, and where it is looked for.
    const QString lostSource =
        result == Device::kSourceFileMissing ? SourceFile::problem(track.path()) : QString();
    noteNotCopied(track, result, lostSource.isEmpty() ? mDevice->describeFailure(result) : lostSource);
    deviceLost();
}

void MusicSync::noteNotCopied(const Track& aTrack, int aError, const QString& aReason)
{
    Track notCopied = aTrack;
    notCopied.setPath(aTrack.uploadSourcePath());
    mNonCopiedTracks.append(notCopied);
    mNonCopiedReasons.append(aReason);
    mNonCopiedErrors.append(aError);
    logMessage("Track not copied");
    logValue("err", aError);
    logValue("reason", aReason);
    mLastError = aError;
}

bool MusicSync::updateAlbumArtForTracksAlreadyOnDevice()
{
    LogScope log("MusicSync::updateAlbumArtForTracksAlreadyOnDevice");
    ChangeState(SyncState::AlbumArt);
    for (const Track& track : mTracks) {
        // A refresh cut short is not done: the next run refreshes again.
        if (hasBeenCancelled())
            return log.ret(false);
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
