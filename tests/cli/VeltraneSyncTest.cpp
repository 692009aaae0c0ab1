// veltrane-sync as a user runs it: a child process on a library of real audio and a folder
// standing for the player, stopped by Ctrl-C or killed outright in the middle of a copy.
#include "cli/CliFixture.h"
#include "settings/SyncSettings.h"
#include "support/AudioFixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

using VeltraneSyncTest = CliFixture;

} // namespace

TEST_F(VeltraneSyncTest, SyncsListsAndExitsZeroOnlyWhenComplete)
{
    QByteArray output;
    ASSERT_EQ(run({"playlists"}, &output), 0);
    EXPECT_EQ(output, QByteArray("All\nFew\n"));
    configure("All", false);
    ASSERT_EQ(run({"--device", mDrive}, &output), 0) << output.constData();
    EXPECT_TRUE(output.contains("Phone synchronization is complete"));
    EXPECT_EQ(filesOnDrive("*.m4a").size(), kTracks);

    // Fewer tracks chosen: without --yes the deletions are declined and the run is cancelled.
    configure("Few", false);
    EXPECT_EQ(run({"--device", mDrive}, &output), 6);
    EXPECT_TRUE(output.contains("run again with --yes"));
    EXPECT_EQ(filesOnDrive("*.m4a").size(), kTracks);
    EXPECT_EQ(run({"--device", mDrive, "--yes"}, &output), 0);
    EXPECT_EQ(filesOnDrive("*.m4a").size(), 2);

    EXPECT_EQ(run({"--device", mHome.path() + "/no/such/folder"}, &output), 2);
    EXPECT_EQ(run({"--device", mDrive, "--library", mHome.path() + "/missing.xml"}, &output), 2);
    EXPECT_TRUE(output.contains("can't read the iTunes library"));
}

TEST_F(VeltraneSyncTest, CtrlCCancelsCleanly)
{
    configure("All", true); // converting makes each track take a while
    std::unique_ptr<QProcess> process(start({"--device", mDrive}));
    QByteArray seen;
    ASSERT_TRUE(waitForOutput(*process, " 10% ", seen)) << seen.constData();
    ::kill(static_cast<pid_t>(process->processId()), SIGINT);
    ASSERT_TRUE(process->waitForFinished(120000));
    EXPECT_EQ(process->exitCode(), 6) << (seen + process->readAll()).constData();
    EXPECT_LT(filesOnDrive("*.mp3").size(), kTracks);
    // The cache was closed whole and the device finalised.
    EXPECT_EQ(cached().size(), filesOnDrive("*.mp3").size());
    EXPECT_TRUE(readWholeFile(mDrive + "/KORDA/metadata0.xml").trimmed().endsWith("</metadata>"));
}

TEST_F(VeltraneSyncTest, AKilledRunIsRepairedByTheNextOne)
{
    configure("All", true);
    std::unique_ptr<QProcess> process(start({"--device", mDrive}));
    QByteArray seen;
    ASSERT_TRUE(waitForOutput(*process, " 30% ", seen)) << seen.constData();
    process->kill();
    ASSERT_TRUE(process->waitForFinished(60000));
    ASSERT_LT(filesOnDrive("*.mp3").size(), kTracks);

    QByteArray output;
    ASSERT_EQ(run({"--device", mDrive}, &output), 0) << output.constData();
    // Every chosen track is whole on the drive, nothing half-written is left, and the cache
    // records exactly what is there.
    const QStringList tracks = filesOnDrive("*.mp3");
    ASSERT_EQ(tracks.size(), kTracks);
    EXPECT_TRUE(filesOnDrive(".vlt*.part").isEmpty());
    const QMap<QString, qint64> records = cached();
    EXPECT_EQ(QStringList(records.keys()), tracks);
    for (const QString& track : tracks) {
        EXPECT_EQ(records.value(track), QFileInfo(mDrive + track).size()) << track.toStdString();
        EXPECT_EQ(fixtures::probeCodec(mDrive + track), "mp3") << track.toStdString();
    }
}

TEST_F(VeltraneSyncTest, TracksLeftOutEndWithTheirOwnCodeAndReason)
{
    configure("All", false);
    const QString missing = mHome.path() + "/Music/iTunes/iTunes Media/Music/Band/Album/03 Song.m4a";
    ASSERT_TRUE(QFile::rename(missing, missing + ".away"));
    QByteArray output;
    EXPECT_EQ(run({"--device", mDrive}, &output), 7) << output.constData();
    EXPECT_TRUE(output.contains("1 track(s) could not be copied"));
    EXPECT_TRUE(output.contains("Band - Song 3: its file is missing: " + missing.toUtf8()));
    ASSERT_TRUE(QFile::rename(missing + ".away", missing));
    EXPECT_EQ(run({"--device", mDrive}, &output), 0) << output.constData();
    EXPECT_EQ(filesOnDrive("*.m4a").size(), kTracks);
}

