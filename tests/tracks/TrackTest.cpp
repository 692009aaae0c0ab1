#include "tracks/Track.h"
#include "support/TestHome.h"
#include "tracks/TrackList.h"
#include "tracks/UniqueIdIndex.h"

#include <gtest/gtest.h>

namespace {

Track libraryTrack(const QString& aName, const QString& aPath, qint64 aLocalSize = 100)
{
    Track track(aName, "Album", "Artist", 3, aPath, true, false, false);
    track.setLocalSize(aLocalSize);
    return track;
}

Track cachedTrack(const QString& aName, const QString& aPath, qint64 aSizeOnDevice = 80)
{
    Track track;
    track.set(aName, "Album", "Artist", 3, aPath, false, true, true, 1234, "\\Music\\Artist\\Album\\x.mp3",
              aSizeOnDevice);
    return track;
}

} // namespace

TEST(Track, UniqueIdJoinsTheTagsAndMarksMp3Copies)
{
    Track plain("Song", "Album", "Artist", 7, "/m/song.m4a", true, false, false);
    EXPECT_EQ(plain.uniqueId(), "SongAlbumArtist7");
    EXPECT_EQ(Track("Song", "Album", "Artist", 7, "/m/song.MP3", true, false, false).uniqueId(),
              Track("Song", "Album", "Artist", 7, "/m/song.mp3", true, false, false).uniqueId());
    EXPECT_EQ(Track("Song", "Album", "Artist", 7, "/m/song.Mp3", true, false, false).uniqueId(),
              "SongAlbumArtist7mp3");

    Track converted = plain;
    converted.setConvertToMp3(true);
    EXPECT_TRUE(converted.needsConversion());
    EXPECT_EQ(converted.uniqueId(), "SongAlbumArtist7mp3");
    EXPECT_NE(converted.uniqueId(), plain.uniqueId());

    Track alreadyMp3("Song", "Album", "Artist", 7, "/m/song.mp3", true, false, false);
    alreadyMp3.setConvertToMp3(true);
    EXPECT_FALSE(alreadyMp3.needsConversion());

    Track fromCache;
    fromCache.set("Song", "Album", "Artist", 7, "/m/song.m4a", false, true, true, 0, "\\Music\\a.mp3", 10);
    fromCache.setConvertedToMp3(true);
    EXPECT_EQ(fromCache.uniqueId(), converted.uniqueId());

    // A track knows its id without making it, the same id uniqueId() makes.
    Track second("Song", "Album", "Artist", -3, "/m/song.mp3", true, false, false);
    second.setDiscNumber(2);
    for (const Track* track : {&plain, &converted, &fromCache, &second}) {
        EXPECT_TRUE(track->hasUniqueId(track->uniqueId())) << track->uniqueId().toStdString();
        EXPECT_FALSE(track->hasUniqueId(track->uniqueId() + "x"));
        EXPECT_FALSE(track->hasUniqueId(track->uniqueId().chopped(1) + "x"));
    }
    EXPECT_EQ(second.uniqueId(), "SongAlbumArtist-3\x1f"
                                 "2mp3");
    EXPECT_TRUE(
        Track("SongA", "lbum", "Artist", 7, "/m/s.m4a", true, false, false).hasUniqueId(plain.uniqueId()));
}

TEST(Track, DerivedValues)
{
    TestHome home;
    Track track("T", "A", "R", 1, "a.b", true, false, false);
    EXPECT_EQ(track.extension(), QString());
    track.setPath("/music/t.m4a");
    EXPECT_EQ(track.extension(), "m4a");
    EXPECT_EQ(track.uploadSourcePath(), "/music/t.m4a");
    track.setConvertToMp3(true);
    EXPECT_EQ(track.uploadSourcePath(), home.path() + "/KORDA/temp.mp3");

    track.setSizeOnDevice(500);
    EXPECT_EQ(track.sizeOnDevice(), 0); // no device identity yet
    track.setDeviceId("\\Music\\R\\A\\t.mp3");
    EXPECT_EQ(track.sizeOnDevice(), 500);
}

