// The real libmtp and libusb code against a software phone on umockdev's USB bus: detection,
// opening, storages, folders, sends (one ending on a USB packet boundary), reading back, a
// cancelled send, a phone another program holds, a pulled cable, and the refresher and device
// list on top.
#include "devices/DeviceList.h"
#include "devices/mtp/DeviceMtpMac.h"
#include "devices/mtp/DeviceParentMtpMac.h"
#include "devices/mtp/MtpDevice.h"
#include "devices/mtp/MtpFile.h"
#include "devices/mtp/MtpMacDeviceRefresher.h"
#include "devices/mtp/MtpResult.h"
#include "devices/mtp/QMtpFile.h"
#include "devices/mtp/libmtp/LibmtpDeviceManager.h"
#include "devices/mtp/libmtp/SoftwarePhone.h"
#include "support/FakeDriveProber.h"
#include "support/TestHome.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"
#include "tracks/TrackList.h"

#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

class LibmtpBackendTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Each test's phone has an address of its own, as a phone plugged in again does.
        static int address = 5;
        mPhone = std::make_unique<SoftwarePhone>(address++);
        mPhone->withResponder([this](MtpResponder& aPhone) {
            mStorage = aPhone.store().addStorage("Internal shared storage", 32ULL * 1024 * 1024 * 1024);
            // android.xml is read back in a transfer of exactly 1,024 bytes (two full packets,
            // then a zero-length one).
            QByteArray info = "<android version=\"12\" screen_pixels=\"2073600\"/>";
            info.append(QByteArray(1024 - 12 - info.size(), ' '));
            aPhone.store().putFile(mStorage, "KORDA/android.xml", info);
            aPhone.store().putFile(mStorage, "KORDA/uniqueid", "9876Y");
        });
    }

    std::unique_ptr<DeviceParentMtpMac> openParent()
    {
        const QList<PortableDeviceRecord> records = mManager.enumerate();
        if (records.size() != 1)
            return nullptr;
        qint32 result = 0;
        QString name;
        std::unique_ptr<PortableDevice> device = mManager.open(records.first(), result, name);
        if (!device)
            return nullptr;
        QList<QMtpDeviceStorage> storages;
        device->storages(storages);
        auto parent = std::make_unique<DeviceParentMtpMac>(std::make_unique<MtpDevice>(std::move(device)),
                                                           records.first(), name);
        for (const QMtpDeviceStorage& storage : storages)
            parent->addChild(std::make_unique<DeviceMtpMac>(*parent, storage));
        return parent;
    }
    QByteArray fileOnPhone(const QString& aPath)
    {
        QByteArray content;
        mPhone->withResponder([&](MtpResponder& aPhone) {
            if (const MtpResponder::Object* object = aPhone.store().find(mStorage, aPath))
                content = object->data;
        });
        return content;
    }
    QStringList filesOnPhone()
    {
        QStringList files;
        mPhone->withResponder([&](MtpResponder& aPhone) { files = aPhone.store().files(mStorage); });
        return files;
    }
    Track localTrack(const QString& aFile, const QByteArray& aContent)
    {
        const QString path = mHome.writeFile("library/" + aFile, aContent);
        static int number = 0;
        Track track(QFileInfo(aFile).completeBaseName(), "Album", "Band", ++number, path, true, false, false);
        track.setLocalSize(aContent.size());
        return track;
    }

    TestHome mHome;
    std::unique_ptr<SoftwarePhone> mPhone;
    uint32_t mStorage = 0;
    LibmtpDeviceManager mManager;
};

