#include "tracks/TrackCache.h"
#include "settings/SyncSettings.h"
#include "support/ListedTexts.h"
#include "support/TestHome.h"
#include "tracks/CacheBytes.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace cachebytes;

namespace {

class TrackCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SyncSettings settings;
        settings.load();
        ASSERT_EQ(settings.setConfig("device-1", true, 0, {}, {}, "Phone"), 0);
        ASSERT_EQ(settings.getCacheFilename("device-1", mCachePath), 0);
    }

    QByteArray cacheBytes() const { return readWholeFile(mCachePath); }
    QByteArray idBytes() const { return readWholeFile(mCachePath + "p"); }
    void writeCache(const QByteArray& aCache, const QByteArray& aIds = QByteArray())
    {
        QFile cache(mCachePath);
        ASSERT_TRUE(cache.open(QIODevice::WriteOnly));
        cache.write(aCache);
        QFile ids(mCachePath + "p");
        ASSERT_TRUE(ids.open(QIODevice::WriteOnly));
        ids.write(aIds);
    }
    static Track uploaded(const QString& aName, const QString& aDeviceId, qint64 aSize)
    {
        Track track(aName, "Album", "Artist", 2, "/music/" + aName + ".m4a", true, true, false, aDeviceId);
        track.setSizeOnDevice(aSize);
        return track;
    }

    TestHome mHome;
    QString mCachePath;
};

} // namespace

TEST_F(TrackCacheTest, ANewCacheIsTheBareHeader)
{
    TrackCache cache;
    EXPECT_EQ(cache.open("device-1"), TrackCache::kNewCacheFile);
    cache.close();
    EXPECT_EQ(mCachePath, mHome.korda() + "/mcache0");
    EXPECT_EQ(cacheBytes(), header(0, 44));
    EXPECT_TRUE(QFileInfo::exists(mCachePath + "p"));
    EXPECT_EQ(idBytes().size(), 0);

    TrackCache again;
    EXPECT_EQ(again.open("device-1"), TrackCache::kResultOk);
    TrackList list;
    EXPECT_EQ(again.updateTrackList(list, -1), 0);
    EXPECT_EQ(list.count(), 0);
}

TEST_F(TrackCacheTest, OneRecordIsAppendedByteForByte)
{
    TrackCache cache;
    ASSERT_EQ(cache.open("device-1"), TrackCache::kNewCacheFile);
    ASSERT_EQ(cache.readHeader(), 0);
    Track track("A", "", "", 1, "", true, true, false, "X");
    track.setSizeOnDevice(5);
    ASSERT_EQ(cache.addTrack(track), 0);
    cache.close();

    const QByteArray record = raw(0) + raw(1) + string("A") + raw(2) + string("") + raw(3) + string("") +
                              raw(4) + string("") + raw(5) + taggedInt(1) + raw(9) + taggedLong(0) + raw(10) +
                              taggedInt(2) + raw(7) + taggedInt(1) + raw(8) + taggedLong(5);
    ASSERT_EQ(record.size(), 106);
    EXPECT_EQ(cacheBytes(), header(5, 150) + record);
    EXPECT_EQ(idBytes(), QByteArray("X\0", 2));
    // The track now knows its record.
    EXPECT_TRUE(track.inCache());
    EXPECT_EQ(track.flagsFilePosition(), 44 + 4 + 10 + 24 + 12 + 16 + 12);
}

class TrackCacheReadTest : public TrackCacheTest, public ::testing::WithParamInterface<Lending>
{
protected:
    bool lent() const { return GetParam() == Lending::FromTheStart || GetParam() == Lending::Late; }
};

INSTANTIATE_TEST_SUITE_P(Lendings, TrackCacheReadTest,
                         ::testing::Values(Lending::NoLibrary, Lending::FromTheStart, Lending::Late,
                                           Lending::Never));

