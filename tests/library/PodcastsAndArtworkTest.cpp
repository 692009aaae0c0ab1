#include "library/LocalMusicLibrary.h"
#include "library/PodcastRamCache.h"
#include "support/AudioFixtures.h"
#include "support/FakeITunes.h"
#include "support/TestHome.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

using namespace itunes;

namespace {

class PodcastsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mFake = std::make_shared<FakeITunes>();
        mFake->library.tracks = {
            fakeTrack(1, "Ep 1", "/pod/a1.mp3", "Daily News"),
            fakeTrack(2, "Ep 2", "/pod/a2.mp3", "Daily News"),
            fakeTrack(3, "Ep 1", "/pod/b1.mp3", "daily news"),
            fakeTrack(4, "Not here", "", "Tech Talk"),
            fakeTrack(5, "Locked", "/pod/t.m4p", "Tech Talk"),
            fakeTrack(6, "Video", "/pod/v.m4v", "Tech Talk"),
        };
        mFake->library.tracks[3].trackType = "Remote";
        mFake->library.tracks[0].dateAdded = "2023-03-15T12:00:00Z"; // OLE day 45000
        mFake->library.playlists = {{"Library", true, -1, false, false, false, {1, 2, 3, 4, 5, 6}},
                                    {"Podcasts", false, -1, true, false, false, {1, 2, 3, 4, 5, 6}}};
        mLibrary = std::make_unique<LocalMusicLibrary>(mFake);
        mLibrary->setRetryPause(1);
    }

    TestHome mHome;
    std::shared_ptr<FakeITunes> mFake;
    std::unique_ptr<LocalMusicLibrary> mLibrary;
};

} // namespace

TEST_F(PodcastsTest, PodcastNamesAreTheDistinctAlbumsOfThePodcastsPlaylist)
{
    mLibrary->refreshPodcasts();
    EXPECT_EQ(mLibrary->podcasts(), (QStringList{"Daily News", "daily news", "Tech Talk"}));
    mFake->library.playlists.pop_back();
    mLibrary->refreshPodcasts();
    EXPECT_TRUE(mLibrary->podcasts().isEmpty());
}

TEST_F(PodcastsTest, EpisodesAreGroupedPerRequestedPodcast)
{
    QList<LocalPlaylist> podcasts;
    TrackList tracks;
    mLibrary->getPodcasts({"Daily News", "Tech Talk", "Nobody", "Tech Talk"}, podcasts, tracks);
    ASSERT_EQ(podcasts.size(), 4);
    EXPECT_EQ(podcasts[0].name(), "Daily News");
    ASSERT_EQ(podcasts[0].count(), 2);
    EXPECT_EQ(tracks.at(podcasts[0].entries()[0].trackIndex).path(), "/pod/a1.mp3");
    EXPECT_EQ(podcasts[0].entries()[0].dateAdded, 45000);
    // Not downloaded and protected episodes never count; the video does. A name given twice
    // fills its later record.
    EXPECT_EQ(podcasts[1].count(), 0);
    EXPECT_EQ(podcasts[2].count(), 0);
    ASSERT_EQ(podcasts[3].count(), 1);
    EXPECT_EQ(tracks.at(podcasts[3].entries()[0].trackIndex).path(), "/pod/v.m4v");
    EXPECT_EQ(tracks.count(), 3);
}

TEST_F(PodcastsTest, WithoutAPodcastsPlaylistNothingIsReturned)
{
    mFake->library.playlists.pop_back();
    QList<LocalPlaylist> podcasts;
    TrackList tracks;
    mLibrary->getPodcasts({"Daily News"}, podcasts, tracks);
    EXPECT_TRUE(podcasts.isEmpty());
    EXPECT_EQ(tracks.count(), 0);
}

TEST_F(PodcastsTest, TheRamCacheReadsTheNamesOnItsThread)
{
    PodcastRamCache cache(mFake);
    QSignalSpy updated(&cache, &PodcastRamCache::updated);
    cache.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return updated.count() > 0; }, 5000)); // it may come before the wait
    QStringList names;
    cache.podcasts(names);
    EXPECT_EQ(names, (QStringList{"Daily News", "daily news", "Tech Talk"}));

    // iTunes busy for good: the reading waits, and its owner going ends it at once.
    mFake->scriptRepeated("createApplication", kCallRejected, 1000000);
    QElapsedTimer clock;
    clock.start();
    {
        PodcastRamCache waiting(mFake);
        waiting.start();
        QTest::qWait(300);
        EXPECT_TRUE(waiting.isReading());
    }
    EXPECT_LT(clock.elapsed(), 2000);
}