QByteArray pattern(int aSize)
{
    QByteArray bytes(aSize, '\0');
    for (int i = 0; i < aSize; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

} // namespace

TEST_F(LibmtpBackendTest, FindsOpensAndListsThePhone)
{
    const QList<PortableDeviceRecord> records = mManager.enumerate();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records.first().description, "Nexus/Pixel (MTP)");
    EXPECT_EQ(records.first().manufacturer, "Google Inc");
    qint32 result = -1;
    QString name;
    std::unique_ptr<PortableDevice> device = mManager.open(records.first(), result, name);
    ASSERT_TRUE(device) << mManager.openFailure().toStdString();
    EXPECT_EQ(result, MtpResult::kOk);
    EXPECT_EQ(name, "Pixel 7");
    QList<QMtpDeviceStorage> storages;
    ASSERT_EQ(device->storages(storages), MtpResult::kOk);
    ASSERT_EQ(storages.size(), 1);
    EXPECT_EQ(storages.first().description(), "Internal shared storage");
    EXPECT_EQ(storages.first().capacity(), 32LL * 1024 * 1024 * 1024);
    QList<QMtpFile> root, korda;
    ASSERT_EQ(device->listFolder(storages.first().Id(), MtpDevice::kRootFolder, root), MtpResult::kOk);
    ASSERT_EQ(root.size(), 1);
    EXPECT_EQ(root.first().name(), "KORDA");
    EXPECT_EQ(root.first().type(), QMtpFile::TypeFolder);
    ASSERT_EQ(device->listFolder(storages.first().Id(), root.first().objectId(), korda), MtpResult::kOk);
    EXPECT_EQ(korda.size(), 2);
    // An empty folder is no error.
    QString emptyName = "Empty", emptyId;
    ASSERT_EQ(device->createFolder(storages.first().Id(), MtpDevice::kRootFolder, emptyName, emptyId),
              MtpResult::kOk);
    QList<QMtpFile> empty;
    EXPECT_EQ(device->listFolder(storages.first().Id(), emptyId, empty), MtpResult::kOk);
    EXPECT_TRUE(empty.isEmpty());
    // A folder that isn't there is.
    EXPECT_NE(device->listFolder(storages.first().Id(), "99999", empty), MtpResult::kOk);
}

TEST_F(LibmtpBackendTest, AStorageTakesTracksPlaylistsAndArtThroughRealLibmtp)
{
    auto parent = openParent();
    ASSERT_TRUE(parent);
    auto* device = static_cast<DeviceMtpMac*>(parent->children().first());
    EXPECT_EQ(device->FriendlyName(), "Pixel 7 Internal shared storage");
    EXPECT_EQ(device->UniqueDeviceId(), "9876Y");
    EXPECT_EQ(device->androidInfo().androidVersion, 12);
    EXPECT_FALSE(device->Disabled());
    device->PrepareForSync();

    // One track whose data container ends on a packet boundary, one that doesn't.
    const QByteArray onBoundary = pattern(512 * 40 - 12);
    const QByteArray odd = pattern(300001);
    Track first = localTrack("01 Boundary.mp3", onBoundary);
    Track second = localTrack("02 Odd.mp3", odd);
    ASSERT_EQ(device->UploadTrack(first), 0);
    ASSERT_EQ(device->UploadTrack(second), 0);
    EXPECT_EQ(fileOnPhone("Music/Band/Album/01 Boundary.mp3"), onBoundary);
    EXPECT_EQ(fileOnPhone("Music/Band/Album/02 Odd.mp3"), odd);
    EXPECT_GT(mPhone->zeroLengthPacketsReceived(), 0);
    EXPECT_GT(mPhone->zeroLengthPacketsSent(), 0); // android.xml came back in one
    EXPECT_TRUE(device->trackIsOnDevice(first));

    // A playlist with the phone's references to its tracks, and the album's art.
    TrackList tracks;
    tracks.addTrack(first);
    tracks.addTrack(second);
    ASSERT_EQ(tracks.count(), 2);
    LocalPlaylist playlist("Mix");
    playlist.append(1, 0);
    playlist.append(0, 0);
    ASSERT_EQ(device->createPlaylist(playlist, tracks, false), 0);
    EXPECT_EQ(fileOnPhone("Playlists_VLT/Mix.m3u"),
              "#EXTM3U\r\n#EXTINF:0,02 Odd\r\n..\\Music\\Band\\Album\\02 Odd.mp3\r\n"
              "#EXTINF:0,01 Boundary\r\n..\\Music\\Band\\Album\\01 Boundary.mp3\r\n");
    QStringList references;
    mPhone->withResponder([&](MtpResponder& aPhone) {
        references = aPhone.store().referencesOf(mStorage, "Playlists_VLT/Mix.m3u");
    });
    EXPECT_EQ(references, (QStringList{"Music/Band/Album/02 Odd.mp3", "Music/Band/Album/01 Boundary.mp3"}));
    device->uploadAlbumArt(first, mHome.writeFile("cover.jpg", pattern(5000)));
    device->uploadAlbumArt(first, mHome.writeFile("cover2.jpg", pattern(6000)));
    EXPECT_EQ(fileOnPhone("Music/Band/Album/folder.jpg").size(), 6000);

    device->FinalizeSync();
    EXPECT_EQ(fileOnPhone("KORDA/synccomplete"), "sync-complete");

    // Deleting twice: the second finds nothing and is no error.
    TrackCache cache;
    EXPECT_EQ(device->DeleteTrack(cache, second), 0);
    EXPECT_EQ(device->DeleteTrack(cache, second), 0);
    EXPECT_FALSE(filesOnPhone().contains("Music/Band/Album/02 Odd.mp3"));
}

