#include "sync/MusicSync.h"
#include "sync/DataTransfer.h"

#include "app/ApplicationPaths.h"
#include "app/FaultGuard.h"
#include "app/LogScope.h"
#include "devices/Device.h"
#include "library/LocalMusicLibrary.h"
#include "settings/SyncSettings.h"
#include "sync/KeepAwake.h"
#include "tracks/DeviceLock.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <exception>

MusicSync::MusicSync(LocalMusicLibrary* aLibrary, Device* aDevice, DeviceParent* aParent,
                     QObject* aQObjectParent)
    : QObject(aQObjectParent), mDevice(aDevice), mParent(aParent), mLibrary(aLibrary),
      mThread(makeThread(QStringLiteral("MusicSyncThread"), [this] { runGuarded(); }))
{
    LogScope log("MusicSync::MusicSync");
    connect(mThread.get(), &QThread::finished, this, &MusicSync::finished, Qt::DirectConnection);
    mDevice->GetFreeStorageSpace(mFreeSpace);
}

// Destroying the thread asks the run to stop (it polls cancelRequested) and waits for it.
MusicSync::~MusicSync() = default;

void MusicSync::StartInNewThread(bool aForceFullResync)
{
    LogScope log("MusicSync::StartInNewThread");
    mCancelled = false;
    mForceFullResync = aForceFullResync;
    mThread->start();
}

bool MusicSync::wait(unsigned long aMilliseconds)
{
    return mThread->wait(aMilliseconds);
}

bool MusicSync::isRunning() const
{
    return mThread->isRunning();
}

bool MusicSync::hasBeenCancelled()
{
    LogScope log("MusicSync::hasBeenCancelled");
    return log.ret(cancelRequested());
}

void MusicSync::runGuarded()
{
    LogScope log("MusicSyncThread::run");
    // The computer stays awake while the run goes on.
    const std::unique_ptr<KeepAwake> keepAwake = makeKeepAwake();
    const bool completed = FaultGuard::run([this] {
        try {
            Start();
        } catch (const std::exception& aException) {
            logValue("! Exception ended the sync", aException.what());
            ChangeState(SyncState::Fault);
        } catch (...) {
            logMessage("! Exception ended the sync");
            ChangeState(SyncState::Fault);
        }
    });
    if (!completed)
        ChangeState(SyncState::Fault);
}

void MusicSync::ChangeState(int aState)
{
    mState = aState;
    emit ProgressUpdate(mState, mPercentComplete);
}

void MusicSync::UpdateProgress(int aTotal, int aDone, const QString& aText)
{
    if (aTotal != 0)
        mPercentComplete = aDone * 100 / aTotal;
    emit ProgressUpdate(mState, mPercentComplete, aText);
}

void MusicSync::UpdateProgress(int aState, const QString& aText)
{
    if (aState != mState)
        ChangeState(aState);
    UpdateProgress(0, 0, aText);
}

void MusicSync::removeExtractedFolder()
{
    QDir(ApplicationPaths::kordaFolder() + QDir::separator() + QStringLiteral("extracted"))
        .removeRecursively();
}

