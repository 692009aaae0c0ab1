#include "devices/mtp/MtpResult.h"
#include "support/AudioFixtures.h"
#include "support/FileSizeLimit.h"
#include "support/SyncFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const QStringList kRockFiles = {"Music/Stone Band/Heavy/1 Rock Song.mp3",
                                "Music/Stone Band/Heavy/2 Rock Song.mp3",
                                "Music/Stone Band/Heavy/3 Rock Song.mp3"};
const QStringList kJazzFiles = {"Music/Cool Trio/Blue/1 Jazz Tune.m4a",
                                "Music/Cool Trio/Blue/2 Jazz Tune.m4a"};

// Every whole-run test runs on a USB drive and on a phone.
class WholeRun : public ::testing::TestWithParam<SyncFixture::Target>
{
protected:
    SyncFixture fixture{GetParam()};

    QStringList withArt(QStringList aFiles, const QStringList& aAlbums) const
    {
        for (const QString& album : aAlbums)
            aFiles.append(album + "/" + fixture.artFile());
        aFiles.sort();
        return aFiles;
    }
    bool onDrive() const { return !fixture.onPhone(); }
};

} // namespace

TEST_P(WholeRun, TheFirstRunCopiesEverythingChosenAndTheSecondNothing)
{
    fixture.configure({"Rock", "Jazz"});
    const SyncOutcome first = fixture.run();
    ASSERT_EQ(first.state, SyncState::Complete);
    EXPECT_EQ(fixture.musicOnDrive(),
              withArt(kRockFiles + kJazzFiles, {"Music/Stone Band/Heavy", "Music/Cool Trio/Blue"}));
    EXPECT_EQ(first.states.first(), SyncState::Preparing);
    EXPECT_TRUE(first.states.contains(SyncState::Copying));
    EXPECT_EQ(first.states.last(), SyncState::Complete);
    // Percentages before each of the five uploads: 0, 20, 40, 60, 80.
    EXPECT_EQ(first.copyingPercentages, (QList<int>{0, 20, 40, 60, 80}));

    // Each copy is the file itself, and the cache knows every one with its size.
    EXPECT_EQ(fixture.readOnDevice(kRockFiles[0]),
              readWholeFile(fixture.home.path() + "/Music/iTunes/iTunes Media/" + kRockFiles[0]));
    const QMap<QString, qint64> cached = fixture.cachedOnDevice();
    ASSERT_EQ(cached.size(), 5);
    for (const QString& file : kRockFiles + kJazzFiles) {
        QString devicePath = "\\" + file;
        devicePath.replace('/', '\\');
        ASSERT_TRUE(cached.contains(devicePath)) << devicePath.toStdString();
        EXPECT_EQ(cached.value(devicePath), fixture.readOnDevice(file).size());
    }

    // The playlists name the files, in playlist order.
    const QByteArray prefix = fixture.playlistPathPrefix();
    EXPECT_EQ(fixture.readOnDevice("Playlists_VLT/Jazz.m3u"),
              "#EXTM3U\r\n#EXTINF:0,Jazz Tune 1\r\n" + prefix +
                  "\\Music\\Cool Trio\\Blue\\1 Jazz Tune.m4a\r\n" + "#EXTINF:0,Jazz Tune 2\r\n" + prefix +
                  "\\Music\\Cool Trio\\Blue\\2 Jazz Tune.m4a\r\n");
    if (onDrive()) {
        const QByteArray metadata = readWholeFile(fixture.root + "KORDA/metadata0.xml");
        EXPECT_EQ(metadata.count("<track "), 5);
        EXPECT_TRUE(metadata.contains("</metadata>"));
    } else {
        EXPECT_EQ(fixture.readOnDevice("KORDA/synccomplete"), "sync-complete");
    }

    // The wide, half transparent cover: fitted into 300 x 150, transparent parts white.
    const QImage art = QImage::fromData(fixture.readOnDevice("Music/Cool Trio/Blue/" + fixture.artFile()));
    ASSERT_FALSE(art.isNull());
    EXPECT_EQ(art.size(), QSize(300, 150));
    EXPECT_GT(qGray(art.pixel(20, 75)), 240);
    EXPECT_LT(art.pixelColor(280, 75).red(), 80);

    const SyncOutcome second = fixture.run();
    EXPECT_EQ(second.state, SyncState::Complete);
    EXPECT_TRUE(second.copyingPercentages.isEmpty());
    EXPECT_EQ(second.deleteQuestions, 0);
    if (onDrive()) {
        EXPECT_FALSE(QFileInfo::exists(fixture.root + "KORDA/metadata1.xml"));
    }
    EXPECT_EQ(fixture.cachedOnDevice().size(), 5);
}