TEST_F(VeltraneSyncTest, ConfigureTakesNamesWithCommasAndRefusesWhatIsNotThere)
{
    mWriter.playlists.append({"Albums, favorites", false, -1, false, false, false, {1, 2, 3}});
    XmlTrackEntry episode{50, "Episode", "Host", "The Show, Weekly", mWriter.tracks[0].location};
    mWriter.tracks.append(episode);
    mWriter.playlists.append({"Podcasts", false, 10, true, false, false, {50}});
    ASSERT_TRUE(mWriter.writeTo(mHome.path() + "/Music/iTunes/iTunes Music Library.xml"));

    QByteArray output;
    ASSERT_EQ(run({"configure", "--device", mDrive, "--playlist", "Albums, favorites", "--podcast",
                   "The Show, Weekly", "--episodes", "2"},
                  &output),
              0)
        << output.constData();
    EXPECT_TRUE(output.contains("music: Albums, favorites"));
    EXPECT_TRUE(output.contains("podcasts: The Show, Weekly, newest 2 episodes"));
    ASSERT_EQ(run({"--device", mDrive}, &output), 0) << output.constData();
    EXPECT_EQ(filesOnDrive("*.m4a").size(), 3 + 1);

    // Unknown names, episode counts that are no numbers, switches that are neither on nor off.
    EXPECT_EQ(run({"configure", "--device", mDrive, "--podcasts", "No Such Show"}, &output), 2);
    EXPECT_TRUE(output.contains("no podcast named \"No Such Show\""));
    EXPECT_EQ(run({"configure", "--device", mDrive, "--playlist", "Nope"}, &output), 2);
    EXPECT_TRUE(output.contains("no playlist named \"Nope\""));
    EXPECT_EQ(run({"configure", "--device", mDrive, "--episodes", "abc"}, &output), 2);
    EXPECT_TRUE(output.contains("--episodes takes a whole number"));
    EXPECT_EQ(run({"configure", "--device", mDrive, "--episodes", "-3"}, &output), 2);
    EXPECT_EQ(run({"configure", "--device", mDrive, "--album-art", "maybe"}, &output), 2);
    // None of that changed the configuration.
    SyncSettings settings;
    settings.load();
    const QString id = QString::fromLatin1(readWholeFile(mDrive + "/KORDA/uniqueid"));
    EXPECT_EQ(settings.numberOfEpisodesToSync(id), 2);
}

TEST_F(VeltraneSyncTest, ALibraryOfAnotherComputerIsFoundThroughAPathMapping)
{
    // The library names its files on a Windows drive Z: of another computer.
    const QString here = mHome.path() + "/Music/iTunes/iTunes Media/Music/";
    for (XmlTrackEntry& track : mWriter.tracks) {
        track.location.replace(LibraryXmlWriter::fileUrl(here), "file://localhost/Z:/Tunes/");
    }
    ASSERT_TRUE(mWriter.writeTo(mHome.path() + "/Music/iTunes/iTunes Music Library.xml"));
    configure("All", false);
    QByteArray output;
    EXPECT_EQ(run({"--device", mDrive}, &output), 7);
    EXPECT_TRUE(output.contains("map Z:/ to a folder here with veltrane-sync configure --map-path"))
        << output.constData();
    EXPECT_TRUE(filesOnDrive("*.m4a").isEmpty());

    ASSERT_EQ(run({"configure", "--map-path", "z:\\Tunes=" + here}, &output), 0) << output.constData();
    EXPECT_TRUE(output.contains("Z:/Tunes -> " + QDir::cleanPath(here).toUtf8())) << output.constData();
    EXPECT_EQ(run({"--device", mDrive}, &output), 0) << output.constData();
    EXPECT_EQ(filesOnDrive("*.m4a").size(), kTracks);
    EXPECT_EQ(run({"configure", "--map-path", "nothing"}, &output), 2);
    ASSERT_EQ(run({"configure", "--map-path", "Z:/Tunes="}, &output), 0);
    EXPECT_TRUE(output.contains("no mappings"));
}