TEST_P(TrackCacheReadTest, RecordsReadBackAsTheTracksThatWereAdded)
{
    {
        TrackCache cache;
        cache.open("device-1");
        cache.readHeader();
        Track first = uploaded("Caf\u00e9 \u65e5\u672c", "\\Music\\Artist\\Album\\one.m4a", 1000);
        Track converted = uploaded("Two", "\\Music\\Artist\\Album\\Two.mp3", 2000);
        converted.setConvertToMp3(true);
        Track notOnDevice("Three", "Album", "Artist", 9, "/music/3.mp3", true, false, false);
        ASSERT_EQ(cache.addTrack(first), 0);
        ASSERT_EQ(cache.addTrack(converted), 0);
        ASSERT_EQ(cache.addTrack(notOnDevice), 0);
        EXPECT_EQ(cache.totalSizeOfUploadedFiles(), 3000);
    }
    // The library holds the first track as recorded, the second under another title, not the third.
    auto library = std::make_shared<ListedTexts>();
    library->add("Caf\u00e9 \u65e5\u672c", "Album", "Artist", "/music/Caf\u00e9 \u65e5\u672c.m4a");
    library->add("Two (live)", "Album", "Artist", "/music/Two.m4a");

    TrackCache cache;
    ASSERT_EQ(cache.open("device-1"), 0);
    TrackList list;
    ASSERT_EQ(cache.updateTrackList(list, -1, lendingSource(GetParam(), library)), 0);
    EXPECT_EQ(cache.totalSizeOfUploadedFiles(), 3000);
    ASSERT_EQ(list.count(), 3);
    const Track& first = list.at(0);
    EXPECT_EQ(first.trackName(), "Caf\u00e9 \u65e5\u672c");
    EXPECT_EQ(first.albumName(), "Album");
    EXPECT_EQ(first.artistName(), "Artist");
    EXPECT_EQ(first.path(), "/music/Caf\u00e9 \u65e5\u672c.m4a");
    EXPECT_EQ(first.trackNumberOnAlbum(), 2);
    EXPECT_EQ(first.deviceId(), "\\Music\\Artist\\Album\\one.m4a");
    EXPECT_EQ(first.sizeOnDevice(), 1000);
    EXPECT_TRUE(first.onRemoteDevice());
    EXPECT_TRUE(first.inCache());
    EXPECT_FALSE(first.onLocalSyncPlaylist());
    EXPECT_FALSE(first.convertedToMp3());
    EXPECT_EQ(list.at(1).trackName(), "Two");
    EXPECT_TRUE(list.at(1).convertedToMp3());
    EXPECT_TRUE(list.at(1).uniqueId().endsWith("mp3"));
    EXPECT_FALSE(list.at(2).onRemoteDevice());
    EXPECT_EQ(list.at(2).deviceId(), QString());
    EXPECT_EQ(list.at(2).path(), "/music/3.mp3");
    EXPECT_EQ(list.totalSizeOnDevice(), 3000);
    // Texts the library lends are its own copies; a text it holds otherwise is the record's.
    const ListedTexts::Held& held = library->at(0);
    EXPECT_EQ(first.trackName().constData() == held.name.constData(), lent());
    EXPECT_EQ(first.albumName().constData() == held.album.constData(), lent());
    EXPECT_EQ(first.path().constData() == held.path.constData(), lent());
    EXPECT_EQ(list.at(1).path().constData() == library->at(1).path.constData(), lent());
    EXPECT_EQ(list.at(1).albumName().constData() == library->at(1).album.constData(), lent());
    // Integrity value: the file's size at the last write.
    EXPECT_EQ(cacheBytes().mid(40, 4), raw(static_cast<qint32>(cacheBytes().size())));
}

