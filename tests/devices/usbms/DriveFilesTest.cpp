// A drive as hostile ground: links that point off the drive, FIFOs and device nodes under the
// names the program uses, a drive replaced under its mount point. Nothing outside the drive may
// be read, written or removed, and nothing may block.
#include "devices/usbms/DriveFiles.h"
#include "devices/usbms/DriveCopyBatch.h"

#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class DriveFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mRoot = mHome.path() + "/drive/";
        QDir().mkpath(mRoot + "KORDA");
        mOutside = mHome.path() + "/computer/";
        mPrecious = mHome.writeFile("computer/precious.txt", "keep me");
    }
    // A link on the drive at aName pointing at aTarget.
    void link(const QString& aName, const QString& aTarget)
    {
        QDir().mkpath(QFileInfo(mRoot + aName).absolutePath());
        ASSERT_TRUE(QFile::link(aTarget, mRoot + aName)) << aName.toStdString();
    }
    QStringList outside() const
    {
        return QDir(mOutside).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }

    TestHome mHome;
    QString mRoot;
    QString mOutside;
    QString mPrecious;
};

QStringList path(const char* aPath)
{
    QStringList parts;
    EXPECT_TRUE(DriveFiles::split(QString::fromUtf8(aPath), parts)) << aPath;
    return parts;
}

} // namespace

TEST_F(DriveFilesTest, NamesThatLeaveTheDriveAreNoNames)
{
    QStringList parts;
    for (const char* bad : {"\\..\\x", "Music\\.\\x", "a/../../b", "", "\\", "x\\.."})
        EXPECT_FALSE(DriveFiles::split(QString::fromUtf8(bad), parts)) << bad;
    EXPECT_FALSE(DriveFiles::split(QStringLiteral("a") + QChar(0) + "b", parts));
    ASSERT_TRUE(DriveFiles::split("\\Music\\A\\b.mp3", parts));
    EXPECT_EQ(parts, (QStringList{"Music", "A", "b.mp3"}));
    DriveFiles drive(mRoot);
    EXPECT_FALSE(drive.makeFolder({"Music", ".."}));
    EXPECT_EQ(drive.lastStatus(), DriveFiles::Refused);
}

TEST_F(DriveFilesTest, FoldersThatAreLinksAreNeverEntered)
{
    link("Music", mOutside);    // tracks would land on the computer
    link("Playlists_VLT", "/"); // playlists would land in /
    link("KORDA2", mOutside);
    DriveFiles drive(mRoot);
    const QString source = mHome.writeFile("library/a.mp3", "audio");
    EXPECT_FALSE(drive.copyIn(source, path("Music/Band/a.mp3")));
    EXPECT_EQ(drive.lastStatus(), DriveFiles::Refused);
    EXPECT_FALSE(drive.makeFolder(path("Music/Band")));
    EXPECT_FALSE(drive.writeFile(path("Playlists_VLT/Chill.m3u"), "#EXTM3U\r\n"));
    EXPECT_FALSE(QFileInfo::exists("/Chill.m3u"));
    EXPECT_FALSE(drive.appendToFile(path("KORDA2/playlisthint"), "x\n"));
    EXPECT_FALSE(drive.removeFile(path("Music/precious.txt")));
    EXPECT_FALSE(drive.isFolder(path("Music")));
    EXPECT_TRUE(drive.exists(path("Music"))); // the link itself is there
    EXPECT_TRUE(drive.fileNames(path("Music")).isEmpty());
    EXPECT_EQ(outside(), QStringList{"precious.txt"});
    EXPECT_EQ(readWholeFile(mPrecious), QByteArray("keep me"));
}

TEST_F(DriveFilesTest, FilesThatAreLinksAreReplacedOrRemovedThemselves)
{
    link("Playlists_VLT/Chill.m3u", mPrecious);
    link("KORDA/playlisthint", mPrecious);
    link("KORDA/uniqueid", mPrecious);
    link("KORDA/metadata0.xml", mOutside + "new.xml"); // dangling
    link("Music/A/B/x.mp3", mPrecious);
    DriveFiles drive(mRoot);

    // Written in place of the link: the link goes, what it named is untouched.
    EXPECT_TRUE(drive.writeFile(path("Playlists_VLT/Chill.m3u"), "#EXTM3U\r\n"));
    EXPECT_FALSE(QFileInfo(mRoot + "Playlists_VLT/Chill.m3u").isSymLink());
    EXPECT_EQ(readWholeFile(mRoot + "Playlists_VLT/Chill.m3u"), QByteArray("#EXTM3U\r\n"));
    // Never written or read through.
    EXPECT_FALSE(drive.appendToFile(path("KORDA/playlisthint"), "Chill.m3u\n"));
    QByteArray content;
    EXPECT_FALSE(drive.readFile(path("KORDA/uniqueid"), 256, content));
    EXPECT_EQ(drive.lastStatus(), DriveFiles::Refused);
    EXPECT_FALSE(drive.createFile(path("KORDA/metadata0.xml")).valid());
    EXPECT_FALSE(QFileInfo::exists(mOutside + "new.xml"));
    EXPECT_FALSE(drive.isFile(path("Music/A/B/x.mp3")));
    // Removing a link removes the link.
    EXPECT_TRUE(drive.removeFile(path("Music/A/B/x.mp3")));
    EXPECT_FALSE(QFileInfo(mRoot + "Music/A/B/x.mp3").isSymLink());
    EXPECT_EQ(readWholeFile(mPrecious), QByteArray("keep me"));
    EXPECT_EQ(outside(), QStringList{"precious.txt"});
}

