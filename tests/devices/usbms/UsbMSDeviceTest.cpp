#include "devices/usbms/UsbMSDevice.h"
#include "devices/usbms/DriveFiles.h"
#include "settings/SyncSettings.h"
#include "support/FakeDriveProber.h"
#include "support/FileSizeLimit.h"
#include "support/TestHome.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class UsbMSDeviceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mRoot = mHome.path() + "/media/PHONE/";
        QDir().mkpath(mRoot + "KORDA"); // a drive set up as a target
        mDevice = std::make_unique<UsbMSDevice>(mRoot, "Phone", true, mProber);
    }

    Track localTrack(const QString& aFile, const QString& aArtist = "Band", const QString& aAlbum = "Album",
                     const QByteArray& aContent = "audio data")
    {
        const QString path = mHome.writeFile("library/" + aFile, aContent);
        Track track("Song", aAlbum, aArtist, 4, path, true, false, false);
        track.setLocalSize(aContent.size());
        return track;
    }
    QStringList filesUnder(const QString& aFolder) const
    {
        QStringList files;
        QDir root(aFolder);
        for (const QFileInfo& info :
             root.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot | QDir::Dirs)) {
            if (info.isDir())
                for (const QString& inner : filesUnder(info.filePath()))
                    files.append(info.fileName() + "/" + inner);
            else
                files.append(info.fileName());
        }
        return files;
    }

    TestHome mHome;
    std::shared_ptr<FakeDriveProber> mProber = std::make_shared<FakeDriveProber>();
    QString mRoot;
    std::unique_ptr<UsbMSDevice> mDevice;
};

} // namespace

TEST_F(UsbMSDeviceTest, ATrackIsCopiedIntoItsArtistAndAlbumFolders)
{
    mDevice->PrepareForSync();
    Track track = localTrack("a.mp3");
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    EXPECT_EQ(track.deviceId(), "\\Music\\Band\\Album\\a.mp3");
    EXPECT_TRUE(track.onRemoteDevice());
    EXPECT_EQ(track.sizeOnDevice(), 10);

    Track unknown = localTrack("b.mp3", "", "");
    ASSERT_EQ(mDevice->UploadTrack(unknown), 0);
    EXPECT_EQ(unknown.deviceId(), "\\Music\\Unknown\\Unknown\\b.mp3");
    Track compilation = localTrack("c.mp3", "Various", "Hits");
    compilation.setIsCompilation(true);
    ASSERT_EQ(mDevice->UploadTrack(compilation), 0);
    // Copies take their names in batches, flushed once for many, at the latest when the run ends.
    EXPECT_FALSE(QFileInfo::exists(mRoot + "Music/Compilation/Hits/c.mp3"));
    mDevice->FinalizeSync();
    EXPECT_TRUE(QFileInfo::exists(mRoot + "Music/Compilation/Hits/c.mp3"));
    EXPECT_EQ(readWholeFile(mRoot + "Music/Band/Album/a.mp3"), QByteArray("audio data"));
    EXPECT_EQ(filesUnder(mRoot + "Music"),
              (QStringList{"Band/Album/a.mp3", "Compilation/Hits/c.mp3", "Unknown/Unknown/b.mp3"}));

    const QByteArray metadata = readWholeFile(mRoot + "KORDA/metadata0.xml");
    EXPECT_TRUE(metadata.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?><metadata><track "));
    EXPECT_TRUE(metadata.contains("<track path=\"/Music/Band/Album/a.mp3\" artist=\"Band\" album=\"Album\" "
                                  "track_name=\"Song\" track_number=\"4\"/>"));
    EXPECT_EQ(metadata.count("<track "), 3);
    EXPECT_TRUE(metadata.endsWith("</metadata>\n") || metadata.endsWith("</metadata>"));
}

TEST_F(UsbMSDeviceTest, MetadataFilesAreNumberedAndNamesNormalised)
{
    mHome.writeFile("media/PHONE/KORDA/metadata0.xml", "x");
    mHome.writeFile("media/PHONE/KORDA/metadata1.xml", "x");
    mDevice->PrepareForSync();
    Track decomposed = localTrack("o.mp3", "Ole\u0301", "Ole\u0301 ELO");
    ASSERT_EQ(mDevice->UploadTrack(decomposed), 0);
    mDevice->FinalizeSync();
    const QString metadata = QString::fromUtf8(readWholeFile(mRoot + "KORDA/metadata2.xml"));
    EXPECT_TRUE(metadata.contains("artist=\"Ol\u00e9\"")) << metadata.toStdString();
    EXPECT_TRUE(metadata.contains("album=\"Ol\u00e9 ELO\""));
}

TEST_F(UsbMSDeviceTest, AFileAlreadyOnTheDriveIsTakenOnlyWhenItsSizeIsTheCopys)
{
    mHome.writeFile("media/PHONE/Music/Band/Album/a.mp3", "same size!");
    mDevice->PrepareForSync();
    Track track = localTrack("a.mp3");
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    EXPECT_EQ(readWholeFile(mRoot + "Music/Band/Album/a.mp3"), QByteArray("same size!"));
    EXPECT_EQ(track.deviceId(), "\\Music\\Band\\Album\\a.mp3");
    EXPECT_EQ(track.sizeOnDevice(), 10);
    // Another size is another file (a stale copy, an older version): replaced.
    mHome.writeFile("media/PHONE/Music/Band/Album/b.mp3", "stale and longer");
    Track other = localTrack("b.mp3");
    ASSERT_EQ(mDevice->UploadTrack(other), 0);
    mDevice->FinalizeSync();
    EXPECT_EQ(readWholeFile(mRoot + "Music/Band/Album/b.mp3"), QByteArray("audio data"));
    EXPECT_TRUE(readWholeFile(mRoot + "KORDA/metadata0.xml").contains("a.mp3"));
}

TEST_F(UsbMSDeviceTest, AConvertedTrackIsStoredUnderItsMp3Name)
{
    Track track = localTrack("song.m4a");
    track.setConvertToMp3(true);
    // The converter's output is what gets copied.
    mHome.writeFile("KORDA/temp.mp3", "mp3 data");
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    mDevice->FinalizeSync();
    EXPECT_EQ(track.deviceId(), "\\Music\\Band\\Album\\song.mp3");
    EXPECT_EQ(readWholeFile(mRoot + "Music/Band/Album/song.mp3"), QByteArray("mp3 data"));
    EXPECT_FALSE(QFileInfo::exists(mRoot + "Music/Band/Album/song.m4a"));
}

TEST_F(UsbMSDeviceTest, UnstorableFileNamesDoNotSplitTheDevicePath)
{
    Track track = localTrack("AC\\DC - What?.mp3");
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    EXPECT_EQ(track.deviceId(), "\\Music\\Band\\Album\\AC_DC - What_.mp3");
    mDevice->FinalizeSync();
    EXPECT_TRUE(QFileInfo::exists(mRoot + "Music/Band/Album/AC_DC - What_.mp3"));
}

TEST_F(UsbMSDeviceTest, AMissingSourceIsAFailedUploadThatLeavesTheTrackAlone)
{
    // Missing, of another computer (never looked for in the working folder), or no regular file.
    QDir().mkpath(mHome.path() + "/Z:/Music");
    mHome.writeFile("Z:/Music/a.mp3", "not this one");
    QDir::setCurrent(mHome.path());
    const QString fifo = mHome.path() + "/library/pipe.mp3";
    QDir().mkpath(mHome.path() + "/library");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path :
         {mHome.path() + "/library/gone.mp3", QString("Z:/Music/a.mp3"), fifo, mHome.path() + "/library"}) {
        Track track("Gone", "Album", "Band", 1, path, true, false, false);
        EXPECT_EQ(mDevice->UploadTrack(track), -5005) << path.toStdString();
        EXPECT_EQ(track.deviceId(), QString());
        EXPECT_FALSE(track.onRemoteDevice());
    }
    EXPECT_FALSE(QFileInfo::exists(mRoot + "Music/Band/Album/a.mp3"));
    QDir::setCurrent(QDir::rootPath());
}