void MusicSync::Start()
{
    LogScope log("MusicSync::Start");
    mBackupExtractionFailed = false;
    mDataTransferFailures.clear();
    mFailure = Failure::None;
    mFailureReason.clear();
    // One run per device at a time, across programs: the second doesn't touch the device.
    DeviceLock deviceLock; // held until the run returns, however it ends
    const DeviceLock::Result locked = deviceLock.acquire(mDevice->UniqueDeviceId());
    if (locked != DeviceLock::Locked) {
        fail(locked == DeviceLock::HeldElsewhere ? Failure::AlreadySyncing : Failure::CacheUnwritable,
             locked == DeviceLock::HeldElsewhere
                 ? QStringLiteral("another synchronization of this device is running")
                 : QStringLiteral("no room for the device's files in %1")
                       .arg(QDir::toNativeSeparators(ApplicationPaths::kordaFolder())));
        ChangeState(SyncState::Fault);
        return log.leave();
    }
    mDevice->setFullResync(mForceFullResync);
    mDevice->PrepareForSync();

    SyncSettings settings;
    const bool settingsLoaded = settings.load() == SyncSettings::kResultOk;
    if (!settingsLoaded && !hasBeenCancelled()) {
        logMessage("Can't open settings");
        ChangeState(SyncState::SettingsUnreadable);
    }
    mNonCopiedTracks.clear();
    mNonCopiedReasons.clear();
    mNonCopiedErrors.clear();
    mNotDeletedTracks.clear();
    mMissingPlaylists.clear();

    const QString deviceId = mDevice->UniqueDeviceId();
    bool syncEntireLibrary = false;
    int podcastSyncSetting = 0;
    QStringList playlists, podcasts;
    bool configured = false;
    if (settingsLoaded && !hasBeenCancelled()) {
        const int result =
            settings.getConfig(deviceId, syncEntireLibrary, podcastSyncSetting, playlists, podcasts);
        settings.setFirstUse(deviceId, false);
        mEnableArtworkSync = settings.enableArtworkSync(deviceId);
        mConvertToMp3 = settings.convertAacToMp3(deviceId);
        if (result != 0)
            logMessage("Could not get config");
        if (result == SyncSettings::kDeviceNotFound && !hasBeenCancelled()) {
            ChangeState(SyncState::NotConfigured);
        } else if (result == 0 && !hasBeenCancelled()) {
            configured = true;
            logMessage("Preparing to sync");
            ChangeState(SyncState::Preparing);
            if (mForceFullResync)
                TrackCache::removeFiles(deviceId);
        }
    }
    removeExtractedFolder();
    if (!configured) {
        if (hasBeenCancelled()) {
            mDevice->FinalizeSync();
            ChangeState(SyncState::Cancelled);
        }
        return log.leave();
    }

    // Data from another phone's backup, carried once per configuration.
    if (!hasBeenCancelled() && !settings.selectedBackupPath(deviceId).isEmpty()) {
        DataTransfer transfer(*this, *mDevice, settings, deviceId);
        transfer.run();
        mBackupExtractionFailed = transfer.extractionFailed();
        mDataTransferFailures = transfer.failures();
        if (deviceLost()) {
            mDevice->FinalizeSync();
            ChangeState(SyncState::Fault);
            return log.leave();
        }
    }

    if (!hasBeenCancelled()) {
        const int opened = mCache.open(deviceId);
        if (opened != TrackCache::kResultOk && opened != TrackCache::kNewCacheFile) {
            // Ended as a fault, so the front end doesn't wait for a state that never comes.
            logValue("! Can't open the track cache", opened);
            fail(Failure::CacheUnwritable,
                 QStringLiteral("the track cache in %1 can't be opened")
                     .arg(QDir::toNativeSeparators(ApplicationPaths::kordaFolder())));
            mCache.clear();
            mDevice->FinalizeSync();
            ChangeState(SyncState::Fault);
            return log.leave();
        }
    }
    if (!hasBeenCancelled()) {
        const int read = mCache.updateTrackList(mTracks, -1);
        if (read != 0) {
            // A damaged cache can't be extended: records added after the damage would never be
            // read again. It is written anew from the records read before the damage, so those
            // tracks stay known (and are deleted when no longer chosen).
            logValue("! Track cache damaged, rewriting it from the records before the damage", read);
            logValue("Records kept", mTracks.count());
            if (mCache.rewrite(mTracks) != TrackCache::kResultOk) {
                logMessage("! Could not rewrite the track cache");
                mCache.close();
                mDevice->FinalizeSync();
                ChangeState(SyncState::Fault);
                return log.leave();
            }
        }
    }
    if (!hasBeenCancelled())
        verifyTracksOnDevice();
    if (!hasBeenCancelled())
        scanPlaylists(syncEntireLibrary, playlists);
    if (!hasBeenCancelled())
        scanPodcasts(settings, deviceId, podcastSyncSetting, podcasts);

    const qint64 needed = mTracks.totalLocalSize() - mTracks.totalSizeOnDevice();
    logValue("Space needed", static_cast<int>(needed / 1024));
    if (needed > mFreeSpace && !mForceFullResync)
        emit notEnoughSpace(needed - mFreeSpace);
    if (!hasBeenCancelled()) {
        if (mDrmTracks.count() > 0)
            emit DrmTracksFound();
        if (mNotDownloadedTracks.count() > 0)
            emit TracksNotDownloaded();
    }

    claimDevicePaths();
    logMessage("Getting tracks to delete");
    GetTracksToDelete();
    if (!mMissingPlaylists.isEmpty() && mTracksToDelete.count() > 0) {
        // Their tracks would all look unchosen: nothing is deleted until the configuration
        // names playlists the library has.
        logMessage("! Chosen playlists are missing from the library: nothing is deleted");
        mTracksToDelete = TrackList();
    }
    if (mTracksToDelete.count() > 0 && !hasBeenCancelled()) {
        emit ConfirmDeleteTracks();
        if (!mDeleteConfirmed) {
            logMessage("Delete cancelled");
            mCache.close();
            mDevice->FinalizeSync();
            ChangeState(SyncState::Cancelled);
            return log.leave();
        }
    }
    if (!hasBeenCancelled() && settings.forceArtworkSync(deviceId) &&
        updateAlbumArtForTracksAlreadyOnDevice()) {
        SyncSettings again;
        again.load();
        again.setForceArtworkSync(deviceId, false);
        again.save();
    }
    if (!hasBeenCancelled() && !failed()) {
        logMessage("About to delete tracks");
        DeleteTracks();
    }
    if (!hasBeenCancelled() && !failed()) {
        logMessage("About to upload");
        mDevice->setDevicePaths(&mDevicePaths);
        Upload();
        mDevice->setDevicePaths(nullptr);
    }
    mCache.writeIntegrityValue();
    mCache.close();
    if (!hasBeenCancelled() && !failed())
        writePlaylists();
    mDevice->FinalizeSync();
    deviceLost(); // the last copies are named at the end
    if (failed()) {
        logValue("! Sync failed", mFailureReason);
        ChangeState(SyncState::Fault);
    } else if (hasBeenCancelled()) {
        ChangeState(SyncState::Cancelled);
    } else {
        ChangeState(SyncState::Complete);
        logMessage("Sync done");
    }
}