TEST_F(DriveFilesTest, AKordaFolderThatIsALinkIsNotTheDrivesOwn)
{
    QDir(mRoot + "KORDA").removeRecursively();
    link("KORDA", mOutside);
    DriveFiles drive(mRoot);
    EXPECT_FALSE(drive.isFolder(path("KORDA")));
    EXPECT_FALSE(drive.writeFile(path("KORDA/uniqueid"), "123Y"));
    EXPECT_FALSE(drive.createFile(path("KORDA/metadata0.xml")).valid());
    EXPECT_EQ(outside(), QStringList{"precious.txt"});
}

TEST_F(DriveFilesTest, WhatIsNoRegularFileIsNeitherReadNorCopied)
{
    const QString fifo = mRoot + "KORDA/android.xml";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    DriveFiles drive(mRoot);
    QByteArray content;
    EXPECT_FALSE(drive.readFile(path("KORDA/android.xml"), 65536, content)); // and does not block
    EXPECT_EQ(drive.lastStatus(), DriveFiles::Refused);
    const QString sourceFifo = mHome.path() + "/library/pipe.mp3";
    QDir().mkpath(mHome.path() + "/library");
    ASSERT_EQ(::mkfifo(QFile::encodeName(sourceFifo).constData(), 0600), 0);
    EXPECT_FALSE(drive.copyIn(sourceFifo, path("Music/a.mp3")));
    EXPECT_FALSE(drive.copyIn("/dev/zero", path("Music/b.mp3"))); // would fill the drive
    EXPECT_EQ(drive.lastStatus(), DriveFiles::Refused);
    EXPECT_FALSE(drive.exists(path("Music/b.mp3")));
    // Larger than asked for: refused unread.
    mHome.writeFile("drive/KORDA/uniqueid", QByteArray(50 << 20, '7'));
    EXPECT_FALSE(drive.readFile(path("KORDA/uniqueid"), 256, content));
    EXPECT_TRUE(content.isEmpty());
}

TEST_F(DriveFilesTest, ADriveReplacedUnderItsMountPointGetsNothingMore)
{
    DriveFiles drive(mRoot);
    const QString source = mHome.writeFile("library/a.mp3", "audio");
    ASSERT_TRUE(drive.copyIn(source, path("Music/a.mp3")));
    // Unplugged: the mount point is a bare folder again (here: another folder in its place).
    ASSERT_TRUE(QDir().rename(mRoot, mHome.path() + "/unplugged"));
    QDir().mkpath(mRoot);
    EXPECT_FALSE(drive.present());
    EXPECT_FALSE(drive.copyIn(source, path("Music/b.mp3")));
    EXPECT_EQ(drive.lastStatus(), DriveFiles::Gone);
    EXPECT_FALSE(drive.makeFolder(path("Music/New")));
    EXPECT_FALSE(drive.writeFile(path("KORDA/x"), "x"));
    EXPECT_TRUE(QDir(mRoot).isEmpty()); // nothing written into the bare folder
    // Nor is a drive's root ever made.
    QDir(mRoot).removeRecursively();
    DriveFiles missing(mRoot);
    EXPECT_FALSE(missing.makeFolder(path("Music")));
    EXPECT_FALSE(QFileInfo::exists(mRoot));
}

TEST_F(DriveFilesTest, DeferredCopiesTakeTheirNamesAtTheCommit)
{
    DriveFiles drive(mRoot);
    DriveCopyBatch batch(drive);
    const QString source = mHome.writeFile("library/a.mp3", "audio");
    const QString longName = QString(249, 'n') + ".mp3"; // 253 bytes: no room for a suffix
    ASSERT_TRUE(batch.add(source, {"Music", longName}));
    ASSERT_TRUE(batch.add(source, path("Music/B/b.mp3")));
    EXPECT_EQ(batch.count(), 2);
    EXPECT_FALSE(QFileInfo::exists(mRoot + "Music/" + longName));
    EXPECT_TRUE(batch.commit());
    EXPECT_EQ(readWholeFile(mRoot + "Music/" + longName), QByteArray("audio"));
    EXPECT_EQ(readWholeFile(mRoot + "Music/B/b.mp3"), QByteArray("audio"));
    EXPECT_EQ(QDir(mRoot + "Music").entryList(QDir::Files | QDir::Hidden), QStringList{longName});
    EXPECT_LE(DriveFiles::partialName(longName).size(), 32);
}

TEST_F(DriveFilesTest, AFolderListedAgainGivesAllItsFilesAgain)
{
    mHome.writeFile("drive/Music/A/1.mp3", "a");
    mHome.writeFile("drive/Music/A/2.mp3", "b");
    QDir().mkpath(mRoot + "Music/A/Sub");
    link("Music/A/3.mp3", mPrecious);
    DriveFiles drive(mRoot);
    // Each listing reads the folder from its start, whatever is kept open between them.
    for (int pass = 0; pass < 2; ++pass) {
        QStringList names = drive.fileNames(path("Music/A"));
        names.sort();
        EXPECT_EQ(names, (QStringList{"1.mp3", "2.mp3"})) << pass;
    }
    mHome.writeFile("drive/Music/A/4.mp3", "c");
    EXPECT_EQ(drive.fileNames(path("Music/A")).size(), 3);
}