TEST_F(LibmtpBackendTest, ACancelledSendStopsAtOnceAndLeavesNoObject)
{
    auto parent = openParent();
    ASSERT_TRUE(parent);
    auto* device = static_cast<DeviceMtpMac*>(parent->children().first());
    int calls = 0;
    device->setTransferProgress([&](qint64, qint64) { return ++calls < 3; });
    Track track = localTrack("big.mp3", pattern(2 * 1024 * 1024));
    EXPECT_NE(device->UploadTrack(track), 0);
    EXPECT_EQ(calls, 3);
    EXPECT_GE(mPhone->cancelRequests(), 1);
    EXPECT_FALSE(filesOnPhone().contains("Music/Band/Album/big.mp3"));
    // The phone goes on answering.
    device->setTransferProgress(nullptr);
    Track small = localTrack("small.mp3", pattern(1000));
    EXPECT_EQ(device->UploadTrack(small), 0);
    EXPECT_EQ(fileOnPhone("Music/Band/Album/small.mp3"), pattern(1000));
}

TEST_F(LibmtpBackendTest, APhoneAnotherProgramHoldsIsSaidSo)
{
    mPhone->setHeldByAnotherProgram(true);
    const QList<PortableDeviceRecord> records = mManager.enumerate();
    ASSERT_EQ(records.size(), 1);
    qint32 result = 0;
    QString name;
    EXPECT_FALSE(mManager.open(records.first(), result, name));
    EXPECT_EQ(result, MtpResult::kBusy);
    EXPECT_TRUE(mManager.openFailure().contains("another program")) << mManager.openFailure().toStdString();
    // Let go: it opens.
    mPhone->setHeldByAnotherProgram(false);
    EXPECT_TRUE(mManager.open(records.first(), result, name));
}

TEST_F(LibmtpBackendTest, APulledCableEndsTheCopyAsGoneWithThePartLeftOnThePhone)
{
    auto parent = openParent();
    ASSERT_TRUE(parent);
    auto* device = static_cast<DeviceMtpMac*>(parent->children().first());
    mPhone->unplugAfterBytes(100000);
    Track track = localTrack("cut.mp3", pattern(400000));
    EXPECT_EQ(device->UploadTrack(track), Device::kDeviceGone);
    EXPECT_FALSE(device->unusableReason().isEmpty());
    const QByteArray left = fileOnPhone("Music/Band/Album/cut.mp3");
    EXPECT_GT(left.size(), 0);
    EXPECT_LT(left.size(), 400000);
    // Nothing more reaches the phone, and nothing hangs.
    Track other = localTrack("other.mp3", pattern(100));
    EXPECT_EQ(device->UploadTrack(other), Device::kDeviceGone);
}

TEST_F(LibmtpBackendTest, TheRefresherListsThePhoneAndSaysWhenItIsLocked)
{
    {
        DeviceList list(std::make_shared<FakeDriveProber>(), std::make_shared<LibmtpDeviceManager>());
        list.refresher().setOpenPause(0);
        list.refreshWithPhones(30000);
        ASSERT_EQ(list.GetDevices().size(), 1);
        EXPECT_EQ(list.GetDevices().first()->FriendlyName(), "Pixel 7 Internal shared storage");
        EXPECT_EQ(list.GetDevices().first()->GetDeviceType(), Device::DeviceTypeMtp);
    }
    // The phone's screen is locked: it shows no storage, which is said once.
    mPhone->withResponder([](MtpResponder& aPhone) { aPhone.setLocked(true); });
    DeviceList list(std::make_shared<FakeDriveProber>(), std::make_shared<LibmtpDeviceManager>());
    list.refresher().setOpenPause(0);
    QSignalSpy reports(&list, &DeviceList::unableToOpenDevice);
    list.refreshWithPhones(30000);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports.first().first().toInt(), MtpMacDeviceRefresher::kNoStorage);
    EXPECT_TRUE(list.GetDevices().isEmpty());
}
