#include "library/LocalMusicLibrary.h"
#include "library/LocalMusicLibraryTaskObserver.h"
#include "support/FakeITunes.h"
#include "support/TestHome.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/TrackList.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace itunes;

namespace {

class LocalMusicLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mFake = std::make_shared<FakeITunes>();
        mFake->library.tracks = {
            fakeTrack(1, "One", "/music/one.mp3"),
            fakeTrack(2, "Two", "/music/two.m4a"),
            fakeTrack(3, "Locked", "/music/locked.M4P"),
            fakeTrack(4, "Book", "/music/book.m4b"),
            fakeTrack(5, "Clip", "/music/clip.m4v"),
            fakeTrack(6, "Film", "/music/film.MOV"),
            fakeTrack(7, "Cloud", ""),
            fakeTrack(8, "Short", "/a.b"),
            fakeTrack(9, "Shared", "/music/shared.mp3"),
        };
        mFake->library.tracks[6].trackType = "Remote"; // in the cloud
        mFake->library.tracks[8].trackType = "Shared"; // another computer's: no file here
        mFake->library.tracks[0].compilation = true;
        mFake->library.tracks[1].dateAdded = "2012-11-21T12:00:00Z"; // OLE day 41234
        const QList<int> all{1, 2, 3, 4, 5, 6, 7, 8, 9};
        mFake->library.playlists = {
            {"Library", true, -1, false, false, false, all},
            {"Music", false, 4, false, false, false, {1, 2, 3}},
            {"Rock", false, -1, false, false, false, {1, 2}},
            {"Recent", false, -1, false, false, true, {2}},
            {"Podcasts", false, -1, true, false, false, {}},
            {"A folder", false, -1, false, true, false, {}},
            {"Everything", false, -1, false, false, false, all},
            {"Rock", false, -1, false, false, false, {2}},
        };
        mLibrary = std::make_unique<LocalMusicLibrary>(mFake);
        mLibrary->setRetryPause(1);
    }

    int readAll(const QString& aName, bool aIgnoreVideos = false, bool aConvert = false)
    {
        return mLibrary->getAllTracks(aName, mTracks, aConvert, mDrm, mMissing, mPlaylist, aIgnoreVideos,
                                      nullptr);
    }

    TestHome mHome;
    std::shared_ptr<FakeITunes> mFake;
    std::unique_ptr<LocalMusicLibrary> mLibrary;
    TrackList mTracks, mDrm, mMissing;
    LocalPlaylist mPlaylist;
};

struct NameObserver : LocalMusicLibraryTaskObserver
{
    void trackNameChanged(const QString& aTrackName) override { names.append(aTrackName); }
    QStringList names;
};

} // namespace

TEST_F(LocalMusicLibraryTest, AnUnexpectedErrorIsTriedNineTimesWithPausesThenGivenUp)
{
    mLibrary->setRetryPause(250);
    mFake->scriptRepeated("playlists.count", kFail, 20);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(mLibrary->refreshPlaylists());
    EXPECT_EQ(mFake->calls("playlists.count"), 9);
    EXPECT_GE(timer.elapsed(), 8 * 250 - 50);
}

TEST_F(LocalMusicLibraryTest, BusyAndNotRunningAreRetriedWithoutLimit)
{
    QSignalSpy failures(mLibrary.get(), &LocalMusicLibrary::iTunesFailure);
    QSignalSpy okays(mLibrary.get(), &LocalMusicLibrary::iTunesOkay);
    mFake->scriptRepeated("createApplication", kServerExecFailure, 15);
    mFake->scriptRepeated("playlists.count", kCallRejected, 15);
    EXPECT_TRUE(mLibrary->refreshPlaylists());
    EXPECT_EQ(failures.count(), 30);
    EXPECT_GT(okays.count(), 0);
    EXPECT_EQ(mLibrary->playlists(true), (QStringList{"Rock", "Recent", "Everything", "Rock"}));
}

