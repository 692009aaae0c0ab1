// Damaged and hostile caches: every variant must give a clear result code, keep the records read
// before the damage, never crash, never allocate more than the file could hold and never write
// outside the cache's own two files.
#include "settings/SyncSettings.h"
#include "support/ListedTexts.h"
#include "support/TestHome.h"
#include "tracks/CacheBytes.h"
#include "tracks/RecordFile.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace cachebytes;

namespace {

constexpr int kRecords = 8;

// Read directly, and found first then read with the library's texts (the two ways through).
class TrackCacheDamageTest : public ::testing::TestWithParam<Lending>
{
protected:
    void SetUp() override
    {
        mCachePath = mHome.korda() + "/mcache0";
        QDir().mkpath(mHome.korda());
        TrackCache cache;
        ASSERT_EQ(cache.openFiles(mCachePath), TrackCache::kNewCacheFile);
        ASSERT_EQ(cache.readHeader(), 0);
        for (int i = 0; i < kRecords; ++i) {
            Track track(QString("Track %1").arg(i), "Album", "Artist", i, QString("/music/%1.m4a").arg(i),
                        true, i % 3 != 0, false, QString("\\Music\\Artist\\Album\\%1.m4a").arg(i));
            track.setSizeOnDevice(1000 + i);
            track.setConvertToMp3(i % 2 == 0);
            ASSERT_EQ(cache.addTrack(track), 0);
            mRecordEnds.append(QFileInfo(mCachePath).size());
            if (i % 2 == 0)
                mLibrary->add(track.trackName(), track.albumName(), track.artistName(), track.path());
        }
        cache.close();
        mCache = readWholeFile(mCachePath);
        mIds = readWholeFile(mCachePath + "p");
    }

    void install(const QByteArray& aCache, const QByteArray& aIds)
    {
        for (const auto& [path, bytes] : {std::pair{mCachePath, aCache}, std::pair{mCachePath + "p", aIds}}) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_EQ(file.write(bytes), bytes.size());
        }
    }

    // Reads the installed files, then marks and re-uploads what it read, as a sync would.
    int readAndUse(TrackList& aList)
    {
        TrackCache cache;
        const int opened = cache.openFiles(mCachePath);
        EXPECT_TRUE(opened == TrackCache::kResultOk || opened == TrackCache::kNewCacheFile) << opened;
        const int result = cache.updateTrackList(aList, -1, lendingSource(GetParam(), mLibrary));
        EXPECT_TRUE(result == TrackCache::kResultOk || result == TrackCache::kFormatError ||
                    result == TrackCache::kReadFailed)
            << result;
        EXPECT_LE(aList.count(), kRecords + 1);
        for (Track& track : aList) {
            cache.removeDeletedTrack(track);
            track.setDeviceId("\\Music\\again");
            cache.addTrack(track);
        }
        return result;
    }