TEST_F(TrackCacheTest, FieldsMayComeInAnyOrderAndTheLastRecordNeedsNoEnd)
{
    const QByteArray ids = utf16("\\Music\\a.mp3");
    const QByteArray cache = raw(1000) + raw(1003) + taggedInt(0) + raw(1002) + taggedLong(7) + raw(1001) +
                             taggedInt(1) + raw(0) + raw(8) + taggedLong(7) + raw(7) + taggedInt(3) +
                             raw(10) + taggedInt(static_cast<qint32>(ids.size())) + raw(9) + taggedLong(0) +
                             raw(5) + taggedInt(4) + raw(4) + string("/m/a.mp3") + raw(1) + string("a");
    writeCache(cache, ids);
    TrackCache reader;
    ASSERT_EQ(reader.open("device-1"), 0);
    TrackList list;
    ASSERT_EQ(reader.updateTrackList(list, -1), 0);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.at(0).trackName(), "a");
    EXPECT_EQ(list.at(0).deviceId(), "\\Music\\a.mp3");
    EXPECT_EQ(list.at(0).trackNumberOnAlbum(), 4);
    EXPECT_TRUE(list.at(0).convertedToMp3());
    EXPECT_EQ(list.at(0).flagsFilePosition(), 48 + 16);
}

TEST_F(TrackCacheTest, ADeletionClearsTheFlagAndAReUploadRepointsTheIdentifier)
{
    {
        TrackCache cache;
        cache.open("device-1");
        cache.readHeader();
        Track track = uploaded("Song", "\\Music\\old.m4a", 700);
        ASSERT_EQ(cache.addTrack(track), 0);
    }
    TrackCache cache;
    ASSERT_EQ(cache.open("device-1"), 0);
    TrackList list;
    ASSERT_EQ(cache.updateTrackList(list, -1), 0);
    ASSERT_EQ(cache.removeDeletedTrack(list.at(0)), 0);
    EXPECT_EQ(cache.totalSizeOfUploadedFiles(), 0);
    const qint64 sizeAfterDelete = cacheBytes().size();

    Track again = list.at(0);
    again.setDeviceId("\\Music\\new.m4a");
    ASSERT_EQ(cache.addTrack(again), 0);
    EXPECT_EQ(cacheBytes().size(), sizeAfterDelete); // changed in place
    EXPECT_EQ(idBytes(), utf16("\\Music\\old.m4a") + utf16("\\Music\\new.m4a"));
    cache.close();

    TrackCache reader;
    reader.open("device-1");
    TrackList reread;
    ASSERT_EQ(reader.updateTrackList(reread, -1), 0);
    ASSERT_EQ(reread.count(), 1);
    EXPECT_TRUE(reread.at(0).onRemoteDevice());
    EXPECT_EQ(reread.at(0).deviceId(), "\\Music\\new.m4a");
    EXPECT_EQ(reader.totalSizeOfUploadedFiles(), 700);
}

TEST_F(TrackCacheTest, AFlagsPositionThatIsNotAFlagsFieldChangesNothing)
{
    TrackCache cache;
    cache.open("device-1");
    cache.readHeader();
    Track track = uploaded("Song", "\\Music\\s.m4a", 10);
    ASSERT_EQ(cache.addTrack(track), 0);
    const QByteArray before = cacheBytes();
    Track wrong = track;
    wrong.setFlagsFilePosition(track.flagsFilePosition() - 4);
    EXPECT_EQ(cache.removeDeletedTrack(wrong), TrackCache::kFormatError);
    EXPECT_EQ(cache.addTrack(wrong), TrackCache::kFormatError);
    wrong.setFlagsFilePosition(0);
    EXPECT_EQ(cache.removeDeletedTrack(wrong), TrackCache::kFormatError);
    Track wrongId = track;
    wrongId.setIdFilePosition(track.idFilePosition() + 4);
    EXPECT_EQ(cache.addTrack(wrongId), TrackCache::kFormatError);
    EXPECT_EQ(cacheBytes(), before);
}

TEST_F(TrackCacheTest, TotalsNeverGoBelowZeroAndNeedTheHeader)
{
    TrackCache cache;
    ASSERT_EQ(cache.open("device-1"), TrackCache::kNewCacheFile);
    // After a new file, the total's place is known only once the header has been read.
    EXPECT_EQ(cache.setTotalSizeOfUploadedFiles(5), TrackCache::kFormatError);
    ASSERT_EQ(cache.readHeader(), 0);
    ASSERT_EQ(cache.incrementTotalSizeOfUploadedFiles(100), 0);
    ASSERT_EQ(cache.decrementTotalSizeOfUploadedFiles(250), 0);
    EXPECT_EQ(cache.totalSizeOfUploadedFiles(), 0);
    EXPECT_EQ(cacheBytes().mid(20, 12), taggedLong(0));
    ASSERT_EQ(cache.incrementTotalSizeOfUploadedFiles(0x123456789), 0);
    EXPECT_EQ(cacheBytes().mid(20, 12), taggedLong(0x123456789));
}

