// The drive is hostile ground, and so are the files the program reads: veltrane-sync against
// links off the drive, a drive pulled out or full (real file systems on loop devices), a device
// held by another run, FIFOs in the library, signals, and settings, identities and names made to
// hurt. No file outside the drive may change, nothing may hang, and every run that did not do
// all it was asked says why and exits with a code of its own.
#include "cli/CliFixture.h"
#include "settings/SyncSettings.h"
#include "support/LoopMount.h"
#include "tracks/DeviceLock.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <csignal>
#include <sys/stat.h>

namespace {

class HostileDriveTest : public CliFixture
{
protected:
    // The files under aFolder, each with its content.
    static QMap<QString, QByteArray> contentOf(const QString& aFolder)
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(aFolder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files.insert(path.mid(aFolder.size()), readWholeFile(path));
        }
        return files;
    }
    QString computer() const { return mHome.path() + "/computer/"; }
    void makeComputerFiles()
    {
        mHome.writeFile("computer/precious.txt", "keep me");
        mHome.writeFile("computer/01 Song.m4a", "not a track of the drive");
    }
};

} // namespace

TEST_F(HostileDriveTest, LinksOnTheDriveNeverTakeWritesOrDeletionsOffIt)
{
    makeComputerFiles();
    const auto before = contentOf(computer());
    configure("All", false);
    // Music is a link to a folder of the computer: the tracks would be written there.
    ASSERT_TRUE(QFile::link(computer(), mDrive + "/Music"));
    QByteArray output;
    EXPECT_EQ(run({"--device", mDrive}, &output), 7) << output.constData();
    EXPECT_TRUE(output.contains("could not be made")) << output.constData();
    EXPECT_EQ(contentOf(computer()), before);

    // A normal first run, then the album folder replaced by a link to the computer's folder,
    // which holds files of the same names: deselecting the tracks must not delete those.
    QFile::remove(mDrive + "/Music");
    ASSERT_EQ(run({"--device", mDrive}, &output), 0) << output.constData();
    ASSERT_TRUE(QDir(mDrive + "/Music/Band/Album").removeRecursively());
    ASSERT_TRUE(QFile::link(computer(), mDrive + "/Music/Band/Album"));
    configure("Few", false);
    run({"--device", mDrive, "--yes"}, &output);
    EXPECT_EQ(contentOf(computer()), before);

    // Playlists_VLT linked to a folder of the computer, the hint file linked to a file of it.
    ASSERT_TRUE(QDir(mDrive + "/Playlists_VLT").removeRecursively());
    ASSERT_TRUE(QFile::link(computer(), mDrive + "/Playlists_VLT"));
    QFile::remove(mDrive + "/KORDA/playlisthint");
    ASSERT_TRUE(QFile::link(computer() + "precious.txt", mDrive + "/KORDA/playlisthint"));
    run({"--device", mDrive, "--yes"}, &output);
    EXPECT_EQ(contentOf(computer()), before);
}

TEST_F(HostileDriveTest, TheHomeFoldersCacheAndSettingsAreNoWayOut)
{
    makeComputerFiles();
    const auto before = contentOf(computer());
    configure("All", false);
    SyncSettings settings;
    settings.load();
    const QString id = QString::fromLatin1(readWholeFile(mDrive + "/KORDA/uniqueid"));
    QString cachePath;
    settings.getCacheFilename(id, cachePath);
    // The cache file as a link to a file of the computer: never written through.
    QFile::remove(cachePath);
    ASSERT_TRUE(QFile::link(computer() + "precious.txt", cachePath));
    QByteArray output;
    EXPECT_EQ(run({"--device", mDrive}, &output), 12) << output.constData();
    EXPECT_TRUE(output.contains("track cache")) << output.constData();
    EXPECT_EQ(contentOf(computer()), before);
    // The settings naming a cache outside the KORDA folder: --force deletes nothing there.
    QFile::remove(cachePath);
    settings.deviceElement(id).firstChildElement("cache").firstChild().setNodeValue(computer() +
                                                                                    "precious.txt");
    ASSERT_EQ(settings.save(), 0);
    run({"--device", mDrive, "--force"}, &output);
    EXPECT_EQ(contentOf(computer()), before);
}