TEST_P(WholeRun, AnUnchosenPlaylistsTracksAreDeletedAfterConfirmation)
{
    fixture.configure({"Rock", "Jazz"});
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    fixture.configure({"Rock"});
    const SyncOutcome outcome = fixture.run();
    EXPECT_EQ(outcome.state, SyncState::Complete);
    EXPECT_EQ(outcome.deleteQuestions, 1);
    EXPECT_EQ(fixture.musicOnDrive(),
              withArt(kRockFiles, {"Music/Stone Band/Heavy", "Music/Cool Trio/Blue"})); // the art file stays
    EXPECT_EQ(fixture.cachedOnDevice().size(), 3);
    // A playlist no longer chosen: emptied on a drive, deleted on a phone.
    if (onDrive()) {
        EXPECT_EQ(fixture.readOnDevice("Playlists_VLT/Jazz.m3u"), QByteArray("#EXTM3U\r\n"));
    } else {
        EXPECT_FALSE(fixture.existsOnDevice("Playlists_VLT/Jazz.m3u"));
    }
}

TEST_P(WholeRun, DecliningTheDeletionEndsCancelledWithNothingCopied)
{
    fixture.configure({"Rock", "Jazz"});
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    fixture.addPlaylistWithNewTrack("Fresh", "Brand New");
    fixture.configure({"Fresh"});
    SyncFixture::RunOptions decline;
    decline.confirmDelete = false;
    const SyncOutcome outcome = fixture.run(decline);
    EXPECT_EQ(outcome.state, SyncState::Cancelled);
    EXPECT_EQ(outcome.deleteQuestions, 1);
    EXPECT_FALSE(fixture.existsOnDevice("Music/Stone Band/Heavy/Brand New.mp3"));
    EXPECT_EQ(fixture.musicOnDrive().size(), 7);
    // A run that copies nothing leaves no empty metadata file.
    if (onDrive()) {
        EXPECT_FALSE(QFileInfo::exists(fixture.root + "KORDA/metadata1.xml"));
    }
}

TEST_P(WholeRun, AFullResyncForgetsTheCacheAndAsksNothing)
{
    fixture.configure({"Rock", "Jazz"});
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    fixture.configure({"Rock"});
    if (onDrive())
        fixture.setFreeSpace(10); // no space warning on a full resync (a phone would refuse the copies)
    SyncFixture::RunOptions force;
    force.force = true;
    const SyncOutcome outcome = fixture.run(force);
    EXPECT_EQ(outcome.state, SyncState::Complete);
    EXPECT_EQ(outcome.deleteQuestions, 0);
    EXPECT_EQ(outcome.spaceShortfall, -1);
    EXPECT_EQ(outcome.copyingPercentages.size(), 3);
    EXPECT_EQ(fixture.cachedOnDevice().size(), 3);
}

TEST_P(WholeRun, AForcedRunReplacesACopyOfTheSameSizeWithOtherContent)
{
    fixture.configure({"Rock"});
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    const QByteArray original = fixture.readOnDevice(kRockFiles[0]);
    QByteArray other = original;
    other[other.size() / 2] = static_cast<char>(other[other.size() / 2] ^ 0x55);
    fixture.writeOnDevice(kRockFiles[0], other);
    SyncFixture::RunOptions force;
    force.force = true;
    ASSERT_EQ(fixture.run(force).state, SyncState::Complete);
    EXPECT_EQ(fixture.readOnDevice(kRockFiles[0]), original);
}

TEST_P(WholeRun, AConversionThatFailsCopiesNothingOfTheTrack)
{
    const int id = fixture.addTrack("Long Tune", "Cool Trio", "Long", "Music/long/Long Tune.m4a", 1, 0, 20.0);
    fixture.addPlaylist("Long", {id});
    fixture.writeLibrary();
    fixture.configure({"Long"}, SyncSettings::PodcastsNone, 0, true);
    SyncOutcome failed;
    {
        // The computer's disk fills while ffmpeg writes the MP3: it stops half way, with an error.
        FileSizeLimit full(100000);
        ASSERT_TRUE(full.active());
        failed = fixture.run();
    }
    EXPECT_EQ(failed.nonCopied, QStringList{"Long Tune"});
    EXPECT_TRUE(failed.nonCopiedReasons.value(0).contains("conversion"))
        << failed.nonCopiedReasons.value(0).toStdString();
    EXPECT_TRUE(fixture.musicOnDrive().filter("Long Tune").isEmpty());
    EXPECT_TRUE(fixture.cachedOnDevice().isEmpty());
    // With room again the next run copies the whole MP3.
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    EXPECT_EQ(fixtures::probeCodec(fixture.localCopyOf("Music/Cool Trio/Long/Long Tune.mp3")), "mp3");
}

