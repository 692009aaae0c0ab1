#include "devices/usbms/UsbMSDevice.h"
#include "devices/usbms/DriveFiles.h"
#include "settings/SyncSettings.h"
#include "support/FakeDriveProber.h"
#include "support/TestHome.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

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

    TestHome mHome;
    std::shared_ptr<FakeDriveProber> mProber = std::make_shared<FakeDriveProber>();
    QString mRoot;
    std::unique_ptr<UsbMSDevice> mDevice;
};

} // namespace

TEST_F(UsbMSDeviceTest, MetadataFilesAreNumberedAndNamesNormalised)
{
    mHome.writeFile("media/PHONE/KORDA/metadata0.xml", "x");
    mHome.writeFile("media/PHONE/KORDA/metadata1.xml", "x");
    mDevice->PrepareForSync();
    Track track = mHome.libraryTrack("a.mp3");
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    Track decomposed = mHome.libraryTrack("o.mp3", "Ole\u0301", "Ole\u0301 ELO");
    ASSERT_EQ(mDevice->UploadTrack(decomposed), 0);
    mDevice->FinalizeSync();
    const QString metadata = QString::fromUtf8(readWholeFile(mRoot + "KORDA/metadata2.xml"));
    EXPECT_TRUE(metadata.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?><metadata><track "));
    EXPECT_TRUE(metadata.contains("<track path=\"/Music/Band/Album/a.mp3\" artist=\"Band\" album=\"Album\" "
                                  "track_name=\"Song\" track_number=\"4\"/>"));
    EXPECT_EQ(metadata.count("<track "), 2);
    EXPECT_TRUE(metadata.trimmed().endsWith("</metadata>"));
    EXPECT_TRUE(metadata.contains("artist=\"Ol\u00e9\"")) << metadata.toStdString();
    EXPECT_TRUE(metadata.contains("album=\"Ol\u00e9 ELO\""));
}

// The check of recorded tracks lists each folder once: a name is there only exactly (not a
// prefix of a name there, nor another case or composition of it); a folder met again is listed
// again; links and folders are no track files.
TEST_F(UsbMSDeviceTest, TheDriveCheckFindsExactlyTheFilesThere)
{
    const QStringList names = {"b.mp3", "a.mp3x", "\u00e9t\u00e9.mp3", "Z.mp3", "c.mp3"};
    for (const QString& name : names)
        mHome.writeFile("media/PHONE/Music/A/B/" + name, "x");
    mHome.writeFile("media/PHONE/Music/A/C/d.mp3", "x");
    QDir().mkpath(mRoot + "Music/A/B/folder.mp3");
    QFile::link(mRoot + "Music/A/B/b.mp3", mRoot + "Music/A/B/link.mp3");
    mDevice->PrepareForSync();
    const auto there = [this](const QString& aPath) {
        Track track;
        track.setDeviceId(aPath);
        return mDevice->trackIsOnDevice(track);
    };
    for (const QString& name : names)
        EXPECT_TRUE(there("\\Music\\A\\B\\" + name)) << name.toStdString();
    for (const char* name : {"a.mp3", "z.mp3", "e\u0301te\u0301.mp3", "folder.mp3", "link.mp3", ""})
        EXPECT_FALSE(there("\\Music\\A\\B\\" + QString(name))) << QString(name).toStdString();
    EXPECT_TRUE(there("\\Music\\A\\C\\d.mp3"));
    QFile::remove(mRoot + "Music/A/B/c.mp3");
    EXPECT_TRUE(there("\\Music\\A\\B\\c.mp3")); // as listed
    mDevice->trackChecksDone();
    EXPECT_FALSE(there("\\Music\\A\\B\\c.mp3"));
    EXPECT_FALSE(there("\\Music\\Nowhere\\c.mp3"));
}

TEST_F(UsbMSDeviceTest, AFileAlreadyOnTheDriveIsTakenOnlyWhenItsSizeIsTheCopys)
{
    mHome.writeFile("media/PHONE/Music/Band/Album/a.mp3", "same size!");
    mDevice->PrepareForSync();
    Track track = mHome.libraryTrack("a.mp3");
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    EXPECT_EQ(readWholeFile(mRoot + "Music/Band/Album/a.mp3"), QByteArray("same size!"));
    EXPECT_EQ(track.deviceId(), "\\Music\\Band\\Album\\a.mp3");
    EXPECT_EQ(track.sizeOnDevice(), 10);
    // Another size is another file (a stale copy, an older version): replaced.
    mHome.writeFile("media/PHONE/Music/Band/Album/b.mp3", "stale and longer");
    Track other = mHome.libraryTrack("b.mp3");
    ASSERT_EQ(mDevice->UploadTrack(other), 0);
    mDevice->FinalizeSync();
    EXPECT_EQ(readWholeFile(mRoot + "Music/Band/Album/b.mp3"), QByteArray("audio data"));
    EXPECT_TRUE(readWholeFile(mRoot + "KORDA/metadata0.xml").contains("a.mp3"));
}

TEST_F(UsbMSDeviceTest, UnstorableFileNamesDoNotSplitTheDevicePath)
{
    Track track = mHome.libraryTrack("AC\\DC - What?.mp3");
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    EXPECT_EQ(track.deviceId(), "\\Music\\Band\\Album\\AC_DC - What_.mp3");
    mDevice->FinalizeSync();
    EXPECT_TRUE(QFileInfo::exists(mRoot + "Music/Band/Album/AC_DC - What_.mp3"));
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