TEST_F(UsbMSDeviceTest, AnInterruptedCopyIsRepairedNotTrusted)
{
    // What a killed run leaves: a partial file under the temporary name.
    const QString partial = "Music/Band/Album/" + DriveFiles::partialName("a.mp3");
    mHome.writeFile("media/PHONE/" + partial, "aud");
    Track track = localTrack("a.mp3");
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    mDevice->FinalizeSync();
    EXPECT_EQ(readWholeFile(mRoot + "Music/Band/Album/a.mp3"), QByteArray("audio data"));
    EXPECT_FALSE(QFileInfo::exists(mRoot + partial));
}

TEST_F(UsbMSDeviceTest, AFullDiskIsACleanCopyFailure)
{
    Track track = localTrack("big.mp3", "Band", "Album", QByteArray(64 * 1024, 'x'));
    QDir().mkpath(mRoot + "Music/Band/Album");
    int result = 0;
    {
        FileSizeLimit full(4096);
        ASSERT_TRUE(full.active());
        result = mDevice->UploadTrack(track);
    }
    EXPECT_EQ(result, Device::kDeviceFull);
    EXPECT_FALSE(track.onRemoteDevice());
    EXPECT_EQ(track.deviceId(), QString());
    EXPECT_TRUE(QDir(mRoot + "Music/Band/Album").isEmpty(QDir::Files | QDir::Hidden));
}

TEST_F(UsbMSDeviceTest, DeletingRemovesTheFileAndMarksTheCache)
{
    SyncSettings settings;
    settings.load();
    settings.setConfig("dev", true, 0, {}, {}, "Phone");
    TrackCache cache;
    ASSERT_EQ(cache.open("dev"), TrackCache::kNewCacheFile);
    cache.readHeader();
    Track track = localTrack("a.mp3");
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    ASSERT_EQ(cache.addTrack(track), 0);

    ASSERT_EQ(mDevice->DeleteTrack(cache, track), 0);
    EXPECT_FALSE(QFileInfo::exists(mRoot + "Music/Band/Album/a.mp3"));
    EXPECT_FALSE(track.onRemoteDevice());
    EXPECT_EQ(cache.totalSizeOfUploadedFiles(), 0);
    // Already gone: still a success, and the cache is marked again.
    EXPECT_EQ(mDevice->DeleteTrack(cache, track), 0);
    cache.close();
    TrackCache reader;
    reader.open("dev");
    TrackList list;
    reader.updateTrackList(list, -1);
    ASSERT_EQ(list.count(), 1);
    EXPECT_FALSE(list.at(0).onRemoteDevice());
}