TEST_P(WholeRun, ConvertingGivesRealMp3sNamedAsTheirDevicePaths)
{
    fixture.configure({"Jazz"}, SyncSettings::PodcastsNone, 0, true);
    const SyncOutcome converted = fixture.run();
    ASSERT_EQ(converted.state, SyncState::Complete);
    const QStringList mp3s = {"Music/Cool Trio/Blue/1 Jazz Tune.mp3", "Music/Cool Trio/Blue/2 Jazz Tune.mp3"};
    EXPECT_EQ(fixture.musicOnDrive(), withArt(mp3s, {"Music/Cool Trio/Blue"}));
    for (const QString& file : mp3s)
        EXPECT_EQ(fixtures::probeCodec(fixture.localCopyOf(file)), "mp3") << file.toStdString();
    EXPECT_TRUE(
        fixture.readOnDevice("Playlists_VLT/Jazz.m3u")
            .contains(fixture.playlistPathPrefix() + "\\Music\\Cool Trio\\Blue\\1 Jazz Tune.mp3\r\n"));

    // Conversion off: the MP3s are other tracks now; they are replaced by the originals.
    fixture.configure({"Jazz"}, SyncSettings::PodcastsNone, 0, false);
    const SyncOutcome original = fixture.run();
    ASSERT_EQ(original.state, SyncState::Complete);
    EXPECT_EQ(original.deleteQuestions, 1);
    EXPECT_EQ(fixture.musicOnDrive(), withArt(kJazzFiles, {"Music/Cool Trio/Blue"}));
    EXPECT_EQ(fixtures::probeCodec(fixture.localCopyOf(kJazzFiles[0])), "aac");
}

TEST_P(WholeRun, PodcastsKeepTheNewestEpisodes)
{
    fixture.configure({}, SyncSettings::PodcastsSelected, 3);
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    EXPECT_EQ(fixture.musicOnDrive(),
              (QStringList{"Music/Podcasts/Weekly/Episode 3.mp3", "Music/Podcasts/Weekly/Episode 4.mp3",
                           "Music/Podcasts/Weekly/Episode 5.mp3"}));
    EXPECT_TRUE(fixture.readOnDevice("Playlists_VLT/Weekly.m3u")
                    .startsWith("#EXTM3U\r\n#EXTINF:0,Episode 5\r\n" + fixture.playlistPathPrefix() +
                                "\\Music\\Podcasts\\Weekly\\Episode 5.mp3\r\n"));
    fixture.configure({}, SyncSettings::PodcastsAll, 0);
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    EXPECT_EQ(fixture.musicOnDrive().size(), 5);
}

TEST_P(WholeRun, ProtectedAndNotDownloadedTracksAreReported)
{
    fixture.configure({"Locked", "Rock"});
    const SyncOutcome outcome = fixture.run();
    EXPECT_EQ(outcome.state, SyncState::Complete);
    EXPECT_EQ(outcome.drmReports, 1);
    EXPECT_EQ(outcome.notDownloadedReports, 1);
    EXPECT_EQ(fixture.musicOnDrive().size(), 4);
}

TEST_P(WholeRun, TooLittleSpaceIsAskedAboutAndCanBeCancelled)
{
    fixture.configure({"Rock"});
    fixture.setFreeSpace(1000);
    const SyncOutcome outcome = fixture.run();
    EXPECT_GT(outcome.spaceShortfall, 0);
    EXPECT_EQ(outcome.state, SyncState::Cancelled);
    EXPECT_TRUE(fixture.musicOnDrive().isEmpty());
}

TEST_P(WholeRun, CancellingDuringTheCopyStopsAfterTheCurrentTrack)
{
    fixture.slowDown();
    fixture.configure({"Rock", "Jazz"});
    SyncFixture::RunOptions cancel;
    cancel.whileCopying = [](SyncRun& aRun, int aPercent) {
        if (aPercent >= 20)
            aRun.cancel();
    };
    const SyncOutcome outcome = fixture.run(cancel);
    EXPECT_EQ(outcome.state, SyncState::Cancelled);
    const int copied = fixture.cachedOnDevice().size();
    EXPECT_GE(copied, 1);
    EXPECT_LT(copied, 5);
    if (onDrive()) {
        EXPECT_TRUE(readWholeFile(fixture.root + "KORDA/metadata0.xml").trimmed().endsWith("</metadata>"));
    }
    EXPECT_FALSE(fixture.existsOnDevice("Playlists_VLT/Rock.m3u"));
    // Nothing but whole tracks is on the device (a phone's copy stops within a block).
    EXPECT_EQ(fixture.musicOnDrive().filter(".m").size(), copied);
    // The next run completes the job.
    EXPECT_EQ(fixture.run().state, SyncState::Complete);
    EXPECT_EQ(fixture.cachedOnDevice().size(), 5);
}

