#pragma once

#include "library/LocalMusicLibraryTaskObserver.h"
#include "library/LocalPlaylist.h"
#include "sync/TrackCache.h"
#include "sync/TrackList.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <atomic>
#include <climits>
#include <memory>
#include <vector>

class Device;
class DeviceParent;
class LocalMusicLibrary;
class MusicSyncThread;
class SyncSettings;

// One synchronisation of one device, run on its own MusicSyncThread: reads the device's
// configuration, loads what the track cache says is on the device, scans the chosen playlists and
// podcasts, asks the front end what needs the user (blocking signals), refreshes album art,
// deletes, converts and copies, writes the playlists and reports state numbers and percentages.
// Front ends connect ProgressUpdate queued and the four questions blocking-queued; Cancel and
// setDeleteConfirmed may be called from any thread. The result lists are read after the run or
// inside the question slots.
class MusicSync : public QObject, public LocalMusicLibraryTaskObserver
{
    Q_OBJECT

public:
    enum State
    {
        StateComplete = 2,
        StateFault = 3,
        StateNotConfigured = 4,
        StateSettingsUnreadable = 5,
        StateCancelled = 6,
        StatePreparing = 9,
        StateAlbumArt = 11,
        StateDeleting = 12,
        StateCopying = 13,
        StatePlaylists = 15,
        StatePhotos = 16,
        StateConvertingVideo = 17,
    };

    MusicSync(LocalMusicLibrary* aLibrary, Device* aDevice, DeviceParent* aParent,
              QObject* aQObjectParent = nullptr);
    ~MusicSync() override;

    void StartInNewThread(bool aForceFullResync);
    bool wait(unsigned long aMilliseconds = ULONG_MAX);
    void Cancel() { mCancelled = true; }
    void setDeleteConfirmed(bool aConfirmed) { mDeleteConfirmed = aConfirmed; }

    const TrackList& TracksToDelete() const { return mTracksToDelete; }
    const TrackList& GetDrmTracks() const { return mDrmTracks; }
    const TrackList& GetNotDownloadedTracks() const { return mNotDownloadedTracks; }
    const QList<Track>& GetNonCopiedTracks() const { return mNonCopiedTracks; }
    const QList<Track>& GetNotDeletedTracks() const { return mNotDeletedTracks; }
    bool backupExtractionFailed() const { return mBackupExtractionFailed; }
    int lastError() const { return mLastError; }
    int state() const { return mState; }

    void ChangeState(int aState);
    void UpdateProgress(int aTotal, int aDone, const QString& aText);
    void UpdateProgress(int aState, const QString& aText);

    // The run itself; on the worker thread.
    void Start();
    void trackNameChanged(const QString&) override {}

signals:
    void ProgressUpdate(int a_state, int a_percent_complete);
    void ProgressUpdate(int a_state, int a_percent_complete, const QString& aTrackName);
    void ConfirmDeleteTracks();
    void DrmTracksFound();
    void TracksNotDownloaded();
    void notEnoughSpace(qint64 aAdditionalSpaceRequired);

private:
    bool hasBeenCancelled();
    void removeExtractedFolder();
    void scanPlaylists(bool aSyncEntireLibrary, QStringList aPlaylists);
    void scanPodcasts(SyncSettings& aSettings, const QString& aDeviceId, int aPodcastSyncSetting,
                      const QStringList& aPodcasts);
    void GetTracksToDelete();
    int DeleteTracks();
    void Upload();
    void uploadTrack(int aPosition, int& aAttempted);
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
    QList<Track> mNotDeletedTracks;
    QSet<QString> mAlbumsWithArt;
    std::vector<LocalPlaylist> mPlaylists;
    TrackCache mCache;
    std::unique_ptr<MusicSyncThread> mThread;
    std::atomic<int> mState{0};
    int mPercentComplete = 0;
    std::atomic<bool> mCancelled{false};
    std::atomic<bool> mDeleteConfirmed{false};
    qint64 mFreeSpace = 0;
    bool mEnableArtworkSync = true;
    bool mConvertToMp3 = false;
    bool mForceFullResync = false;
    bool mBackupExtractionFailed = false;
    int mLastError = 0;
};
