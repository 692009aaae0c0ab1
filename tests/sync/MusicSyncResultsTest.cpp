// Results of whole runs that must hold on real libraries: nothing reported as copied that was not,
// no two tracks sharing one file, runs with nothing to do that change nothing, and a damaged
// cache or a vanished playlist that costs no track.
#include "support/FileSizeLimit.h"
#include "support/SyncFixture.h"

#include "tracks/Track.h"
#include "tracks/TrackCache.h"
#include "tracks/TrackList.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

namespace {

const QString kRockSong2 = "Music/Stone Band/Heavy/2 Rock Song.mp3";

QString media(const SyncFixture& aFixture)
{
    return aFixture.home.path() + "/Music/iTunes/iTunes Media/";
}

// A drive slow to take album art, so that the front end's cancel arrives during the refresh.
class SlowArtDrive : public UsbMSDevice
{
public:
    using UsbMSDevice::UsbMSDevice;
    void uploadAlbumArt(const Track& aTrack, const QString& aImagePath) override
    {
        QThread::msleep(300);
        UsbMSDevice::uploadAlbumArt(aTrack, aImagePath);
    }
};

} // namespace

TEST(MusicSyncResults, AMissingFileIsReportedWithItsReasonNotRecordedAndTriedAgain)
{
    SyncFixture fixture;
    fixture.configure({"Rock"});
    const QString source = media(fixture) + kRockSong2;
    ASSERT_TRUE(QFile::rename(source, source + ".away"));
    const SyncOutcome first = fixture.run();
    EXPECT_EQ(first.state, SyncState::Complete);
    ASSERT_EQ(first.nonCopied, QStringList{"Rock Song 2"});
    EXPECT_TRUE(first.nonCopiedReasons.value(0).contains("missing"))
        << first.nonCopiedReasons.value(0).toStdString();
    EXPECT_EQ(fixture.cachedOnDevice().size(), 2); // not recorded
    EXPECT_FALSE(QFileInfo::exists(fixture.root + kRockSong2));
    // The playlist has no line for it: no "#EXTINF" followed by a path naming nothing.
    const QByteArray playlist = readWholeFile(fixture.root + "Playlists_VLT/Rock.m3u");
    EXPECT_EQ(playlist.count("#EXTINF"), 2);
    EXPECT_FALSE(playlist.contains("\r\n\r\n"));
    EXPECT_FALSE(playlist.contains("Rock Song 2"));

    // Back on the computer: the next run copies it and lists it.
    ASSERT_TRUE(QFile::rename(source + ".away", source));
    const SyncOutcome second = fixture.run();
    EXPECT_TRUE(second.nonCopied.isEmpty());
    EXPECT_EQ(fixture.cachedOnDevice().size(), 3);
    EXPECT_EQ(readWholeFile(fixture.root + "Playlists_VLT/Rock.m3u").count("#EXTINF"), 3);
}

TEST(MusicSyncResults, TwoTracksWithOneDevicePathGetAFileEach)
{
    SyncFixture fixture;
    // Two albums both tagged "Unknown" by the same artist, each with its "01 Intro.mp3".
    const int first = fixture.addTrack("Intro A", "Someone", "Unknown", "Music/x/Unknown/01 Intro.mp3");
    const int second = fixture.addTrack("Intro B", "Someone", "Unknown", "Music/y/Unknown/01 Intro.mp3");
    fixture.addPlaylist("Intros", {first, second});
    fixture.addPlaylist("First only", {first});
    fixture.writeLibrary();
    fixture.configure({"Intros"});
    const SyncOutcome outcome = fixture.run();
    ASSERT_EQ(outcome.state, SyncState::Complete);
    EXPECT_TRUE(outcome.nonCopied.isEmpty());
    const QString folder = fixture.root + "Music/Someone/Unknown/";
    EXPECT_TRUE(QFileInfo::exists(folder + "01 Intro.mp3"));
    EXPECT_TRUE(QFileInfo::exists(folder + "01 Intro (2).mp3"));
    const QMap<QString, qint64> cached = fixture.cachedOnDevice();
    EXPECT_EQ(cached.size(), 2);
    const QByteArray playlist = readWholeFile(fixture.root + "Playlists_VLT/Intros.m3u");
    EXPECT_TRUE(playlist.contains("\\Music\\Someone\\Unknown\\01 Intro.mp3\r\n"));
    EXPECT_TRUE(playlist.contains("\\Music\\Someone\\Unknown\\01 Intro (2).mp3\r\n"));

    // A second run copies nothing; deselecting one deletes its own file only.
    EXPECT_TRUE(fixture.run().copyingPercentages.isEmpty());
    fixture.configure({"First only"});
    const SyncOutcome after = fixture.run();
    EXPECT_EQ(after.deleteQuestions, 1);
    EXPECT_EQ(fixture.cachedOnDevice().size(), 1);
    EXPECT_EQ(QDir(folder).entryList({"*.mp3"}, QDir::Files).size(), 1);
    EXPECT_EQ(fixture.cachedOnDevice().size(), 1);
}

