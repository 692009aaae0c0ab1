#pragma once

#include "app/OwnedThread.h"
#include "library/LocalMusicLibrary.h"
#include "library/LocalMusicLibraryTaskObserver.h"
#include "sync/KeepAwake.h"
#include "sync/SyncState.h"
#include "tracks/DevicePaths.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/TrackCache.h"
#include "tracks/TrackList.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <atomic>
#include <climits>
#include <map>
#include <memory>
#include <vector>

class Device;
class DeviceLock;
class DeviceParent;
class LocalMusicLibrary;
class SyncSettings;

// One synchronisation of one device, run on its own thread ("MusicSyncThread"): reads the device's
// configuration, loads what the track cache says is on the device, scans the chosen playlists and
// podcasts, asks the front end what needs the user (blocking signals), refreshes album art,
// deletes, converts and copies, writes the playlists and reports state numbers and percentages.
// The questions are emitted on the run's thread, which waits inside the emission for the answer:
// front ends take them through SyncRun, which asks the front end on its own thread and lets a
// cancel or a destruction end the wait (a plain blocking queued connection would deadlock a
// destruction that waits for the thread while the thread waits for the answer). Cancel and
// setDeleteConfirmed may be called from any thread. The result lists are read after the run
// (finished()) or inside the questions.
class MusicSync : public QObject, public LocalMusicLibraryTaskObserver
{
    Q_OBJECT

public:
    MusicSync(LocalMusicLibrary* aLibrary, Device* aDevice, DeviceParent* aParent,
              QObject* aQObjectParent = nullptr);
    ~MusicSync() override;

    // What keeps the computer awake during the run; nothing is held without one.
    void setKeepAwake(KeepAwake::Factory aKeepAwake) { mKeepAwake = std::move(aKeepAwake); }
    std::unique_ptr<KeepAwake> makeKeepAwake() const { return mKeepAwake ? mKeepAwake() : nullptr; }

    void StartInNewThread(bool aForceFullResync);
    bool wait(unsigned long aMilliseconds = ULONG_MAX);
    bool isRunning() const;
    void Cancel() { mCancelled = true; }
    void setDeleteConfirmed(bool aConfirmed) { mDeleteConfirmed = aConfirmed; }

    const TrackList& TracksToDelete() const { return mTracksToDelete; }
    const TrackList& GetDrmTracks() const { return mDrmTracks; }
    const TrackList& GetNotDownloadedTracks() const { return mNotDownloadedTracks; }
    const QList<Track>& GetNonCopiedTracks() const { return mNonCopiedTracks; }
    // Why each track of GetNonCopiedTracks was not copied, in the same order, in words for the user.
    const QStringList& nonCopiedReasons() const { return mNonCopiedReasons; }
    // The device's result code for each of them (-5005 file missing, -6010 device full, ...).
    const QList<int>& nonCopiedErrors() const { return mNonCopiedErrors; }
    // Chosen playlists and podcasts that the library no longer has (renamed or deleted in
    // iTunes): while there are any, the run deletes nothing from the device.
    const QStringList& missingPlaylists() const { return mMissingPlaylists; }
    // What the run could not write on the device besides tracks (a playlist, the mark of a
    // complete run), each with the reason.
    const QStringList& notWritten() const { return mNotWritten; }

    // What ended a run in SyncState::Fault besides a fault, in words for the user; empty otherwise.
    enum class Failure
    {
        None,
        DeviceGone,      // the device was removed during the run
        CacheUnwritable, // the track cache could not record what was done
        AlreadySyncing,  // another run holds the device
    };
    Failure failure() const { return mFailure; }
    const QString& failureReason() const { return mFailureReason; }
    const QList<Track>& GetNotDeletedTracks() const { return mNotDeletedTracks; }
    bool backupExtractionFailed() const { return mBackupExtractionFailed; }
    // What of another phone's data could not be carried, in words for the user; the next run
    // tries it again.
    const QStringList& dataTransferFailures() const { return mDataTransferFailures; }
    int lastError() const { return mLastError; }
    // The tracks the run set out to copy, and those it copied.
    int tracksToCopy() const { return mTracksToCopy; }
    int tracksCopied() const { return mTracksCopied; }
    // Tracks found on the device already and kept instead of copying them again.
    int tracksKept() const { return mTracksKept; }
    int state() const { return mState; }

    void ChangeState(int aState);
    void UpdateProgress(int aTotal, int aDone, const QString& aText);
    void UpdateProgress(int aState, const QString& aText);

