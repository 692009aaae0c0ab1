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
    clearResults();
    // One run per device at a time, across programs: the second doesn't touch the device.
    DeviceLock deviceLock; // held until the run returns, however it ends
    if (!lockDevice(deviceLock)) {
        ChangeState(SyncState::Fault);
        return;
    }
    mDevice->setFullResync(mForceFullResync);
    mDevice->PrepareForSync();

    SyncSettings settings;
    Choice choice;
    const bool configured = readConfiguration(settings, choice);
    removeExtractedFolder();
    if (!configured) {
        // Not configured or settings unreadable: the front end opens the setup wizard, and the
        // device is left as it was, unless the run was cancelled.
        if (hasBeenCancelled())
            endRun();
        return;
    }
    const QString deviceId = mDevice->UniqueDeviceId();
    startLocationLookup(choice.playlists);
    if (!hasBeenCancelled() && !settings.selectedBackupPath(deviceId).isEmpty()) {
        // Data from another phone's backup, carried once per configuration.
        DataTransfer transfer(*this, *mDevice, settings, deviceId);
        transfer.run();
        mBackupExtractionFailed = transfer.extractionFailed();
        mDataTransferFailures = transfer.failures();
        if (deviceLost())
            return endRun();
    }
    if (!hasBeenCancelled() && !loadCache(deviceId))
        return endRun();
    if (!hasBeenCancelled())
        verifyTracksOnDevice();
    if (!hasBeenCancelled())
        scanPlaylists(choice.entireLibrary, choice.playlists);
    if (!hasBeenCancelled())
        scanPodcasts(settings, deviceId, choice.podcastSetting, choice.podcasts);
    askAboutSpaceAndUncopyableTracks();
    claimDevicePaths();
    if (!confirmDeletions())
        return endRun();
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
    mDevicePaths = DevicePaths(); // done with: let go before the playlists are made
    mCache.writeIntegrityValue();
    mCache.close();
    if (!hasBeenCancelled() && !failed())
        writePlaylists();
    endRun();
}

void MusicSync::clearResults()
{
    mBackupExtractionFailed = false;
    mDataTransferFailures.clear();
    mFailure = Failure::None;
    mFailureReason.clear();
    mNonCopiedTracks.clear();
    mNonCopiedReasons.clear();
    mNonCopiedErrors.clear();
    mNotDeletedTracks.clear();
    mMissingPlaylists.clear();
    mNotWritten.clear();
    mTracksKept = 0;
}

bool MusicSync::lockDevice(DeviceLock& aLock)
{
    const DeviceLock::Result locked = aLock.acquire(mDevice->UniqueDeviceId());
    if (locked == DeviceLock::Locked)
        return true;
    if (locked == DeviceLock::HeldElsewhere)
        fail(Failure::AlreadySyncing, QStringLiteral("another synchronization of this device is running"));
    else
        fail(Failure::CacheUnwritable, QStringLiteral("no room for the device's files in %1")
                                           .arg(QDir::toNativeSeparators(ApplicationPaths::kordaFolder())));
    return false;
}

bool MusicSync::readConfiguration(SyncSettings& aSettings, Choice& aChoice)
{
    const bool loaded = aSettings.load() == SyncSettings::kResultOk;
    if (!loaded && !hasBeenCancelled()) {
        logMessage("Can't open settings");
        ChangeState(SyncState::SettingsUnreadable);
    }
    if (!loaded || hasBeenCancelled())
        return false;
    const QString deviceId = mDevice->UniqueDeviceId();
    const int result = aSettings.getConfig(deviceId, aChoice.entireLibrary, aChoice.podcastSetting,
                                           aChoice.playlists, aChoice.podcasts);
    aSettings.setFirstUse(deviceId, false);
    mEnableArtworkSync = aSettings.enableArtworkSync(deviceId);
    mConvertToMp3 = aSettings.convertAacToMp3(deviceId);
    if (result != 0)
        logMessage("Could not get config");
    if (result == SyncSettings::kDeviceNotFound && !hasBeenCancelled())
        ChangeState(SyncState::NotConfigured);
    if (result != 0 || hasBeenCancelled())
        return false;
    logMessage("Preparing to sync");
    ChangeState(SyncState::Preparing);
    if (mForceFullResync)
        TrackCache::removeFiles(deviceId);
    return true;
}