TEST_F(UsbMSDeviceTest, DevicePathsFromTheCacheNeverLeaveTheDrive)
{
    const QString outside = mHome.writeFile("precious.txt", "keep me");
    mHome.writeFile("media/PHONE/KORDA/x", "inside");
    TrackCache cache; // never reached
    for (const char* hostile :
         {"\\..\\..\\precious.txt", "..\\..\\..\\precious.txt", "\\Music\\..\\..\\..\\precious.txt",
          "\\Music\\a/../../../precious.txt", "\\", ""}) {
        Track track("T", "A", "B", 1, "/x.mp3", false, true, true, hostile);
        EXPECT_EQ(mDevice->DeleteTrack(cache, track), UsbMSDevice::kDeleteFailed) << hostile;
        EXPECT_TRUE(track.onRemoteDevice());
    }
    EXPECT_EQ(readWholeFile(outside), QByteArray("keep me"));
    EXPECT_TRUE(QFileInfo::exists(mRoot + "KORDA/x"));

    mDevice->CopyFile(outside, "..\\..\\copied.txt", true);
    EXPECT_FALSE(QFileInfo::exists(mHome.path() + "/media/copied.txt"));
    mDevice->CopyFile(outside, "KORDA\\messages.xml", false);
    EXPECT_EQ(readWholeFile(mRoot + "KORDA/messages.xml"), QByteArray("keep me"));
}

TEST_F(UsbMSDeviceTest, IdentityAndTheKordaFolder)
{
    QDir(mRoot + "KORDA").removeRecursively();
    EXPECT_TRUE(mDevice->Disabled());
    EXPECT_EQ(mDevice->UniqueDeviceId(), "TEMP-DEVICE-ID");
    EXPECT_FALSE(mDevice->IsConfigured());
    mDevice->SetConfigured();
    EXPECT_FALSE(mDevice->Disabled());
    const QString id = mDevice->UniqueDeviceId();
    EXPECT_TRUE(id.endsWith('Y'));
    EXPECT_EQ(readWholeFile(mRoot + "KORDA/uniqueid"), id.toLatin1());
    mDevice->SetConfigured(); // an identity is never replaced
    EXPECT_EQ(readWholeFile(mRoot + "KORDA/uniqueid"), id.toLatin1());

    SyncSettings settings;
    settings.load();
    settings.setConfig(id, true, 0, {}, {}, "Phone");
    UsbMSDevice again(mRoot, "Phone", true, mProber);
    EXPECT_EQ(again.UniqueDeviceId(), id);
    EXPECT_TRUE(again.IsConfigured());
    EXPECT_GT(again.configuredOrder(), 0);

    UsbMSDevice unmounted(mRoot, "Phone", false, mProber);
    EXPECT_EQ(unmounted.UniqueDeviceId(), "TEMP-DEVICE-ID");
    EXPECT_TRUE(unmounted.IsMounted()); // reads the identity on the way
    EXPECT_EQ(unmounted.UniqueDeviceId(), id);
    qint64 capacity = 0, free = 0;
    EXPECT_EQ(unmounted.GetStorageCapacity(capacity), 0);
    EXPECT_EQ(unmounted.GetFreeStorageSpace(free), 0);
    EXPECT_GT(capacity, 0);
    mProber->setMounted(mRoot, false);
    EXPECT_FALSE(unmounted.IsMounted());
    EXPECT_EQ(unmounted.GetStorageCapacity(capacity), 0);
    EXPECT_EQ(capacity, 0);
}

TEST_F(UsbMSDeviceTest, AlbumArtGoesBesideTheTracksAndIsHinted)
{
    Track track = localTrack("a.mp3");
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    const QString art = mHome.writeFile("KORDA/AlbumArt.jpg", "jpeg");
    mDevice->uploadAlbumArt(track, art);
    EXPECT_EQ(readWholeFile(mRoot + "Music/Band/Album/AlbumArt.jpg"), QByteArray("jpeg"));
    mHome.writeFile("KORDA/AlbumArt.jpg", "newer");
    mDevice->uploadAlbumArt(track, art); // not replaced, hinted again
    EXPECT_EQ(readWholeFile(mRoot + "Music/Band/Album/AlbumArt.jpg"), QByteArray("jpeg"));
    EXPECT_EQ(readWholeFile(mRoot + "KORDA/refreshhint"),
              QByteArray("\\Music\\Band\\Album\\a.mp3\r\n\\Music\\Band\\Album\\a.mp3\r\n"));
}
