#pragma once

#include "app/OwnedThread.h"
#include "library/itunes/ITunesTypeLibrary.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class LocalMusicLibraryTaskObserver;
class LocalPlaylist;
class Track;
class TrackList;

// The program's window on the user's iTunes library: its playlists, the tracks a playlist holds
// (and which of them can't be copied), its podcasts and the album art of a track. Every call
// into iTunes goes through one retry rule: "busy" and "not running" are retried every 250 ms
// without limit (emitting iTunesFailure()), other errors up to 8 times. No iTunes object is kept
// between operations, so any thread may call; the name lists have no lock, and one library
// object must not be refreshed from two threads at once. Signals are emitted on the calling
// thread.
class LocalMusicLibrary : public QObject
{
    Q_OBJECT

public:
    static constexpr int kLibraryFailure = -8000;
    static constexpr int kPlaylistNotFound = -8001;
    static constexpr int kNullObject = -8002;

    // A library on the given backend (never null; the program's is chosen in backends/).
    explicit LocalMusicLibrary(std::shared_ptr<itunes::Backend> aBackend, QObject* aParent = nullptr);
    ~LocalMusicLibrary() override;

    std::shared_ptr<itunes::Backend> backend() const { return mBackend; }

    void initialiseInNewThread();
    void initialise();
    int listenForITunesEvents();

    bool refreshPlaylists();
    const QStringList& playlists(bool aIncludeSmart) const
    {
        return aIncludeSmart ? mAllPlaylists : mStandardPlaylists;
    }
    const QStringList& podcasts() const { return mPodcasts; }

    int getPlaylistCollection(std::shared_ptr<itunes::PlaylistCollection>& aCollection);
    int getPlaylist(const QString& aName, std::shared_ptr<itunes::Playlist>& aPlaylist);
    // Where the local file of a playlist's track is, looked up ahead of getAllTracks (on another
    // thread, while the run reads its cache: a look-up is a file system call per track). With the
    // track's library id: a place the playlist no longer holds the same track at is looked up again.
    struct TrackLocation
    {
        QString location;
        int libraryId = 0;
        bool known = false;
    };
    // The locations of the playlist aName's tracks, in play order; 0 or kLibraryFailure.
    int getTrackLocations(const QString& aName, std::vector<TrackLocation>& aLocations);
    // aKnownLocations: the playlist's locations as getTrackLocations gave them, or null.
    int getAllTracks(const QString& aName, TrackList& aTrackList, bool aConvertAacToMp3,
                     TrackList& aDrmTracks, TrackList& aMissingFileTracks, LocalPlaylist& aPlaylist,
                     bool aIgnoreVideos, LocalMusicLibraryTaskObserver* aObserver,
                     const std::vector<TrackLocation>* aKnownLocations = nullptr);

    void refreshPodcasts();
    void getPodcasts(const QStringList& aPodcastNames, QList<LocalPlaylist>& aPodcasts,
                     TrackList& aPodcastTracks);
    QString generateArtwork(const Track& aTrack);

    bool isInitialised() const { return mInitialised; }
    // The pause between retries; 250 ms. Tests shorten it.
    void setRetryPause(int aMilliseconds) { mRetryPauseMs = aMilliseconds; }
    // Ends all waiting for iTunes: from now on a failed call is given up at once. For shutdown.
    // A call on a thread whose owner is stopping it gives up at once too.
    void stopRetrying() { mStopping = true; }

    // The retry rule and its two variants. Each call site keeps its own counter, 0 at the start.
    bool shouldRetry(int& aRetryCounter, int aResult);
    bool shouldRetryPointer(int& aRetryCounter, int& aResult, bool aHasObject);
    bool shouldRetryString(int& aRetryCounter, int& aResult, QString& aString);

signals:
    void initialisationComplete();
    void iTunesFailure();
    void iTunesOkay();
    void localLibraryEvent();

private:
    // Calls aCall until the retry rule says stop; returns the last result.
    template <typename Call> int callWithRetry(Call&& aCall);
    template <typename Call, typename Object>
    int callForObject(Call&& aCall, std::shared_ptr<Object>& aObject);
    template <typename Call> int callForString(Call&& aCall, QString& aString);

    int createApplication(std::shared_ptr<itunes::Application>& aApplication);
    // Calls aVisit for each user playlist of the library, in order, with its special kind, until
    // aVisit returns false. False when the playlists can't be listed at all (logged).
    bool walkUserPlaylists(const std::function<bool(itunes::Playlist&, itunes::UserPlaylist&, int)>& aVisit);
    // The special kind of a user playlist (-1 when it has none or it can't be read).
    int specialKindOf(itunes::Playlist& aPlaylist);
    void pause();

    std::shared_ptr<itunes::Backend> mBackend;
    QStringList mAllPlaylists;
    QStringList mStandardPlaylists;
    QStringList mPodcasts;
    QStringList mPreviousPlaylists;
    std::atomic<bool> mInitialised{false};
    std::atomic<bool> mStopping{false};
    std::shared_ptr<itunes::EventConnection> mEventHandler;
    QSet<QString> mFoldersWithoutArt;
    int mRetryPauseMs = 250;
    // The initialisation ("LocalLibraryInitialiseThread"); last: joined before the members it uses go.
    OwnedThread mInitialiseThread;
};