TEST(TrackList, ACachedTrackMetInTheLibraryIsNotCopiedAgain)
{
    TestHome home;
    const QString path = home.writeFile("music/song.m4a", "audio");
    TrackList list;
    EXPECT_EQ(list.addTrack(cachedTrack("Song", "/old/place/song.m4a")), 0);
    EXPECT_EQ(list.totalTracksToCopy(), 0);
    EXPECT_EQ(list.totalSizeOnDevice(), 80);
    Track fromLibrary = libraryTrack("Song", path, 100);
    fromLibrary.setLibraryId("42");
    fromLibrary.setDateAdded(44000);
    EXPECT_EQ(list.addTrack(fromLibrary), 0);

    ASSERT_EQ(list.count(), 1);
    const Track& merged = list.at(0);
    EXPECT_EQ(list.totalTracksToCopy(), 0);
    EXPECT_TRUE(merged.onLocalSyncPlaylist());
    EXPECT_TRUE(merged.onRemoteDevice());
    EXPECT_TRUE(merged.inCache());
    // The cached file was moved on the computer: the library's path wins; the device side stays.
    EXPECT_EQ(merged.path(), path);
    EXPECT_EQ(merged.deviceId(), "\\Music\\Artist\\Album\\x.mp3");
    EXPECT_EQ(merged.flagsFilePosition(), 1234);
    EXPECT_EQ(merged.dateAdded(), 44000);
    EXPECT_EQ(list.totalLocalSize(), 100);
    EXPECT_EQ(list.totalSizeOnDevice(), 80);
    int position = -1;
    EXPECT_TRUE(list.findByLibraryId("42", position));
    EXPECT_EQ(position, 0);
}

TEST(TrackList, ALibraryTrackFoundOnTheDeviceAfterwardsIsCountedBack)
{
    TestHome home;
    TrackList list;
    list.addTrack(libraryTrack("Song", home.writeFile("song.m4a", "x")));
    EXPECT_EQ(list.totalTracksToCopy(), 1);
    list.addTrack(cachedTrack("Song", "/elsewhere/song.m4a"));
    EXPECT_EQ(list.totalTracksToCopy(), 0);
    EXPECT_EQ(list.at(0).path(), home.path() + "/song.m4a"); // an existing file is kept
    EXPECT_EQ(list.totalSizeOnDevice(), 80);
}

TEST(TrackList, ATrackOnTwoPlaylistsCountsOnce)
{
    TestHome home;
    const QString path = home.writeFile("a.mp3", "x");
    TrackList list;
    list.addTrack(libraryTrack("A", path, 300));
    list.addTrack(libraryTrack("A", path, 300));
    list.addTrack(libraryTrack("B", path, 50));
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.totalTracksToCopy(), 2);
    EXPECT_EQ(list.totalLocalSize(), 350);
}

TEST(TrackList, ATrackBothLocalAndOnTheDeviceIsNotToCopy)
{
    TrackList list;
    Track deleted = cachedTrack("Gone", "/x.m4a");
    deleted.setOnRemoteDevice(false); // a record whose file was deleted from the device
    list.addTrack(deleted);
    Track both("Gone", "Album", "Artist", 3, "/x.m4a", true, true, false, "\\Music\\x");
    both.setSizeOnDevice(9);
    list.addTrack(both);
    EXPECT_EQ(list.totalTracksToCopy(), 0);
    EXPECT_EQ(list.totalSizeOnDevice(), 9);
}