TEST_F(LocalMusicLibraryTest, TheRetryCounterGrowsOnBusyErrorsToo)
{
    // Ten busy answers use up the retries: the unexpected error after them is not retried.
    int counter = 0;
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(mLibrary->shouldRetry(counter, kCallRejected));
    EXPECT_FALSE(mLibrary->shouldRetry(counter, kFail));
    EXPECT_EQ(counter, 11);
}

TEST_F(LocalMusicLibraryTest, NullObjectsFailAndNullStringsReadAsEmpty)
{
    int counter = 0;
    int result = kOk;
    EXPECT_FALSE(mLibrary->shouldRetryPointer(counter, result, false));
    EXPECT_EQ(result, LocalMusicLibrary::kNullObject);

    mFake->script("source.playlists", {FakeITunes::kNullResult});
    std::shared_ptr<PlaylistCollection> collection;
    EXPECT_EQ(mLibrary->getPlaylistCollection(collection), LocalMusicLibrary::kLibraryFailure);
    EXPECT_EQ(mFake->calls("source.playlists"), 1);

    mFake->script("track.name:2", {FakeITunes::kNullResult});
    mFake->script("track.album:2", {kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail});
    ASSERT_EQ(readAll("Rock"), 0);
    int position = -1;
    ASSERT_TRUE(mTracks.findByLibraryId("2", position));
    EXPECT_EQ(mTracks.at(position).trackName(), "");
    EXPECT_FALSE(mTracks.at(position).trackName().isNull());
    EXPECT_EQ(mTracks.at(position).albumName(), ""); // given up after its retries, the track still counts
}

TEST_F(LocalMusicLibraryTest, NoLibrarySourceIsAFailure)
{
    mFake->sourceKind = 3;
    std::shared_ptr<PlaylistCollection> collection;
    EXPECT_EQ(mLibrary->getPlaylistCollection(collection), LocalMusicLibrary::kLibraryFailure);
    mFake->sourceKind = kSourceKindLibrary;
    mFake->script("sources", {kFalse});
    EXPECT_EQ(mLibrary->getPlaylistCollection(collection), LocalMusicLibrary::kLibraryFailure);
}

TEST_F(LocalMusicLibraryTest, PlaylistsAreFoundByNameFromTheLastAndTheEmptyNameIsMusic)
{
    std::shared_ptr<Playlist> playlist;
    ASSERT_EQ(mLibrary->getPlaylist("Rock", playlist), 0);
    qint64 size = 0;
    playlist->size(size);
    EXPECT_EQ(size, 1000); // the later "Rock", with one track
    ASSERT_EQ(mLibrary->getPlaylist("", playlist), 0);
    int kind = 0;
    std::shared_ptr<UserPlaylist> user;
    ASSERT_EQ(playlist->userPlaylist(user), 0);
    user->specialKind(kind);
    EXPECT_EQ(kind, kSpecialKindMusic);
    EXPECT_EQ(mLibrary->getPlaylist("rock", playlist), LocalMusicLibrary::kPlaylistNotFound);
    mFake->script("playlists.item", {kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail});
    EXPECT_EQ(mLibrary->getPlaylist("Rock", playlist), LocalMusicLibrary::kLibraryFailure);
}

TEST_F(LocalMusicLibraryTest, WithoutAMusicPlaylistTheLibraryPlaylistIsUsed)
{
    mFake->library.playlists.removeAt(1);
    std::shared_ptr<Playlist> playlist;
    ASSERT_EQ(mLibrary->getPlaylist("", playlist), 0);
    int kind = 0;
    playlist->kind(kind);
    EXPECT_EQ(kind, kPlaylistKindLibrary);
    mFake->library.playlists.clear();
    EXPECT_EQ(mLibrary->getPlaylist("", playlist), LocalMusicLibrary::kLibraryFailure);
    EXPECT_EQ(mLibrary->getPlaylist("Rock", playlist), LocalMusicLibrary::kPlaylistNotFound);
}