TEST_F(HostileDriveTest, APulledDriveEndsTheRunAndNothingLandsOnTheComputer)
{
    makeLibrary(12, 12.0); // about 200 KB a track: time for the drive to go mid-run
    LoopMount drive(mHome.path() + "/drive.img", mDrive, 64);
    if (!drive.available())
        GTEST_SKIP() << "no loop mount here: " << drive.whyNot().toStdString();
    configure("All", true); // converting makes each track take a while
    std::unique_ptr<QProcess> process(start({"--device", mDrive}));
    QByteArray seen;
    ASSERT_TRUE(waitForOutput(*process, " 25% ", seen)) << seen.constData();
    ASSERT_TRUE(drive.unplug());
    ASSERT_TRUE(process->waitForFinished(50000));
    seen += process->readAll();
    EXPECT_EQ(process->exitCode(), 9) << seen.constData();
    EXPECT_TRUE(seen.contains("the drive was removed")) << seen.constData();
    // The bare mount point on the computer's disk got nothing, and was not made again.
    EXPECT_TRUE(QDir(mDrive).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    // Plugged back in: the next run finds what is missing and completes the drive.
    ASSERT_TRUE(drive.plugIn());
    QByteArray output;
    EXPECT_EQ(run({"--device", mDrive}, &output), 0) << output.constData();
    EXPECT_EQ(filesOnDrive("*.mp3").size(), 12);
    EXPECT_EQ(cached().size(), 12);
    EXPECT_TRUE(filesOnDrive(".vlt*").isEmpty());
}

TEST_F(HostileDriveTest, AFullDriveSaysSoAndRecordsOnlyWhatItHolds)
{
    LoopMount drive(mHome.path() + "/drive.img", mDrive, 2);
    if (!drive.available())
        GTEST_SKIP() << "no loop mount here: " << drive.whyNot().toStdString();
    makeLibrary(8, 30.0); // 8 tracks of about 250 KB: 2 MB don't hold them all
    configure("All", false);
    QByteArray output;
    EXPECT_EQ(run({"--device", mDrive, "--yes"}, &output), 10) << output.constData();
    EXPECT_TRUE(output.contains("The device is full:")) << output.constData();
    const QMap<QString, qint64> recorded = cached();
    EXPECT_FALSE(recorded.isEmpty());
    EXPECT_LT(recorded.size(), 8);
    for (auto it = recorded.begin(); it != recorded.end(); ++it)
        EXPECT_EQ(QFileInfo(mDrive + it.key()).size(), it.value()) << it.key().toStdString();
    EXPECT_EQ(QStringList(recorded.keys()), filesOnDrive("*.m4a"));
    EXPECT_TRUE(filesOnDrive(".vlt*").isEmpty());
}

TEST_F(HostileDriveTest, ASecondRunOnTheSameDeviceDoesNotStart)
{
    configure("All", false);
    const QString id = QString::fromLatin1(readWholeFile(mDrive + "/KORDA/uniqueid"));
    DeviceLock other; // as the window's run would hold it
    ASSERT_EQ(other.acquire(id), DeviceLock::Locked);
    QByteArray output;
    EXPECT_EQ(run({"--device", mDrive}, &output), 11) << output.constData();
    EXPECT_TRUE(output.contains("another synchronization of this device is running"));
    EXPECT_TRUE(filesOnDrive("*").filter("Music").isEmpty());
    other.release();
    EXPECT_EQ(run({"--device", mDrive}, &output), 0) << output.constData();
}

TEST_F(HostileDriveTest, FifosAndDevicesInTheLibraryNeitherHangNorFillTheDrive)
{
    const QString fifo = mHome.path() + "/pipe.m4a";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    mWriter.tracks[0].location = LibraryXmlWriter::fileUrl(fifo);
    mWriter.tracks[1].location = "file:///dev/zero";
    ASSERT_TRUE(mWriter.writeTo(libraryPath()));
    configure("All", false);
    QElapsedTimer clock;
    clock.start();
    QByteArray output;
    EXPECT_EQ(run({"--device", mDrive}, &output), 7) << output.constData();
    EXPECT_LT(clock.elapsed(), 40000);
    EXPECT_TRUE(output.contains("not a regular file")) << output.constData();
    EXPECT_EQ(filesOnDrive("*.m4a").size(), kTracks - 2);
}

TEST_F(HostileDriveTest, TheFirstSigtermCancelsTheSecondEndsTheProgram)
{
    configure("All", true);
    {
        std::unique_ptr<QProcess> process(start({"--device", mDrive}));
        QByteArray seen;
        ASSERT_TRUE(waitForOutput(*process, " 10% ", seen));
        ::kill(static_cast<pid_t>(process->processId()), SIGTERM);
        ASSERT_TRUE(process->waitForFinished(50000));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 6);
    }
    std::unique_ptr<QProcess> process(start({"--device", mDrive, "--force"}));
    QByteArray seen;
    ASSERT_TRUE(waitForOutput(*process, " 10% ", seen));
    ::kill(static_cast<pid_t>(process->processId()), SIGTERM);
    QThread::msleep(20);
    ::kill(static_cast<pid_t>(process->processId()), SIGTERM);
    ASSERT_TRUE(process->waitForFinished(50000));
    EXPECT_EQ(process->exitStatus(), QProcess::CrashExit);
}