bool MusicSync::loadCache(const QString& aDeviceId)
{
    const int opened = mCache.open(aDeviceId);
    if (opened != TrackCache::kResultOk && opened != TrackCache::kNewCacheFile) {
        logValue("! Can't open the track cache", opened);
        fail(Failure::CacheUnwritable, QStringLiteral("the track cache in %1 can't be opened")
                                           .arg(QDir::toNativeSeparators(ApplicationPaths::kordaFolder())));
        mCache.clear();
        return false;
    }
    if (hasBeenCancelled())
        return true;
    // The library, read beside the cache, lends its texts. The run can't go past its scan
    // before the library has been read anyway: a second at most is spent waiting for it here.
    const std::shared_ptr<itunes::Backend> backend = mLibrary ? mLibrary->backend() : nullptr;
    const int read = mCache.updateTrackList(mTracks, -1, [backend](bool aWait) {
        return backend ? backend->knownTexts(aWait ? 1000 : 0) : nullptr;
    });
    if (read == 0)
        return true;
    // A damaged cache can't be extended: records added after the damage would never be read
    // again. It is written anew from the records read before the damage, so those tracks stay
    // known (and are deleted when no longer chosen).
    logValue("! Track cache damaged, rewriting it from the records before the damage", read);
    logValue("Records kept", mTracks.count());
    if (mCache.rewrite(mTracks) == TrackCache::kResultOk)
        return true;
    logMessage("! Could not rewrite the track cache");
    fail(Failure::CacheUnwritable, QStringLiteral("the damaged track cache in %1 can't be written anew")
                                       .arg(QDir::toNativeSeparators(ApplicationPaths::kordaFolder())));
    return false;
}

void MusicSync::askAboutSpaceAndUncopyableTracks()
{
    const qint64 needed = mTracks.totalLocalSize() - mTracks.totalSizeOnDevice();
    logValue("Space needed", static_cast<int>(needed / 1024));
    if (needed > mFreeSpace && !mForceFullResync)
        emit notEnoughSpace(needed - mFreeSpace);
    if (hasBeenCancelled())
        return;
    if (mDrmTracks.count() > 0)
        emit DrmTracksFound();
    if (mNotDownloadedTracks.count() > 0)
        emit TracksNotDownloaded();
}

bool MusicSync::confirmDeletions()
{
    logMessage("Getting tracks to delete");
    GetTracksToDelete();
    if (!mMissingPlaylists.isEmpty() && mTracksToDelete.count() > 0) {
        // Their tracks would all look unchosen: nothing is deleted until the configuration
        // names playlists the library has.
        logMessage("! Chosen playlists are missing from the library: nothing is deleted");
        mTracksToDelete = TrackList();
    }
    if (mTracksToDelete.count() == 0 || hasBeenCancelled())
        return true;
    emit ConfirmDeleteTracks();
    if (mDeleteConfirmed)
        return true;
    logMessage("Delete cancelled");
    Cancel(); // declined: the run ends cancelled, with nothing deleted or copied
    return false;
}

void MusicSync::endRun()
{
    mLocationLookup.reset(); // a run ended before its scan stops the look-up
    mCache.close();
    mDevice->FinalizeSync();
    if (!mDevice->finalizeFailure().isEmpty())
        mNotWritten.append(mDevice->finalizeFailure());
    mTracksKept = mDevice->keptCopies();
    if (mTracksKept > 0)
        logValue("Tracks already on the device, kept", mTracksKept);
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

void MusicSync::writePlaylists()
{
    for (const LocalPlaylist& playlist : mPlaylists) {
        if (playlist.name().isEmpty())
            continue;
        UpdateProgress(SyncState::Playlists, playlist.name());
        const int result = mDevice->createPlaylist(playlist, mTracks, mForceFullResync);
        if (result != 0 && result != Device::kCopyKeptExisting)
            mNotWritten.append(QStringLiteral("the playlist \"%1\": %2")
                                   .arg(playlist.name(), mDevice->describeFailure(result)));
    }
    mDevice->removeOldPlaylists();
}

void MusicSync::claimDevicePaths()
{
    mDevicePaths = DevicePaths();
    mDevicePaths.reserve(mTracks.count());
    for (int position = 0; position < mTracks.count(); ++position) {
        Track& track = mTracks.at(position);
        if (!track.onRemoteDevice() || track.deviceId().isEmpty())
            continue;
        if (mDevicePaths.claim(track.deviceId(), track))
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
    mDevice->trackChecksDone();
}