namespace {

class ArtworkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mFake = std::make_shared<FakeITunes>();
        const QString album = mHome.path() + "/Artist/Album/";
        const QString bare = mHome.path() + "/Artist/Bare/";
        QDir().mkpath(album);
        QDir().mkpath(bare);
        mFake->library.tracks = {
            fakeTrack(1, "Song", album + "song.mp3"),
            fakeTrack(2, "Song", album + "song2.mp3", "Other album"),
            fakeTrack(3, "Plain", bare + "plain.mp3", "Bare"),
            fakeTrack(4, "Second", bare + "second.mp3", "Bare"),
        };
        for (const char* file : {"Album/song.mp3", "Album/song2.mp3", "Bare/plain.mp3", "Bare/second.mp3"})
            ASSERT_TRUE(
                fixtures::makeAudio(mHome.path() + "/Artist/" + file, QString(), QString(), QString(), 0.2));
        // The first picture is of no format a phone takes; the PNG is the first it does.
        for (const QByteArray& picture : {QByteArray("weird"), mPng, fixtures::makeImage("JPG")})
            ASSERT_TRUE(fixtures::embedPicture(album + "song.mp3", picture));
        ASSERT_TRUE(fixtures::embedPicture(bare + "second.mp3", fixtures::makeImage("JPG")));
        mFake->library.playlists = {{"Music", false, 4, false, false, false, {1, 2, 3, 4}}};
        mLibrary = std::make_unique<LocalMusicLibrary>(mFake);
        mLibrary->setRetryPause(1);
    }

    ::Track localTrack(int aIndex) const
    {
        const XmlTrackEntry& entry = mFake->library.tracks[aIndex];
        return ::Track(entry.name, entry.album, entry.artist, 1, QUrl(entry.location).toLocalFile(), true,
                       false, false);
    }

    const QByteArray mPng = fixtures::makeImage("PNG");
    TestHome mHome;
    std::shared_ptr<FakeITunes> mFake;
    std::unique_ptr<LocalMusicLibrary> mLibrary;
};

} // namespace

TEST_F(ArtworkTest, TheFirstSupportedArtworkIsSavedUnderItsFormatsName)
{
    const QString path = mLibrary->generateArtwork(localTrack(0));
    EXPECT_EQ(path, mHome.path() + "/KORDA/temp_art.png");
    EXPECT_EQ(readWholeFile(path), mPng);
    EXPECT_EQ(mFake->calls("artwork.save"), 1);
}

TEST_F(ArtworkTest, AFailedSaveTriesTheNextArtwork)
{
    mFake->script("artwork.save", {kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail});
    EXPECT_EQ(mLibrary->generateArtwork(localTrack(0)), mHome.path() + "/KORDA/temp_art.jpg");
}

TEST_F(ArtworkTest, AFolderWithoutArtIsNotAskedAgain)
{
    EXPECT_EQ(mLibrary->generateArtwork(localTrack(2)), QString());
    mFake->resetCalls();
    // The second track of the folder has art, but the folder is known to have none.
    EXPECT_EQ(mLibrary->generateArtwork(localTrack(3)), QString());
    EXPECT_EQ(mFake->calls("createApplication"), 0);
}

TEST_F(ArtworkTest, ATrackNotInTheMusicPlaylistHasNoArt)
{
    // Found by name, but no result has its album and artist.
    ::Track unknown("Song", "Nowhere", "Nobody", 1, mHome.path() + "/Artist/Album/x.mp3", true, false, false);
    EXPECT_EQ(mLibrary->generateArtwork(unknown), QString());
    ::Track sameFolder = localTrack(0);
    EXPECT_EQ(mLibrary->generateArtwork(sameFolder), QString()); // its folder is now marked
}

TEST_F(ArtworkTest, EarlyFailuresDoNotMarkTheFolder)
{
    mFake->script("playlist.search", {kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail, kFail});
    EXPECT_EQ(mLibrary->generateArtwork(localTrack(0)), QString());
    EXPECT_EQ(mLibrary->generateArtwork(localTrack(0)), mHome.path() + "/KORDA/temp_art.png");
}