TEST_F(HostileDriveTest, SettingsAndIdentitiesMadeToHurtAreRefusedClearly)
{
    // Nested 5,000 and 200,000 deep: refused quickly, kept aside, no stack overflow.
    for (const int depth : {5000, 200000}) {
        QByteArray deep = "<settings>";
        for (int i = 0; i < depth; ++i)
            deep += "<a>";
        QFile::remove(SyncSettings::filePath());
        mHome.writeFile("KORDA/korda.xml", deep);
        QElapsedTimer clock;
        clock.start();
        QByteArray output;
        EXPECT_EQ(run({"--device", mDrive}, &output), 5) << output.constData();
        EXPECT_LT(clock.elapsed(), 20000);
        EXPECT_TRUE(QFileInfo::exists(SyncSettings::filePath() + ".bad"));
    }
    // An attribute of 100 MB: refused unread.
    QFile::remove(SyncSettings::filePath());
    mHome.writeFile("KORDA/korda.xml",
                    "<settings><device id=\"" + QByteArray(100 << 20, 'x') + "\"/></settings>");
    QByteArray output;
    EXPECT_EQ(run({"--device", mDrive}, &output), 5);

    // An identity with a control character: configuring replaces it, and writes settings that
    // read back.
    QFile::remove(SyncSettings::filePath());
    QFile::remove(SyncSettings::filePath() + ".bad");
    mHome.writeFile("drive/KORDA/uniqueid", QByteArray("12\x01"
                                                       "34Y\x1b[31m"));
    configure("All", false);
    const QByteArray identity = readWholeFile(mDrive + "/KORDA/uniqueid");
    EXPECT_FALSE(identity.contains('\x01'));
    SyncSettings settings;
    ASSERT_EQ(settings.load(), 0);
    EXPECT_TRUE(settings.deviceElement(QString::fromLatin1(identity)).isElement());
    EXPECT_FALSE(QFileInfo::exists(SyncSettings::filePath() + ".bad"));
    // An identity of 50 MB is not read at all.
    mHome.writeFile("drive/KORDA/uniqueid", QByteArray(50 << 20, '7'));
    EXPECT_EQ(run({"--device", mDrive}, &output), 4) << output.constData();
}

TEST_F(HostileDriveTest, NamesNearTheLimitsAreStoredAndNeverShareAFile)
{
    // A file name of 249 bytes: its temporary name must still fit.
    const QString longName = QString(245, 'n') + ".m4a";
    ASSERT_TRUE(QFile::copy(mediaFolder() + "01 Song.m4a", mediaFolder() + longName));
    mWriter.tracks[0].location = LibraryXmlWriter::fileUrl(mediaFolder() + longName);
    // A playlist of 300 characters, and two whose names sanitise to the same file.
    mWriter.playlists.append({QString(300, QChar(0x00e9)), false, -1, false, false, false, {1}});
    mWriter.playlists.append({".", false, -1, false, false, false, {2}});
    mWriter.playlists.append({"/", false, -1, false, false, false, {3}});
    ASSERT_TRUE(mWriter.writeTo(libraryPath()));
    QByteArray output;
    ASSERT_EQ(run({"configure", "--device", mDrive, "--music", "all"}, &output), 0) << output.constData();
    EXPECT_EQ(run({"--device", mDrive}, &output), 0) << output.constData();
    EXPECT_TRUE(QFileInfo::exists(mDrive + "/Music/Band/Album/" + longName));
    const QStringList playlists = QDir(mDrive + "/Playlists_VLT").entryList(QDir::Files);
    EXPECT_TRUE(playlists.contains("_.m3u"));
    EXPECT_TRUE(playlists.contains("_ (2).m3u"));
    const QStringList longOnes = playlists.filter(QString(QChar(0x00e9)));
    ASSERT_EQ(longOnes.size(), 1);
    EXPECT_LE(longOnes.first().toUtf8().size(), 255);
}