TEST_P(WholeRun, EarlyEndsReportTheirStates)
{
    // Not configured: the settings know another device only.
    SyncSettings other;
    other.load();
    other.setConfig("another device", true, 0, {}, {}, "Other");
    EXPECT_EQ(fixture.run().state, SyncState::NotConfigured);
    // No settings file at all.
    QFile::remove(SyncSettings::filePath());
    EXPECT_EQ(fixture.run().state, SyncState::SettingsUnreadable);
    // A cache that can't be opened ends as a fault, with the device finalised.
    fixture.configure({"Rock"});
    SyncSettings settings;
    settings.load();
    QString cachePath;
    settings.getCacheFilename(fixture.device->UniqueDeviceId(), cachePath);
    QDir().mkpath(cachePath);
    EXPECT_EQ(fixture.run().state, SyncState::Fault);
    EXPECT_TRUE(fixture.musicOnDrive().isEmpty());
}

TEST_P(WholeRun, NoMusicOffersEveryMusicTrackForDeletion)
{
    fixture.configure({"Rock"}, SyncSettings::PodcastsSelected, 1);
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    fixture.configure({}, SyncSettings::PodcastsSelected, 1); // "###DONT-SYNC-MUSIC###"
    const SyncOutcome outcome = fixture.run();
    EXPECT_EQ(outcome.deleteQuestions, 1);
    EXPECT_EQ(fixture.musicOnDrive(),
              withArt({"Music/Podcasts/Weekly/Episode 5.mp3"}, {"Music/Stone Band/Heavy"}));
}

INSTANTIATE_TEST_SUITE_P(Targets, WholeRun,
                         ::testing::Values(SyncFixture::Target::Drive, SyncFixture::Target::Phone),
                         [](const ::testing::TestParamInfo<SyncFixture::Target>& aInfo) {
                             return aInfo.param == SyncFixture::Target::Drive ? "Drive" : "Phone";
                         });

TEST(MusicSyncOnPhones, ADeletionThatFailsKeepsItsRecordAndIsDoneByTheNextRun)
{
    SyncFixture fixture(SyncFixture::Target::Phone);
    fixture.configure({"Rock", "Jazz"});
    ASSERT_EQ(fixture.run().state, SyncState::Complete);
    fixture.configure({"Rock"});
    fixture.phone->failDeletes(fixture.phoneStorage, kJazzFiles[0], MtpResult::kFailed);
    EXPECT_EQ(fixture.run().state, SyncState::Complete);
    fixture.phone->failDeletes(fixture.phoneStorage, kJazzFiles[0], MtpResult::kOk);
    EXPECT_EQ(fixture.musicOnDrive().filter(".m4a").size(), 1);
    EXPECT_EQ(fixture.cachedOnDevice().size(), 4); // the one not deleted is still known
    const SyncOutcome next = fixture.run();
    EXPECT_EQ(next.deleteQuestions, 1);
    EXPECT_TRUE(fixture.musicOnDrive().filter(".m4a").isEmpty());
    EXPECT_EQ(fixture.cachedOnDevice().size(), 3);
}

TEST(MusicSyncOnPhones, TheProgressMovesWhileATrackIsCopied)
{
    SyncFixture fixture(SyncFixture::Target::Phone);
    const int id = fixture.addTrack("Long", "Band", "Long Album", "Music/long/Long.mp3", 1, 0, 40.0);
    fixture.addPlaylist("Long", {id});
    fixture.writeLibrary();
    fixture.configure({"Long"});
    const SyncOutcome outcome = fixture.run();
    ASSERT_EQ(outcome.state, SyncState::Complete);
    EXPECT_EQ(outcome.copyingPercentages, QList<int>{0});
    // The one track's copy moved the percentage on its way (several blocks of it).
    int between = 0;
    for (int percent : outcome.transferPercentages)
        between += percent > 0 && percent < 100 ? 1 : 0;
    EXPECT_GE(between, 2);
}