TEST_F(TrackCacheTest, AHeaderWithoutItsThirdFieldHoldsNoTracks)
{
    writeCache(raw(1000) + raw(1001) + taggedInt(1) + raw(1002) + taggedLong(0));
    TrackCache cache;
    ASSERT_EQ(cache.open("device-1"), 0);
    EXPECT_EQ(cache.readHeader(), TrackCache::kEndOfFile);
    TrackList list;
    EXPECT_EQ(cache.updateTrackList(list, -1), 0);
    EXPECT_EQ(list.count(), 0);
}

TEST_F(TrackCacheTest, ALimitedReadTakesTheTotalFromTheHeader)
{
    {
        TrackCache cache;
        cache.open("device-1");
        cache.readHeader();
        for (int i = 0; i < 5; ++i) {
            Track track = uploaded(QString("T%1").arg(i), QString("\\Music\\%1").arg(i), 10);
            cache.addTrack(track);
        }
    }
    TrackCache cache;
    cache.open("device-1");
    TrackList list;
    EXPECT_EQ(cache.updateTrackList(list, 2), 0);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.totalSizeOnDevice(), 50);
}

TEST_F(TrackCacheTest, ClearStartsOverAndKeepsTheIdentifiers)
{
    TrackCache cache;
    cache.open("device-1");
    cache.readHeader();
    Track track = uploaded("Song", "\\Music\\s.m4a", 10);
    cache.addTrack(track);
    ASSERT_EQ(cache.clear(), 0);
    EXPECT_EQ(cacheBytes(), header(0, 44));
    EXPECT_EQ(idBytes(), utf16("\\Music\\s.m4a"));
    TrackList list;
    EXPECT_EQ(cache.updateTrackList(list, -1), 0);
    EXPECT_EQ(list.count(), 0);
}

TEST_F(TrackCacheTest, OpenReportsSettingsAndFileProblems)
{
    TrackCache cache;
    EXPECT_EQ(cache.open("unknown-device"), SyncSettings::kDeviceNotFound);

    // The cache path comes from the settings file: one that leaves the KORDA folder is refused.
    SyncSettings settings;
    settings.load();
    settings.setConfig("hostile", true, 0, {}, {}, "Hostile");
    const QString outside = mHome.path() + "/outside-cache";
    settings.deviceElement("hostile").firstChildElement("cache").firstChild().setNodeValue(outside);
    settings.setConfig("dotdot", true, 0, {}, {}, "Dots");
    settings.deviceElement("dotdot").firstChildElement("cache").firstChild().setNodeValue(mHome.korda() +
                                                                                          "/../x");
    settings.setConfig("folder", true, 0, {}, {}, "Folder");
    settings.deviceElement("folder").firstChildElement("cache").firstChild().setNodeValue(mHome.korda() +
                                                                                          "/sub");
    ASSERT_EQ(settings.save(), 0);
    ASSERT_TRUE(QDir().mkpath(mHome.korda() + "/sub"));

    EXPECT_EQ(cache.open("hostile"), TrackCache::kCannotOpen);
    EXPECT_FALSE(QFileInfo::exists(outside));
    EXPECT_FALSE(QFileInfo::exists(outside + "p"));
    EXPECT_EQ(cache.open("dotdot"), TrackCache::kCannotOpen);
    EXPECT_FALSE(QFileInfo::exists(mHome.path() + "/x"));
    EXPECT_EQ(cache.open("folder"), TrackCache::kCannotOpen);
    EXPECT_FALSE(cache.isOpen());

    QFile::remove(SyncSettings::filePath());
    EXPECT_EQ(cache.open("device-1"), SyncSettings::kCannotOpen);
}