TEST_F(LocalMusicLibraryTest, RefreshListsOrdinaryPlaylistsAndSaysWhetherTheyChanged)
{
    EXPECT_TRUE(mLibrary->refreshPlaylists());
    EXPECT_EQ(mLibrary->playlists(true), (QStringList{"Rock", "Recent", "Everything", "Rock"}));
    EXPECT_EQ(mLibrary->playlists(false), (QStringList{"Rock", "Everything", "Rock"}));
    EXPECT_FALSE(mLibrary->refreshPlaylists());
    mFake->library.playlists.pop_back();
    EXPECT_TRUE(mLibrary->refreshPlaylists());
    mFake->script("createApplication", {kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail});
    EXPECT_FALSE(mLibrary->refreshPlaylists());
    EXPECT_TRUE(mLibrary->playlists(true).isEmpty());
}

TEST_F(LocalMusicLibraryTest, EachTrackLandsInExactlyOnePlace)
{
    NameObserver observer;
    ASSERT_EQ(
        mLibrary->getAllTracks("Everything", mTracks, false, mDrm, mMissing, mPlaylist, true, &observer), 0);
    EXPECT_EQ(mPlaylist.name(), "Everything");
    // Copied: one, two and the 3-character location; protected: .M4P and .m4b; missing: the
    // cloud track and the one without a file interface; the two videos nowhere.
    EXPECT_EQ(mTracks.count(), 3);
    EXPECT_EQ(mDrm.count(), 2);
    EXPECT_EQ(mMissing.count(), 2);
    EXPECT_EQ(mPlaylist.count(), 3);
    EXPECT_EQ(observer.names.size(), 9);

    const ::Track& one = mTracks.at(mPlaylist.entries()[0].trackIndex);
    EXPECT_EQ(one.trackName(), "One");
    EXPECT_EQ(one.path(), "/music/one.mp3");
    EXPECT_TRUE(one.isCompilation());
    EXPECT_TRUE(one.onLocalSyncPlaylist());
    EXPECT_FALSE(one.onRemoteDevice());
    EXPECT_EQ(one.getLibraryId(), "1");
    EXPECT_EQ(one.localSize(), 1000);
    EXPECT_EQ(mPlaylist.entries()[1].dateAdded, 41234); // truncated toward zero
    int position = -1;
    ASSERT_TRUE(mMissing.findByLibraryId("7", position));
    EXPECT_EQ(mMissing.at(position).path(), QString());
    EXPECT_EQ(mMissing.at(position).localSize(), 0);
}

TEST_F(LocalMusicLibraryTest, VideosAreCopiedWhenNotIgnored)
{
    ASSERT_EQ(readAll("Everything", false), 0);
    EXPECT_EQ(mTracks.count(), 5);
}

TEST_F(LocalMusicLibraryTest, ATrackMetAgainPointsAtItsFirstRecord)
{
    ASSERT_EQ(readAll("Everything"), 0);
    const int tracksBefore = mTracks.count();
    mFake->resetCalls();
    LocalPlaylist rock;
    ASSERT_EQ(mLibrary->getAllTracks("Music", mTracks, false, mDrm, mMissing, rock, false, nullptr), 0);
    EXPECT_EQ(mTracks.count(), tracksBefore);
    // One and two get entries pointing at their first records; the protected one gets none.
    ASSERT_EQ(rock.count(), 2);
    EXPECT_EQ(rock.entries()[0].trackIndex, mPlaylist.entries()[0].trackIndex);
    EXPECT_EQ(rock.entries()[1].dateAdded, 41234);
    // Known tracks need no more than their id.
    EXPECT_EQ(mFake->calls("track.name"), 0);
}