void MusicSync::scanPlaylists(bool aSyncEntireLibrary, QStringList aPlaylists)
{
    if (aSyncEntireLibrary) {
        mLibrary->refreshPlaylists();
        logMessage("Synchronizing to entire library");
        for (const QString& name : mLibrary->playlists(true)) {
            if (!name.isEmpty()) {
                logValue("Adding playlist", name);
                aPlaylists.append(name);
            }
        }
    }
    for (const QString& name : aPlaylists) {
        if (hasBeenCancelled())
            return;
        logMessage("Scanning local playlist");
        logValue("wSyncPlaylistName", name);
        LocalPlaylist playlist;
        const int scanned = mLibrary->getAllTracks(name, mTracks, mConvertToMp3, mDrmTracks,
                                                   mNotDownloadedTracks, playlist, aSyncEntireLibrary, this);
        if (scanned != 0) {
            // Renamed or deleted in iTunes, or unreadable: its tracks are not known this run.
            logValue("! Could not read the playlist", name);
            mMissingPlaylists.append(name.isEmpty() ? QStringLiteral("Music") : name);
            continue;
        }
        mPlaylists.push_back(std::move(playlist));
    }
}

void MusicSync::scanPodcasts(SyncSettings& aSettings, const QString& aDeviceId, int aPodcastSyncSetting,
                             const QStringList& aPodcasts)
{
    QStringList names;
    if (aPodcastSyncSetting == SyncSettings::PodcastsAll) {
        mLibrary->refreshPodcasts();
        logMessage("Synchronizing all podcasts");
        names = mLibrary->podcasts();
    } else if (aPodcastSyncSetting == SyncSettings::PodcastsSelected) {
        names = aPodcasts;
        mLibrary->refreshPodcasts();
        for (const QString& name : aPodcasts) {
            if (!name.isEmpty() && !mLibrary->podcasts().contains(name)) {
                logValue("! Chosen podcast is not in the library", name);
                mMissingPlaylists.append(name);
            }
        }
    }
    // With podcasts off there is nothing to read (an empty name would match episodes without an album).
    names.removeAll(QString());
    if (names.isEmpty())
        return;
    const int episodes = aSettings.numberOfEpisodesToSync(aDeviceId);
    QList<LocalPlaylist> shows;
    TrackList episodeTracks;
    mLibrary->getPodcasts(names, shows, episodeTracks);
    for (const LocalPlaylist& show : shows) {
        std::vector<LocalPlaylistEntry> entries = show.entries();
        std::stable_sort(entries.begin(), entries.end(),
                         [](const LocalPlaylistEntry& aLeft, const LocalPlaylistEntry& aRight) {
                             return aLeft.dateAdded > aRight.dateAdded;
                         });
        if (episodes != 0 && static_cast<int>(entries.size()) > episodes)
            entries.resize(static_cast<std::size_t>(episodes));
        LocalPlaylist kept(show.name());
        for (const LocalPlaylistEntry& entry : entries)
            kept.append(mTracks.addTrack(episodeTracks.at(entry.trackIndex)), entry.dateAdded);
        mPlaylists.push_back(std::move(kept));
    }
}

