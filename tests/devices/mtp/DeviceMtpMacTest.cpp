// A phone's storage over MTP, on the simulated phone: identity, paths, tracks, album art, and the
// failures of real phones.
#include "devices/mtp/DeviceMtpMac.h"
#include "devices/mtp/MtpDevice.h"
#include "devices/mtp/MtpFile.h"
#include "devices/mtp/MtpResult.h"
#include "support/SimulatedPhone.h"
#include "support/TestHome.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

class DeviceMtpMacTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mInternal = mPhone->addStorage("Internal shared storage");
        mPhone->installTandrel(mInternal);
        mPhone->putFile(mInternal, "KORDA/uniqueid", "12345Y");
        reconnect();
    }

    void reconnect()
    {
        mDevice = nullptr;
        mParent = mPhone->openParent();
        ASSERT_TRUE(mParent);
        mDevice = static_cast<DeviceMtpMac*>(mParent->children().first());
    }

    TestHome mHome;
    std::shared_ptr<SimulatedPhone> mPhone = std::make_shared<SimulatedPhone>();
    QString mInternal;
    std::unique_ptr<DeviceParentMtpMac> mParent;
    DeviceMtpMac* mDevice = nullptr;
};

} // namespace

TEST_F(DeviceMtpMacTest, ReadsItsIdentityAndThePhoneApplicationsInformation)
{
    EXPECT_EQ(mDevice->FriendlyName(), "Pixel 7 Internal shared storage");
    EXPECT_EQ(mDevice->UniqueDeviceId(), "12345Y");
    EXPECT_EQ(mDevice->GetDeviceType(), Device::DeviceTypeMtp);
    EXPECT_EQ(mDevice->androidInfo().androidVersion, 13);
    EXPECT_FALSE(mDevice->Disabled());
    EXPECT_TRUE(mDevice->IsMounted());
    qint64 capacity = 0, free = 0;
    EXPECT_EQ(mDevice->GetStorageCapacity(capacity), 0);
    EXPECT_EQ(mDevice->GetFreeStorageSpace(free), 0);
    EXPECT_EQ(capacity, 64LL * 1024 * 1024 * 1024);
    EXPECT_GT(free, capacity - 1024);
}

TEST_F(DeviceMtpMacTest, MissingHugeOrDamagedFilesAreReadSafely)
{
    // No android.xml: version -1. One too big to be believed is "there but unreadable": 10.
    auto bare = std::make_shared<SimulatedPhone>("", "usb 1:9");
    const QString storage = bare->addStorage("SD card");
    auto parent = bare->openParent();
    auto* card = static_cast<DeviceMtpMac*>(parent->children().first());
    EXPECT_EQ(card->androidInfo().androidVersion, -1);
    EXPECT_EQ(card->UniqueDeviceId(), Device::kTemporaryDeviceId);
    // Without a friendly name the product stands in.
    EXPECT_EQ(card->FriendlyName(), "Nexus/Pixel (MTP) Google Inc SD card");

    bare->putFile(storage, "KORDA/android.xml", QByteArray(MtpFile::kMaxReadBytes + 1, 'x'));
    // An identity with markup, and one far too long, are no identity.
    for (const QByteArray& identity : {QByteArray("12<3>Y"), QByteArray(4096, '7')}) {
        bare->putFile(storage, "KORDA/uniqueid", identity);
        parent = bare->openParent();
        card = static_cast<DeviceMtpMac*>(parent->children().first());
        EXPECT_EQ(card->androidInfo().androidVersion, 10);
        EXPECT_EQ(card->UniqueDeviceId(), Device::kTemporaryDeviceId);
    }
    // Configuring never replaces an identity file, damaged or not (the phone's settings and cache
    // may stand under it), nor a folder of its name: it says why and leaves both alone.
    card->SetConfigured();
    EXPECT_EQ(card->UniqueDeviceId(), Device::kTemporaryDeviceId);
    EXPECT_TRUE(card->identityProblem().contains("damaged")) << card->identityProblem().toStdString();
    EXPECT_EQ(bare->file(storage, "KORDA/uniqueid"), QByteArray(4096, '7'));
    bare->remove(storage, "KORDA/uniqueid");
    bare->putFile(storage, "KORDA/uniqueid/inside.txt", "kept");
    card->SetConfigured();
    EXPECT_EQ(card->UniqueDeviceId(), Device::kTemporaryDeviceId);
    EXPECT_TRUE(card->identityProblem().contains("is a folder")) << card->identityProblem().toStdString();
    EXPECT_EQ(bare->file(storage, "KORDA/uniqueid/inside.txt"), "kept");
    // Only a phone that certainly has none gets one.
    bare->remove(storage, "KORDA/uniqueid");
    card->SetConfigured();
    EXPECT_TRUE(card->UniqueDeviceId().endsWith('Y'));
    EXPECT_EQ(bare->file(storage, "KORDA/uniqueid"), card->UniqueDeviceId().toLatin1());
    // The temporary files of the transfers are gone.
    EXPECT_TRUE(QDir(mHome.korda()).entryList({"temp*"}, QDir::Files).isEmpty());
}