    // The run itself; on the worker thread.
    void Start();
    // The run inside the fault guard, keeping the computer awake: a processor fault or an
    // exception that leaves Start ends the run in state 3 instead of ending the program.
    void runGuarded();
    void trackNameChanged(const QString&) override {}

signals:
    void ProgressUpdate(int a_state, int a_percent_complete);
    void ProgressUpdate(int a_state, int a_percent_complete, const QString& aTrackName);
    void ConfirmDeleteTracks();
    void DrmTracksFound();
    void TracksNotDownloaded();
    void notEnoughSpace(qint64 aAdditionalSpaceRequired);
    // The run's thread has ended (emitted on that thread).
    void finished();

private:
    friend class DataTransfer;
    bool hasBeenCancelled();
    // Cancelled by the front end, or the run's owner is stopping its thread; not logged.
    bool cancelRequested() const { return mCancelled || stopRequested(); }
    bool failed() const { return mFailure != Failure::None; }
    // What the configuration chooses to scan.
    struct Choice
    {
        bool entireLibrary = false;
        int podcastSetting = 0;
        QStringList playlists;
        QStringList podcasts;
    };
    // The steps of Start, in their order. Each step that can end the run says so; endRun then
    // finalises the device and reports the end state (a failure, a cancel, or complete).
    void clearResults();
    bool lockDevice(DeviceLock& aLock);
    bool readConfiguration(SyncSettings& aSettings, Choice& aChoice);
    void removeExtractedFolder();
    bool loadCache(const QString& aDeviceId);
    void askAboutSpaceAndUncopyableTracks();
    bool confirmDeletions();
    void endRun();
    // Looks up the local files of the chosen playlists' tracks on a thread of its own while the
    // run reads its cache and checks the device; the scan waits for it and takes what it found.
    void startLocationLookup(const QStringList& aPlaylists);
    void scanPlaylists(bool aSyncEntireLibrary, QStringList aPlaylists);
    void scanPodcasts(SyncSettings& aSettings, const QString& aDeviceId, int aPodcastSyncSetting,
                      const QStringList& aPodcasts);
    void GetTracksToDelete();
    int DeleteTracks();
    void Upload();
    // Copies the chosen track at aPosition that the device lacks.
    void uploadTrack(int aPosition, int& aAttempted);
    void noteNotCopied(const Track& aTrack, int aError, const QString& aReason);
    // Records which track holds which device path; a track whose path another holds already
    // (two tracks sharing one file, from an earlier version) is taken off the device.
    void claimDevicePaths();
    // Takes off the device every recorded track whose copy isn't there any more.
    void verifyTracksOnDevice();
    // True (and the run's failure set) once the device can't go on.
    bool deviceLost();
    void fail(Failure aFailure, const QString& aReason);
    bool updateAlbumArtForTracksAlreadyOnDevice();
    void uploadAlbumArtForTrack(const Track& aTrack, bool aForced);
    void uploadAlbumArtForTrackInt(const Track& aTrack, bool aForced);
    void writePlaylists();

    Device* mDevice;
    DeviceParent* mParent;
    LocalMusicLibrary* mLibrary;
    TrackList mTracks;
    TrackList mDrmTracks;
    TrackList mNotDownloadedTracks;
    TrackList mTracksToDelete;
    QList<Track> mNonCopiedTracks;
    QStringList mNonCopiedReasons;
    QList<int> mNonCopiedErrors;
    QStringList mMissingPlaylists;
    Failure mFailure = Failure::None;
    QString mFailureReason;
    DevicePaths mDevicePaths; // holds tracks of mTracks (declared before it, so it goes after)
    QList<Track> mNotDeletedTracks;
    QSet<QString> mAlbumsWithArt;
    std::vector<LocalPlaylist> mPlaylists;
    TrackCache mCache;
    KeepAwake::Factory mKeepAwake;
    std::atomic<int> mState{0};
    int mPercentComplete = 0;
    std::atomic<bool> mCancelled{false};
    std::atomic<bool> mDeleteConfirmed{false};
    qint64 mFreeSpace = 0;
    bool mEnableArtworkSync = true;
    bool mConvertToMp3 = false;
    bool mForceFullResync = false;
    bool mBackupExtractionFailed = false;
    QStringList mDataTransferFailures;
    int mLastError = 0;
    int mTracksToCopy = 0;
    int mTracksCopied = 0;
    int mTracksKept = 0;
    QStringList mNotWritten;
    // Playlist name -> its tracks' locations, written by the look-up thread until it is joined.
    std::map<QString, std::vector<LocalMusicLibrary::TrackLocation>> mKnownLocations;
    OwnedThread mLocationLookup; // after what it uses; stopped and joined by the run before it ends
    OwnedThread mThread;         // last: joined before the members the run uses are destroyed
};