TEST_F(TrackCacheTest, AHomeReachedThroughALinkIsTheSameHome)
{
    // The settings name the cache by the path the home had then; the home is now reached through
    // a link (or the other way round). It is the same folder, and the same cache.
    const QString link = mHome.path() + "-link";
    ASSERT_TRUE(QFile::link(mHome.path(), link));
    qputenv("HOME", QFile::encodeName(link));
    TrackCache cache;
    EXPECT_EQ(cache.open("device-1"), TrackCache::kNewCacheFile);
    cache.close();
    qputenv("HOME", QFile::encodeName(mHome.path()));
    QFile::remove(link);
}

TEST_F(TrackCacheTest, DiscNumbersAboveOneAreKeptAndPartOfTheIdentity)
{
    TrackCache cache;
    cache.open("device-1");
    cache.readHeader();
    Track first = uploaded("Intro", "\\Music\\A\\B\\01 Intro.m4a", 10);
    Track second = uploaded("Intro", "\\Music\\A\\B\\01 Intro (2).m4a", 11);
    second.setDiscNumber(2);
    Track one = uploaded("Outro", "\\Music\\A\\B\\09 Outro.m4a", 12);
    one.setDiscNumber(1);
    const qint64 before = QFileInfo(mCachePath).size();
    ASSERT_EQ(cache.addTrack(first), 0);
    const qint64 recordSize = QFileInfo(mCachePath).size() - before;
    ASSERT_EQ(cache.addTrack(second), 0);
    ASSERT_EQ(cache.addTrack(one), 0);
    // Disc 1 writes no disc field: caches of tracks without discs are as they always were.
    EXPECT_EQ(QFileInfo(mCachePath).size() - before, 3 * recordSize + 12);
    cache.close();

    TrackCache again;
    again.open("device-1");
    TrackList list;
    ASSERT_EQ(again.updateTrackList(list, -1), 0);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.at(1).discNumber(), 2);
    EXPECT_EQ(list.at(0).discNumber(), 0);
    EXPECT_NE(list.at(0).uniqueId(), list.at(1).uniqueId());
    EXPECT_EQ(list.at(2).uniqueId(), "OutroAlbumArtist2"); // disc 1: today's identity
}

TEST_F(TrackCacheTest, ARewriteKeepsTheGivenRecordsWithTheirFlags)
{
    TrackCache cache;
    cache.open("device-1");
    cache.readHeader();
    TrackList tracks;
    Track converted = uploaded("Song", "\\Music\\s.mp3", 100);
    converted.setConvertedToMp3(true);
    Track deleted = uploaded("Gone", "\\Music\\g.m4a", 50);
    deleted.setOnRemoteDevice(false);
    Track disc = uploaded("Disc", "\\Music\\d.m4a", 7);
    disc.setDiscNumber(3);
    tracks.addTrack(converted);
    tracks.addTrack(deleted);
    tracks.addTrack(disc);
    writeCache("garbage that is no cache at all");
    cache.close();
    cache.openFiles(mCachePath);
    ASSERT_EQ(cache.rewrite(tracks), 0);
    EXPECT_EQ(cache.totalSizeOfUploadedFiles(), 107);
    // The positions the tracks now carry are those of their new records.
    ASSERT_EQ(cache.removeDeletedTrack(tracks.at(2)), 0);
    cache.close();

    TrackCache again;
    again.open("device-1");
    TrackList read;
    ASSERT_EQ(again.updateTrackList(read, -1), 0);
    ASSERT_EQ(read.count(), 3);
    EXPECT_TRUE(read.at(0).onRemoteDevice());
    EXPECT_TRUE(read.at(0).convertedToMp3());
    EXPECT_EQ(read.at(0).deviceId(), "\\Music\\s.mp3");
    EXPECT_FALSE(read.at(1).onRemoteDevice());
    EXPECT_FALSE(read.at(2).onRemoteDevice());
    EXPECT_EQ(read.at(2).discNumber(), 3);
    EXPECT_EQ(again.totalSizeOfUploadedFiles(), 100);
    EXPECT_EQ(idBytes(), utf16("\\Music\\s.mp3") + utf16("\\Music\\g.m4a") + utf16("\\Music\\d.m4a"));
}