TEST_F(DeviceMtpMacTest, NamesDifferingInCaseOrCompositionResolveToOneFolder)
{
    // The phone has MUSIC and an artist written with a combining accent.
    mPhone->putFile(mInternal, "MUSIC/Beyonce\u0301/Lemonade/other.mp3", "x");
    reconnect();
    Track track = mHome.libraryTrack("song.mp3", "beyonc\u00e9", "LEMONADE");
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    EXPECT_EQ(mPhone->folders(mInternal, QString()), (QStringList{"KORDA", "MUSIC"}));
    EXPECT_EQ(mPhone->folders(mInternal, "MUSIC"), QStringList{"Beyonce\u0301"});
    EXPECT_EQ(mPhone->files(mInternal, "MUSIC"), (QStringList{"MUSIC/Beyonce\u0301/Lemonade/other.mp3",
                                                              "MUSIC/Beyonce\u0301/Lemonade/song.mp3"}));
    QString id;
    EXPECT_EQ(mDevice->GetIdFromTrack(track, id), 0);
    EXPECT_EQ(id, mPhone->objectId(mInternal, "MUSIC/Beyonce\u0301/Lemonade/song.mp3"));
}

TEST_F(DeviceMtpMacTest, ASendThatFailsButLeavesAnObjectIsDeletedAndSentAgain)
{
    mPhone->failNextSends(2, true, SimulatedPhone::kBlock + 10);
    Track track = mHome.libraryTrack("a.mp3", "Band", "Album", QByteArray(300000, 'z'));
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    EXPECT_EQ(mPhone->sends(), 3);
    EXPECT_EQ(mPhone->files(mInternal, "Music"), QStringList{"Music/Band/Album/a.mp3"});
    EXPECT_EQ(mPhone->file(mInternal, "Music/Band/Album/a.mp3").size(), 300000);
}

TEST_F(DeviceMtpMacTest, ACopyFailingOnItsLastAttemptReturnsFalseAndLeavesNothing)
{
    mPhone->failNextSends(MtpFile::kCopyAttempts, true, 10);
    const QString source = mHome.writeFile("data.bin", QByteArray(1000, 'd'));
    MtpFile file(*mDevice, "\\Exports\\data.bin");
    EXPECT_FALSE(file.copy(source, "\\Exports\\data.bin", MtpFile::kCopyAttempts, QMtpFile::TypeOther));
    EXPECT_EQ(mPhone->sends(), MtpFile::kCopyAttempts);
    EXPECT_FALSE(mPhone->exists(mInternal, "Exports/data.bin"));
    EXPECT_TRUE(mPhone->exists(mInternal, "Exports")); // the folder was made first

    mPhone->failNextSends(MtpFile::kCopyAttempts, false);
    Track track = mHome.libraryTrack("a.mp3");
    EXPECT_EQ(mDevice->UploadTrack(track), DeviceMtpMac::kCopyFailed);
    EXPECT_FALSE(track.onRemoteDevice());
    EXPECT_TRUE(mPhone->files(mInternal, "Music").isEmpty());
}

TEST_F(DeviceMtpMacTest, ACancelStopsTheCopyWithinABlockAndLeavesNothing)
{
    QList<qint64> reported;
    mDevice->setTransferProgress([&](qint64 aDone, qint64 aTotal) {
        EXPECT_EQ(aTotal, 10 * SimulatedPhone::kBlock);
        reported.append(aDone);
        return aDone < 3 * SimulatedPhone::kBlock; // the user cancels during the third block
    });
    Track track =
        mHome.libraryTrack("big.mp3", "Band", "Album", QByteArray(10 * SimulatedPhone::kBlock, 'b'));
    EXPECT_NE(mDevice->UploadTrack(track), 0);
    EXPECT_EQ(reported, (QList<qint64>{SimulatedPhone::kBlock, 2 * SimulatedPhone::kBlock,
                                       3 * SimulatedPhone::kBlock}));
    EXPECT_EQ(mPhone->sends(), 1); // not tried again
    EXPECT_TRUE(mPhone->files(mInternal, "Music").isEmpty());
    EXPECT_FALSE(track.onRemoteDevice());
}

TEST_F(DeviceMtpMacTest, EachFolderIsListedOncePerConnection)
{
    mDevice->PrepareForSync();
    const int before = mPhone->listings();
    for (int i = 0; i < 10; ++i) {
        Track track = mHome.libraryTrack(QString("%1.mp3").arg(i));
        ASSERT_EQ(mDevice->UploadTrack(track), 0);
    }
    // The root, Music, the artist and the album: each listed once (new folders need none).
    EXPECT_LE(mPhone->listings() - before, 4);
    EXPECT_EQ(mPhone->files(mInternal, "Music").size(), 10);
    // Reopened before a run, the cache starts again (the run's start has listed the root).
    mDevice->PrepareForSync();
    const int reopened = mPhone->listings();
    Track track = mHome.libraryTrack("0.mp3");
    QString id;
    EXPECT_EQ(mDevice->GetIdFromTrack(track, id), 0);
    EXPECT_EQ(mPhone->listings() - reopened, 3);
}

TEST_F(DeviceMtpMacTest, APhoneThatWentAwaySaysNothingAboutItsTracks)
{
    Track track = mHome.libraryTrack("a.mp3", "Band", "Album", QByteArray(5000, 'w'));
    ASSERT_EQ(mDevice->UploadTrack(track), 0);
    mPhone->unplug();
    mDevice->PrepareForSync();
    EXPECT_TRUE(mDevice->trackIsOnDevice(track));
    EXPECT_FALSE(mDevice->unusableReason().isEmpty());
}

TEST_F(DeviceMtpMacTest, TheSyncMarkerIsAbsentDuringARunAndPresentAfter)
{
    mPhone->putFile(mInternal, "KORDA/synccomplete", "sync-complete");
    mDevice->PrepareForSync();
    EXPECT_FALSE(mPhone->exists(mInternal, "KORDA/synccomplete"));
    mDevice->FinalizeSync();
    EXPECT_EQ(mPhone->file(mInternal, "KORDA/synccomplete"), "sync-complete");
}