TEST_F(LocalMusicLibraryTest, UnreadableTracksAreSkippedAndConversionIsMarked)
{
    mFake->script("file.location:1", {kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail});
    mFake->script("tracks.itemByPlayOrder:2",
                  {kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail});
    ASSERT_EQ(readAll("Rock", false, true), 0); // the later Rock holds only track 2
    EXPECT_EQ(mTracks.count(), 0);
    mTracks = TrackList();
    mPlaylist = LocalPlaylist();
    ASSERT_EQ(readAll("Music", false, true), 0);
    EXPECT_EQ(mTracks.count(), 1); // track 1 lost its location, 3 is protected
    EXPECT_TRUE(mTracks.at(0).convertToMp3());
    EXPECT_EQ(readAll("Nowhere"), LocalMusicLibrary::kLibraryFailure);
}

// Locations looked up ahead are taken for the tracks still at their places; a place that holds
// another track now, or whose look-up failed, is looked up again.
TEST_F(LocalMusicLibraryTest, LocationsLookedUpAheadServeOnlyTheTracksTheyWereFor)
{
    std::vector<LocalMusicLibrary::TrackLocation> known;
    mFake->script("file.location:2", {kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail});
    ASSERT_EQ(mLibrary->getTrackLocations("Music", known), 0);
    ASSERT_EQ(known.size(), 3u);
    EXPECT_TRUE(known[0].known);
    EXPECT_EQ(known[0].libraryId, 1);
    EXPECT_EQ(known[0].location, "/music/one.mp3");
    EXPECT_FALSE(known[1].known);
    EXPECT_EQ(mLibrary->getTrackLocations("Nowhere", known), LocalMusicLibrary::kLibraryFailure);

    known = {{"/elsewhere/one.mp3", 1, true}, {"/elsewhere/two.m4a", 7, true}};
    mFake->resetCalls();
    ASSERT_EQ(
        mLibrary->getAllTracks("Music", mTracks, false, mDrm, mMissing, mPlaylist, false, nullptr, &known),
        0);
    ASSERT_EQ(mTracks.count(), 2);
    EXPECT_EQ(mTracks.at(0).path(), "/elsewhere/one.mp3");
    EXPECT_EQ(mTracks.at(1).path(), "/music/two.m4a"); // the place held track 7 when looked up
    EXPECT_EQ(mFake->calls("file.location"), 2);       // two and the protected three
}

TEST_F(LocalMusicLibraryTest, InitialisationWaitsForITunesOnItsThread)
{
    mFake->scriptRepeated("createApplication", kServerExecFailure, 5);
    QSignalSpy complete(mLibrary.get(), &LocalMusicLibrary::initialisationComplete);
    QSignalSpy failures(mLibrary.get(), &LocalMusicLibrary::iTunesFailure);
    mLibrary->initialiseInNewThread();
    ASSERT_TRUE(QTest::qWaitFor([&] { return complete.count() > 0; }, 5000)); // it may come before the wait
    EXPECT_EQ(failures.count(), 5);
    EXPECT_TRUE(mLibrary->isInitialised());
    mLibrary->initialise(); // once only
    EXPECT_EQ(complete.count(), 1);
}

TEST_F(LocalMusicLibraryTest, ALibraryWaitingForITunesCanBeDestroyed)
{
    mFake->scriptRepeated("createApplication", kServerExecFailure, 1000000);
    mLibrary->setRetryPause(5);
    mLibrary->initialiseInNewThread();
    QThread::msleep(50);
    mLibrary.reset(); // must not hang
    SUCCEED();
}

TEST_F(LocalMusicLibraryTest, LibraryEventsArriveWhileListening)
{
    QSignalSpy events(mLibrary.get(), &LocalMusicLibrary::localLibraryEvent);
    EXPECT_EQ(mLibrary->listenForITunesEvents(), 0);
    mFake->raiseEvent();
    mFake->raiseEvent();
    EXPECT_EQ(events.count(), 2);
    mLibrary->listenForITunesEvents(); // a new connection replaces the old one
    mFake->raiseEvent();
    EXPECT_EQ(events.count(), 3);
}