TEST(MusicSyncResults, ACacheWhereTwoTracksShareAFileIsRepairedWithoutDeletingIt)
{
    SyncFixture fixture;
    const int first = fixture.addTrack("Intro A", "Someone", "Unknown", "Music/x/Unknown/01 Intro.mp3");
    const int second = fixture.addTrack("Intro B", "Someone", "Unknown", "Music/y/Unknown/01 Intro.mp3");
    fixture.addPlaylist("A", {first});
    fixture.addPlaylist("Both", {first, second});
    fixture.writeLibrary();
    fixture.configure({"A"});
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    // As an earlier version left it: B recorded as on the device, in A's file.
    {
        TrackCache cache;
        ASSERT_EQ(cache.open(fixture.device->UniqueDeviceId()), 0);
        cache.readHeader();
        Track shared("Intro B", "Unknown", "Someone", 1,
                     fixture.home.path() + "/Music/y/Unknown/01 Intro.mp3", false, true, false,
                     "\\Music\\Someone\\Unknown\\01 Intro.mp3");
        shared.setSizeOnDevice(10);
        ASSERT_EQ(cache.addTrack(shared), 0);
    }
    // B is not chosen: its record goes, the file A needs stays.
    const SyncOutcome outcome = fixture.run();
    EXPECT_EQ(outcome.deleteQuestions, 0);
    EXPECT_TRUE(QFileInfo::exists(fixture.root + "Music/Someone/Unknown/01 Intro.mp3"));
    EXPECT_EQ(fixture.cachedOnDevice().size(), 1);
    // Chosen, B gets a file of its own.
    fixture.configure({"Both"});
    EXPECT_EQ(fixture.run().state, SyncState::Complete);
    EXPECT_TRUE(QFileInfo::exists(fixture.root + "Music/Someone/Unknown/01 Intro (2).mp3"));
    EXPECT_EQ(fixture.cachedOnDevice().size(), 2);
}

TEST(MusicSyncResults, TheSameTrackNumberOnTwoDiscsIsTwoTracks)
{
    SyncFixture fixture;
    const int discOne = fixture.addTrack("Intro", "Band", "Double", "Music/Band/Double/1-01 Intro.mp3", 1, 1);
    const int discTwo = fixture.addTrack("Intro", "Band", "Double", "Music/Band/Double/2-01 Intro.mp3", 1, 2);
    fixture.addPlaylist("Double", {discOne, discTwo});
    fixture.writeLibrary();
    fixture.configure({"Double"});
    const SyncOutcome outcome = fixture.run();
    EXPECT_EQ(outcome.copyingPercentages.size(), 2);
    EXPECT_TRUE(QFileInfo::exists(fixture.root + "Music/Band/Double/1-01 Intro.mp3"));
    EXPECT_TRUE(QFileInfo::exists(fixture.root + "Music/Band/Double/2-01 Intro.mp3"));
    const SyncOutcome again = fixture.run();
    EXPECT_TRUE(again.copyingPercentages.isEmpty());
    EXPECT_EQ(again.deleteQuestions, 0);
}

TEST(MusicSyncResults, RunsWithNothingToDoChangeNothingOnTheDrive)
{
    SyncFixture fixture;
    fixture.configure({"Rock", "Jazz"}, SyncSettings::PodcastsAll);
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    auto snapshot = [&fixture] {
        QMap<QString, QPair<QDateTime, QByteArray>> files;
        QDirIterator it(fixture.root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files.insert(path, {QFileInfo(path).lastModified(), readWholeFile(path)});
        }
        return files;
    };
    const auto before = snapshot();
    QThread::msleep(20);
    for (int run = 0; run < 5; ++run) {
        const SyncOutcome outcome = fixture.run();
        ASSERT_EQ(outcome.state, SyncState::Complete);
        EXPECT_TRUE(outcome.copyingPercentages.isEmpty());
    }
    const auto after = snapshot();
    EXPECT_EQ(after.keys(), before.keys()); // no new metadata file, no new playlist
    for (const QString& path : before.keys()) {
        EXPECT_EQ(after.value(path).second, before.value(path).second) << path.toStdString();
        EXPECT_EQ(after.value(path).first, before.value(path).first) << path.toStdString();
    }
    // The art of new tracks goes before the tracks: the hint names their folders, no blank line.
    const QList<QByteArray> hints = readWholeFile(fixture.root + "KORDA/refreshhint").split('\n');
    for (qsizetype i = 0; i + 1 < hints.size(); ++i)
        EXPECT_NE(hints[i], "\r") << i;
    EXPECT_TRUE(hints.contains("\\Music\\Stone Band\\Heavy\r"));
}