TEST(TrackList, MergingAddsFlagsAndNeverRemovesThem)
{
    TrackList list;
    Track first = libraryTrack("S", "/nowhere/s.m4a");
    list.addTrack(first);
    Track second("S", "Album", "Artist", 3, "/nowhere/s.m4a", false, false, false);
    second.setIsCompilation(true);
    list.addTrack(second);
    EXPECT_TRUE(list.at(0).onLocalSyncPlaylist());
    EXPECT_TRUE(list.at(0).isCompilation());
    EXPECT_FALSE(list.at(0).inCache());
    int position = 0;
    EXPECT_FALSE(list.findByLibraryId("1", position));
    EXPECT_TRUE(list.findByUniqueId(u"SAlbumArtist3", position));

    // Library ids are found by their text, numbers or not.
    const QStringList ids = {"7", "007", "x7", "-7", "4294967303"};
    for (int n = 0; n < ids.size(); ++n) {
        Track other = libraryTrack(QString("T%1").arg(n), "/nowhere/t.m4a");
        other.setLibraryId(ids.at(n));
        list.addTrack(other);
    }
    for (int n = 0; n < ids.size(); ++n) {
        ASSERT_TRUE(list.findByLibraryId(ids.at(n), position)) << ids.at(n).toStdString();
        EXPECT_EQ(list.at(position).trackName(), QString("T%1").arg(n));
        EXPECT_EQ(list.at(position).getLibraryId(), ids.at(n)); // given back as it was set
    }
    EXPECT_FALSE(list.findByLibraryId("07", position));

    // The listed track's id follows a later change of what it is made of.
    Track merged = libraryTrack("S", "/nowhere/s.m4a");
    merged.setConvertToMp3(true); // another unique id: listed as a track of its own
    const int mergedAt = list.addTrack(merged);
    list.at(mergedAt).setPath("/nowhere/s.mp3");
    EXPECT_EQ(list.at(mergedAt).uniqueId(), "SAlbumArtist3mp3");
    list.at(0).setPath("/nowhere/s.mp3");
    EXPECT_EQ(list.at(0).uniqueId(), "SAlbumArtist3mp3");
    list.at(0).setDiscNumber(2);
    EXPECT_EQ(list.at(0).uniqueId(), "SAlbumArtist3\x1f"
                                     "2mp3");
}

TEST(UniqueIdIndex, FindsEveryIdAddedWhateverTheTableGrewThrough)
{
    UniqueIdIndex index;
    index.reserve(3);
    for (int n = 0; n < 5000; ++n)
        EXPECT_EQ(index.findOrAdd(QString("Song %1AlbumArtist%2").arg(n).arg(n % 7)), n);
    const UniqueIdIndex copy = index;
    for (int n = 0; n < 5000; n += 7) {
        EXPECT_EQ(index.find(QString("Song %1AlbumArtist%2").arg(n).arg(n % 7)), n);
        EXPECT_EQ(copy.find(QString("Song %1AlbumArtist%2").arg(n).arg(n % 7)), n);
    }
    EXPECT_EQ(index.find(u"Song 1AlbumArtist2"), -1);
    EXPECT_EQ(index.findOrAdd(u"Song 8AlbumArtist1"), 8);
    EXPECT_EQ(index.findOrAdd(u"new"), 5000);
    EXPECT_EQ(index.idAt(5000), u"new");
    EXPECT_TRUE(index.idAt(5001).isEmpty());
    EXPECT_EQ(index.find(QString()), -1);
    EXPECT_EQ(UniqueIdIndex().find(u"x"), -1);
}

// A library track finds its cached track whichever order the two lists hold an album in.
TEST(TrackList, LibraryTracksMeetTheirCachedTracksInEitherOrder)
{
    for (const std::vector<int>& order :
         {std::vector<int>{0, 1, 2, 3, 4, 5}, std::vector<int>{5, 4, 3, 2, 1, 0},
          std::vector<int>{3, 0, 5, 1, 4, 2}}) {
        TrackList list;
        for (int n = 0; n < 6; ++n)
            list.addTrack(cachedTrack(QString("S%1").arg(n), "/nowhere/s.m4a"));
        for (const int n : order)
            EXPECT_EQ(list.addTrack(libraryTrack(QString("S%1").arg(n), "/nowhere/s.m4a")), n);
        EXPECT_EQ(list.addTrack(libraryTrack("S6", "/nowhere/s.m4a")), 6);
        EXPECT_EQ(list.count(), 7);
        EXPECT_EQ(list.totalTracksToCopy(), 1);
    }
}