void MusicSync::writePlaylists()
{
    for (const LocalPlaylist& playlist : mPlaylists) {
        if (playlist.name().isEmpty())
            continue;
        UpdateProgress(SyncState::Playlists, playlist.name());
        mDevice->createPlaylist(playlist, mTracks, mForceFullResync);
    }
    mDevice->removeOldPlaylists();
}

void MusicSync::claimDevicePaths()
{
    mDevicePaths = DevicePaths();
    for (int position = 0; position < mTracks.count(); ++position) {
        Track& track = mTracks.at(position);
        if (!track.onRemoteDevice() || track.deviceId().isEmpty())
            continue;
        if (mDevicePaths.claim(track.deviceId(), track.uniqueId()))
            continue;
        // Its file is another track's: never deleted for this one, and this one is copied again
        // under a name of its own when chosen.
        logValue("! Another track holds this track's file", track.deviceId());
        mCache.removeDeletedTrack(track);
        mTracks.setOffDevice(position);
    }
}

void MusicSync::fail(Failure aFailure, const QString& aReason)
{
    if (mFailure != Failure::None)
        return;
    mFailure = aFailure;
    mFailureReason = aReason;
    logValue("! The run can't go on", aReason);
}

bool MusicSync::deviceLost()
{
    const QString reason = mDevice->unusableReason();
    if (!reason.isEmpty())
        fail(Failure::DeviceGone, reason);
    return mFailure == Failure::DeviceGone;
}

void MusicSync::verifyTracksOnDevice()
{
    LogScope log("MusicSync::verifyTracksOnDevice");
    for (int position = 0; position < mTracks.count() && !deviceLost(); ++position) {
        Track& track = mTracks.at(position);
        if (!track.onRemoteDevice() || mDevice->trackIsOnDevice(track))
            continue;
        // Deleted by a run that was killed before it recorded that, or never named on a drive
        // pulled out: copied again when chosen, never counted as there.
        logValue("! A recorded track is not on the device", track.deviceId());
        mCache.removeDeletedTrack(track);
        mTracks.setOffDevice(position);
    }
}