TEST(MusicSyncResults, AVanishedPlaylistDeletesNothingAndIsNamed)
{
    SyncFixture fixture;
    fixture.configure({"Rock", "Jazz"});
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    fixture.removePlaylist("Jazz"); // renamed or deleted in iTunes
    fixture.writeLibrary();
    const SyncOutcome outcome = fixture.run();
    EXPECT_EQ(outcome.state, SyncState::Complete);
    EXPECT_EQ(outcome.deleteQuestions, 0);
    EXPECT_EQ(outcome.missingPlaylists, QStringList{"Jazz"});
    EXPECT_EQ(fixture.cachedOnDevice().size(), 5);
    // Reconfigured, the run deletes what is no longer chosen.
    fixture.configure({"Rock"});
    const SyncOutcome reconfigured = fixture.run();
    EXPECT_EQ(reconfigured.deleteQuestions, 1);
    EXPECT_TRUE(reconfigured.missingPlaylists.isEmpty());
    EXPECT_EQ(fixture.cachedOnDevice().size(), 3);
}

TEST(MusicSyncResults, ADamagedCacheKeepsTheRecordsBeforeTheDamage)
{
    SyncFixture fixture;
    fixture.configure({"Rock", "Jazz"});
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    SyncSettings settings;
    settings.load();
    QString cachePath;
    settings.getCacheFilename(fixture.device->UniqueDeviceId(), cachePath);
    {
        // Damage after the five records: an unknown field.
        QFile cache(cachePath);
        ASSERT_TRUE(cache.open(QIODevice::Append));
        cache.write(QByteArray("\x00\x00\x00\x00\x63\x00\x00\x00", 8));
    }
    // The five tracks are still known: deselecting Jazz deletes its two files.
    fixture.configure({"Rock"});
    const SyncOutcome outcome = fixture.run();
    EXPECT_EQ(outcome.deleteQuestions, 1);
    EXPECT_TRUE(fixture.musicOnDrive().filter(".m4a").isEmpty());
    EXPECT_EQ(fixture.cachedOnDevice().size(), 3);
    // And the cache was written anew: whole and readable.
    TrackCache cache;
    ASSERT_EQ(cache.open(fixture.device->UniqueDeviceId()), 0);
    TrackList tracks;
    EXPECT_EQ(cache.updateTrackList(tracks, -1), 0);
    EXPECT_EQ(tracks.count(), 5);
}

TEST(MusicSyncResults, ACacheThatCantBeWrittenMidRunEndsItAndTheNextRunRecordsWhatArrived)
{
    // On the simulated phone the run writes no file of its own but the cache (and small ones).
    SyncFixture fixture(SyncFixture::Target::Phone);
    fixture.configure({"Rock", "Jazz"});
    fixture.slowDown();
    SyncSettings settings;
    settings.load();
    QString cachePath;
    settings.getCacheFilename(fixture.device->UniqueDeviceId(), cachePath);
    std::unique_ptr<FileSizeLimit> full;
    SyncFixture::RunOptions fill;
    fill.whileCopying = [&](SyncRun&, int aPercent) {
        // The computer's disk is full from the second track on: the cache can't grow.
        if (aPercent >= 20 && !full)
            full = std::make_unique<FileSizeLimit>(static_cast<rlim_t>(
                std::max(QFileInfo(cachePath).size(), QFileInfo(cachePath + "p").size()) + 16));
    };
    const SyncOutcome outcome = fixture.run(fill);
    full.reset();
    EXPECT_EQ(outcome.state, SyncState::Fault);
    EXPECT_TRUE(outcome.failureReason.contains("track cache")) << outcome.failureReason.toStdString();
    const int recorded = fixture.cachedOnDevice().size();
    EXPECT_LT(recorded, 5);
    EXPECT_GT(fixture.musicOnDrive().filter(".m").size(), recorded); // one arrived unrecorded
    // With room again, the next run completes, each track once.
    EXPECT_EQ(fixture.run().state, SyncState::Complete);
    EXPECT_EQ(fixture.cachedOnDevice().size(), 5);
    EXPECT_EQ(fixture.musicOnDrive().filter(".m").size(), 5);
}

TEST(MusicSyncResults, ACancelledArtRefreshIsDoneAgainNextTime)
{
    SyncFixture fixture;
    fixture.replaceDrive(std::make_unique<SlowArtDrive>(fixture.root, "Player", true, fixture.prober));
    fixture.configure({"Rock"});
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    const QString id = fixture.device->UniqueDeviceId();
    {
        SyncSettings settings;
        settings.load();
        settings.setForceArtworkSync(id, true);
        settings.save();
    }
    SyncFixture::RunOptions cancel;
    cancel.onState = [](SyncRun& aRun, int aState) {
        if (aState == SyncState::AlbumArt)
            aRun.cancel();
    };
    EXPECT_EQ(fixture.run(cancel).state, SyncState::Cancelled);
    SyncSettings settings;
    settings.load();
    EXPECT_TRUE(settings.forceArtworkSync(id));
    EXPECT_EQ(fixture.run().state, SyncState::Complete);
    settings.load();
    EXPECT_FALSE(settings.forceArtworkSync(id));
}