    void expectOnlyTheCacheFiles() const
    {
        EXPECT_EQ(QDir(mHome.korda()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
                  (QStringList{"mcache0", "mcache0p"}));
        EXPECT_EQ(QDir(mHome.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{"KORDA"});
    }

    TestHome mHome;
    QString mCachePath;
    QByteArray mCache;
    QByteArray mIds;
    QList<qint64> mRecordEnds;
    std::shared_ptr<ListedTexts> mLibrary = std::make_shared<ListedTexts>(); // every other track
};

INSTANTIATE_TEST_SUITE_P(Lendings, TrackCacheDamageTest,
                         ::testing::Values(Lending::NoLibrary, Lending::FromTheStart, Lending::Late));

} // namespace

TEST_P(TrackCacheDamageTest, ACacheCutAnywhereKeepsTheRecordsBeforeTheCut)
{
    for (int length = 0; length <= mCache.size(); ++length) {
        install(mCache.left(length), mIds);
        TrackList list;
        const int result = readAndUse(list);
        int whole = 0;
        while (whole < kRecords && mRecordEnds[whole] <= length)
            ++whole;
        // Every record that ends before the cut is read; a cut inside a record gives a format
        // error or, after a whole field, a shortened last record.
        ASSERT_GE(list.count(), whole) << "cut at " << length << ", result " << result;
        if (result != 0) {
            EXPECT_EQ(result, TrackCache::kFormatError) << "cut at " << length;
        }
        if (length == mCache.size()) { // not cut: read whole
            EXPECT_EQ(result, 0);
            EXPECT_EQ(list.count(), kRecords);
            EXPECT_EQ(list.at(kRecords - 1).path(), QString("/music/%1.m4a").arg(kRecords - 1));
        }
    }
}

TEST_P(TrackCacheDamageTest, AnIdsFileCutAnywhereGivesAFormatError)
{
    for (int length = 0; length < mIds.size(); length += 3) {
        install(mCache, mIds.left(length));
        TrackList list;
        const int result = readAndUse(list);
        EXPECT_EQ(result, TrackCache::kFormatError) << "cut at " << length;
        EXPECT_LT(list.count(), kRecords);
    }
}

TEST_P(TrackCacheDamageTest, HostileLengthsAndOffsetsAreRefusedWithoutAllocating)
{
    const qint32 hostile[] = {0x7fffffff, static_cast<qint32>(0x80000000), -1, -2, 0x40000000, 1000000001, 3,
                              0x7ffffffe};
    // Every four-byte word of the file in turn takes each hostile value.
    for (int at = 0; at + 4 <= mCache.size(); at += 4) {
        for (qint32 value : hostile) {
            QByteArray damaged = mCache;
            damaged.replace(at, 4, raw(value));
            install(damaged, mIds);
            TrackList list;
            readAndUse(list);
        }
    }
    // The 64-bit identifier offsets, pointed far past the IDs file or below its start.
    const QByteArray record = raw(0) + raw(1) + string("x") + raw(9) + raw(8);
    for (qint64 offset : {qint64(1) << 40, qint64(-8), qint64(mIds.size()), qint64(0x7fffffff)}) {
        QByteArray offsetBytes(8, '\0');
        qToLittleEndian(offset, offsetBytes.data());
        install(header(0, 44) + record + offsetBytes + raw(10) + taggedInt(4), mIds);
        TrackList list;
        EXPECT_EQ(readAndUse(list), TrackCache::kFormatError);
        EXPECT_EQ(list.count(), 0);
    }
    expectOnlyTheCacheFiles();
}

TEST_P(TrackCacheDamageTest, RandomDamageNeverCrashes)
{
    QRandomGenerator random(20261206);
    for (int round = 0; round < 1500; ++round) {
        QByteArray damaged = mCache;
        QByteArray ids = mIds;
        const int changes = 1 + random.bounded(8);
        for (int c = 0; c < changes; ++c) {
            const int at = random.bounded(damaged.size());
            switch (random.bounded(4)) {
            case 0:
                damaged[at] = static_cast<char>(random.bounded(256));
                break;
            case 1:
                damaged.truncate(at);
                break;
            case 2:
                damaged.insert(at, QByteArray(random.bounded(1, 9), static_cast<char>(random.bounded(256))));
                break;
            case 3:
                ids.truncate(random.bounded(ids.size() + 1));
                break;
            }
            if (damaged.isEmpty())
                break;
        }
        install(damaged, ids);
        TrackList list;
        readAndUse(list);
        // Marking and re-uploading stays inside the two files, and never grows the cache by more
        // than one record per track read.
        EXPECT_LE(QFileInfo(mCachePath).size(), damaged.size() + 200 * (list.count() + 1));
    }
    expectOnlyTheCacheFiles();
}

TEST_P(TrackCacheDamageTest, AWrongFormatMarkOrAnUnknownFieldIsAFormatError)
{
    QByteArray wrongMark = mCache;
    wrongMark.replace(0, 4, raw(999));
    install(wrongMark, mIds);
    TrackList none;
    EXPECT_EQ(readAndUse(none), TrackCache::kFormatError);
    EXPECT_EQ(none.count(), 0);

    // Field id 6 does not exist: the records before it stay usable.
    QByteArray unknownField = mCache.left(static_cast<int>(mRecordEnds[2])) + raw(0) + raw(6) + taggedInt(1);
    install(unknownField, mIds);
    TrackList some;
    EXPECT_EQ(readAndUse(some), TrackCache::kFormatError);
    EXPECT_EQ(some.count(), 3);
    EXPECT_EQ(some.at(2).trackName(), "Track 2");
}

// Allocations are capped: a length read from a damaged file that the reader believed would end
// the test with an allocation failure instead of passing unnoticed.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=0:max_allocation_size_mb=64";
}

TEST(RecordFile, AValueLongerThanTheWindowReadBackwardsComesWhole)
{
    // Identifiers are read backwards; one longer than the 64 KB window once made it start after
    // the value (a read from before the buffer).
    TestHome home;
    QByteArray content(300000, '\0');
    for (int i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 7);
    RecordFile file;
    ASSERT_TRUE(file.open(home.path() + "/ids"));
    qint64 start = 0;
    ASSERT_TRUE(file.append(content, start));
    QByteArray read(100000, '\0');
    ASSERT_EQ(file.readAt(200000, read.data(), 10), RecordFile::ReadOk);
    ASSERT_EQ(file.readAt(1000, read.data(), 100000), RecordFile::ReadOk);
    EXPECT_EQ(read, content.mid(1000, 100000));
}
