// Another phone's data carried by a whole run: an iPhone backup (the four data files, photos and
// a video) and a BlackBerry backup, onto a drive and a phone; what failed is tried again.
#include "support/SyncFixture.h"

#include "backup/AppleExtractor.h"
#include "support/BackupBuilder.h"
#include "support/IpdBuilder.h"
#include "support/IphoneDatabases.h"
#include "support/ZipWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

class DataTransferTest : public ::testing::TestWithParam<SyncFixture::Target>
{
protected:
    void SetUp() override { AppleExtractor::setDefaultExtractorProgram(VELTRANE_EXTRACT_PROGRAM); }
};

QByteArray makeMovie(const QString& aPath)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start("ffmpeg", {"-y", "-loglevel", "error", "-f", "lavfi", "-i",
                            "testsrc=duration=0.3:size=64x48:rate=10", "-c:v", "mpeg4", "-f", "mov", aPath});
    ffmpeg.waitForFinished(30000);
    EXPECT_EQ(ffmpeg.exitCode(), 0) << ffmpeg.readAll().toStdString();
    return readWholeFile(aPath);
}

// An iPhone backup with each database and three camera-roll files (one a video).
QString makeIphoneBackup(SyncFixture& aFixture, bool aEncrypted = false)
{
    const QString work = aFixture.home.path() + "/work";
    QDir().mkpath(work);
    IphoneDatabases::newSms(work + "/sms.db");
    IphoneDatabases::addressBook(work + "/ab.db");
    IphoneDatabases::newCalendar(work + "/cal.db");
    IphoneDatabases::newNotes(work + "/notes.db");
    BackupBuilder backup(aFixture.home.path() + "/.local/share/Apple Computer/MobileSync/Backup",
                         "00008030-AB");
    backup.setInfoPlist("Old iPhone");
    backup.addFileFrom("HomeDomain", "Library/SMS/sms.db", work + "/sms.db");
    backup.addFileFrom("HomeDomain", "Library/AddressBook/AddressBook.sqlitedb", work + "/ab.db");
    backup.addFileFrom("HomeDomain", "Library/Calendar/Calendar.sqlitedb", work + "/cal.db");
    backup.addFileFrom("HomeDomain", "Library/Notes/notes.sqlite", work + "/notes.db");
    backup.addFile("CameraRollDomain", "Media/DCIM/100APPLE/IMG_0001.JPG", IphoneDatabases::picture(40, 30));
    backup.addFile("CameraRollDomain", "Media/DCIM/100APPLE/IMG_0002.JPG", "new photo content");
    backup.addFile("CameraRollDomain", "Media/DCIM/100APPLE/IMG_0003.MOV", makeMovie(work + "/movie.mov"));
    if (aEncrypted)
        backup.setEncrypted();
    backup.write();
    return backup.path() + "/";
}

void chooseBackup(SyncFixture& aFixture, const QString& aPath, bool aAll = true)
{
    SyncSettings settings;
    settings.load();
    const QString id = aFixture.device->UniqueDeviceId();
    settings.setSelectedBackupPath(id, aPath);
    settings.setCopyTextMessages(id, true);
    settings.setCopyAddressBook(id, true);
    settings.setCopyCalendar(id, aAll);
    settings.setCopyNotes(id, aAll);
    settings.setCopyPhotos(id, true);
    settings.save();
}

QList<bool> copySwitches(SyncFixture& aFixture)
{
    SyncSettings settings;
    settings.load();
    const QString id = aFixture.device->UniqueDeviceId();
    return {settings.copyTextMessages(id), settings.copyAddressBook(id), settings.copyCalendar(id),
            settings.copyNotes(id), settings.copyPhotos(id)};
}

} // namespace

TEST_P(DataTransferTest, AnIphoneBackupArrivesOnceWithItsPhotosAndVideo)
{
    SyncFixture fixture(GetParam());
    fixture.configure({"Rock"});
    chooseBackup(fixture, makeIphoneBackup(fixture));
    // A photo already on the device is kept as it is.
    QDir().mkpath(fixture.home.path() + "/old");
    const QString existing = fixture.home.writeFile("old/IMG_0002.JPG", "photo already there");
    ASSERT_EQ(fixture.device->CopyFile(existing, "DCIM\\100APPLE\\IMG_0002.JPG", false), 0);

    const SyncOutcome outcome = fixture.run();
    EXPECT_EQ(outcome.state, SyncState::Complete);
    EXPECT_TRUE(outcome.dataFailures.isEmpty()) << outcome.dataFailures.join("; ").toStdString();
    EXPECT_TRUE(outcome.states.contains(SyncState::Photos));
    EXPECT_TRUE(outcome.states.contains(SyncState::ConvertingVideo));
    for (const char* file : {"messages.xml", "address.xml", "calendar.xml", "notes.xml"})
        EXPECT_TRUE(fixture.readOnDevice(QString("KORDA/") + file).startsWith("<?xml")) << file;
    EXPECT_TRUE(fixture.readOnDevice("KORDA/messages.xml").contains("<sent_message>"));
    EXPECT_TRUE(fixture.readOnDevice("KORDA/address.xml").contains("Lindqvist"));
    EXPECT_EQ(fixture.readOnDevice("DCIM/100APPLE/IMG_0001.JPG"), IphoneDatabases::picture(40, 30));
    EXPECT_EQ(fixture.readOnDevice("DCIM/100APPLE/IMG_0002.JPG"), "photo already there");
    const QByteArray video = fixture.readOnDevice("DCIM/100APPLE/IMG_0003.mp4");
    EXPECT_EQ(video.mid(4, 4), "ftyp");
    EXPECT_FALSE(fixture.existsOnDevice("DCIM/100APPLE/IMG_0003.MOV"));
    EXPECT_EQ(fixture.musicOnDrive().filter(".mp3").size(), 3);
    EXPECT_EQ(copySwitches(fixture), QList<bool>({false, false, false, false, false}));
    // Nothing of the run's working folder is left behind.
    EXPECT_TRUE(QDir(fixture.home.korda()).entryList({"run-*"}, QDir::Dirs).isEmpty());

    // Once only: the next run carries nothing.
    const QString copied = fixture.localCopyOf("KORDA/notes.xml");
    ASSERT_FALSE(copied.isEmpty());
    fixture.device->CopyFile(fixture.home.writeFile("marker", "changed on the phone"), "KORDA\\notes.xml",
                             true);
    EXPECT_EQ(fixture.run().state, SyncState::Complete);
    EXPECT_EQ(fixture.readOnDevice("KORDA/notes.xml"), "changed on the phone");
}

TEST_P(DataTransferTest, AnEncryptedBackupCarriesNothingAndKeepsItsSwitches)
{
    SyncFixture fixture(GetParam());
    fixture.configure({"Rock"});
    chooseBackup(fixture, makeIphoneBackup(fixture, true));
    const SyncOutcome outcome = fixture.run();
    EXPECT_EQ(outcome.state, SyncState::Complete);
    EXPECT_TRUE(outcome.extractionFailed);
    EXPECT_EQ(outcome.dataFailures.size(), 1);
    EXPECT_FALSE(fixture.existsOnDevice("KORDA/messages.xml"));
    EXPECT_EQ(copySwitches(fixture), QList<bool>({true, true, true, true, true}));
    EXPECT_EQ(fixture.musicOnDrive().filter(".mp3").size(), 3); // the music still arrives
    // Said once for this backup: the next runs keep quiet, and keep the switches.
    for (int run = 0; run < 2; ++run) {
        const SyncOutcome next = fixture.run();
        EXPECT_TRUE(next.dataFailures.isEmpty()) << next.dataFailures.join("; ").toStdString();
        EXPECT_FALSE(next.extractionFailed);
    }
    EXPECT_EQ(copySwitches(fixture), QList<bool>({true, true, true, true, true}));
}

TEST_P(DataTransferTest, ABlackBerryBackupWithAPhotoFolder)
{
    SyncFixture fixture(GetParam());
    fixture.configure({"Rock"});
    IpdBuilder ipd;
    const int sms = ipd.addDatabase("SMS Messages");
    const int book = ipd.addDatabase("Address Book - All");
    ipd.addRecord(sms, {{1, IpdBuilder::smsHeader(true, 1300000000000LL)},
                        {2, "+4670"},
                        {7, QByteArray(1, '\0')},
                        {4, "from the BlackBerry"}});
    ipd.addRecord(book, {{10, IpdBuilder::subfield(32, "Ola") + IpdBuilder::subfield(32, "Nordmann")}});
    const QString backup = fixture.home.writeFile("Backup 2012.ipd", ipd.bytes());
    fixture.home.writeFile("BB photos/IMG1.jpg", "bb photo");
    fixture.home.writeFile("BB photos/Trip/IMG2.jpg", "bb photo 2");
    fixture.home.writeFile("BB photos/.thumbs/t.jpg", "hidden");
    chooseBackup(fixture, backup);
    {
        SyncSettings settings;
        settings.load();
        settings.setSettingsList(fixture.device->UniqueDeviceId(), SyncSettings::kPhotoFolders,
                                 {{"folder", fixture.home.path() + "/BB photos"}});
        settings.save();
    }
    const SyncOutcome outcome = fixture.run();
    EXPECT_EQ(outcome.state, SyncState::Complete);
    EXPECT_TRUE(fixture.readOnDevice("KORDA/messages.xml").contains("from the BlackBerry"));
    EXPECT_TRUE(fixture.readOnDevice("KORDA/address.xml").contains("Nordmann"));
    EXPECT_EQ(fixture.readOnDevice("DCIM/Blackberry/IMG1.jpg"), "bb photo");
    EXPECT_EQ(fixture.readOnDevice("DCIM/Blackberry/Trip/IMG2.jpg"), "bb photo 2");
    EXPECT_FALSE(fixture.existsOnDevice("DCIM/Blackberry/.thumbs/t.jpg"));
    // A BlackBerry backup keeps no calendar or notes: said once, not tried again.
    EXPECT_EQ(outcome.dataFailures.size(), 2) << outcome.dataFailures.join("; ").toStdString();
    EXPECT_EQ(copySwitches(fixture), QList<bool>({false, false, false, false, false}));
    EXPECT_TRUE(QFileInfo::exists(fixture.home.path() + "/BB photos/IMG1.jpg")); // the computer's copy stays
}

INSTANTIATE_TEST_SUITE_P(Targets, DataTransferTest,
                         ::testing::Values(SyncFixture::Target::Drive, SyncFixture::Target::Phone),
                         [](const auto& aInfo) {
                             return aInfo.param == SyncFixture::Target::Drive ? std::string("Drive")
                                                                              : std::string("Phone");
                         });

namespace {

// A drive that turns read-only after a number of file copies, failing as a real read-only drive
// does.
class ReadOnlyLaterDrive : public UsbMSDevice
{
public:
    using UsbMSDevice::UsbMSDevice;
    int CopyFile(const QString& aSource, const QString& aDestination, bool aReplace) override
    {
        if (++copies > writableCopies)
            return kCopyFailed;
        return UsbMSDevice::CopyFile(aSource, aDestination, aReplace);
    }
    int copies = 0;
    int writableCopies = 2;
};

} // namespace

TEST(DataTransfer, WhatFailedKeepsItsSwitchAndTheNextRunCarriesIt)
{
    AppleExtractor::setDefaultExtractorProgram(VELTRANE_EXTRACT_PROGRAM);
    SyncFixture fixture;
    fixture.replaceDrive(std::make_unique<ReadOnlyLaterDrive>(fixture.root, "Player", true, fixture.prober));
    fixture.device->SetConfigured();
    fixture.configure({"Rock"});
    chooseBackup(fixture, makeIphoneBackup(fixture));
    // Photos are copied first (two of three go), then the data files: none goes.
    const SyncOutcome first = fixture.run();
    EXPECT_EQ(first.state, SyncState::Complete);
    EXPECT_EQ(first.dataFailures.size(), 5) << first.dataFailures.join("; ").toStdString();
    EXPECT_EQ(copySwitches(fixture), QList<bool>({true, true, true, true, true}));
    EXPECT_FALSE(fixture.existsOnDevice("KORDA/messages.xml"));

    static_cast<ReadOnlyLaterDrive*>(fixture.drive)->writableCopies = 1000;
    const SyncOutcome second = fixture.run();
    EXPECT_TRUE(second.dataFailures.isEmpty()) << second.dataFailures.join("; ").toStdString();
    EXPECT_EQ(copySwitches(fixture), QList<bool>({false, false, false, false, false}));
    EXPECT_TRUE(fixture.existsOnDevice("KORDA/messages.xml"));
    EXPECT_TRUE(fixture.existsOnDevice("DCIM/100APPLE/IMG_0003.mp4"));
}

namespace {

// The whole run with PATH leading to none of the programs Veltrane starts (ffmpeg, 7z).
class WithoutTools
{
public:
    WithoutTools() : mPath(qgetenv("PATH")) { qputenv("PATH", "/nonexistent"); }
    ~WithoutTools() { qputenv("PATH", mPath); }

private:
    QByteArray mPath;
};

} // namespace

TEST(DataTransfer, AKindThatCanNotArriveIsNamedOnceKeptAndTriedAgainWhenTheBackupChanges)
{
    AppleExtractor::setDefaultExtractorProgram(VELTRANE_EXTRACT_PROGRAM);
    SyncFixture fixture;
    fixture.configure({"Rock"});
    // The backup's message database is listed but not stored; the camera roll holds today's
    // formats (HEIC, PNG, an HEVC-era .MOV).
    const QString work = fixture.home.path() + "/work";
    QDir().mkpath(work);
    IphoneDatabases::addressBook(work + "/ab.db");
    BackupBuilder backup(fixture.home.path() + "/backups", "00008110-CD");
    backup.setInfoPlist("New iPhone");
    backup.addFile("HomeDomain", "Library/SMS/sms.db", "stored, then lost");
    backup.addFileFrom("HomeDomain", "Library/AddressBook/AddressBook.sqlitedb", work + "/ab.db");
    backup.addFile("CameraRollDomain", "Media/DCIM/100APPLE/IMG_0004.HEIC", "heic photo");
    backup.addFile("CameraRollDomain", "Media/DCIM/100APPLE/IMG_0005.PNG", "png screenshot");
    backup.addFile("CameraRollDomain", "Media/DCIM/100APPLE/IMG_0006.MOV", makeMovie(work + "/movie.mov"));
    backup.write();
    const QString sms = BackupBuilder::fileId("HomeDomain", "Library/SMS/sms.db");
    ASSERT_TRUE(QFile::remove(backup.path() + "/" + sms.left(2) + "/" + sms));
    chooseBackup(fixture, backup.path() + "/", false);

    SyncOutcome outcome;
    {
        WithoutTools noFfmpeg; // the video can't be put into MP4 on this computer
        outcome = fixture.run();
    }
    const QString failures = outcome.dataFailures.join("; ");
    EXPECT_TRUE(failures.contains("Messages not carried: the backup's database could not be restored"))
        << failures.toStdString();
    EXPECT_TRUE(failures.contains("need ffmpeg, which is not installed")) << failures.toStdString();
    EXPECT_FALSE(fixture.existsOnDevice("KORDA/messages.xml")); // never an empty export
    EXPECT_TRUE(fixture.readOnDevice("KORDA/address.xml").contains("Lindqvist"));
    EXPECT_EQ(fixture.readOnDevice("DCIM/100APPLE/IMG_0004.HEIC"), "heic photo");
    EXPECT_EQ(fixture.readOnDevice("DCIM/100APPLE/IMG_0005.PNG"), "png screenshot");
    EXPECT_EQ(copySwitches(fixture), QList<bool>({true, false, false, false, true}));

    // Nothing changed: not tried again, nothing said, the switches kept.
    outcome = fixture.run();
    EXPECT_TRUE(outcome.dataFailures.isEmpty()) << outcome.dataFailures.join("; ").toStdString();
    EXPECT_FALSE(fixture.existsOnDevice("DCIM/100APPLE/IMG_0006.mp4"));
    EXPECT_EQ(copySwitches(fixture), QList<bool>({true, false, false, false, true}));

    // A new backup (its manifest changed) and ffmpeg there: both are tried again.
    QFile manifest(backup.path() + "/Manifest.db");
    ASSERT_TRUE(manifest.open(QIODevice::Append));
    manifest.write(QByteArray(4096, '\0')); // a page more: another backup as far as the run knows
    manifest.close();
    outcome = fixture.run();
    EXPECT_EQ(outcome.dataFailures.size(), 1) << outcome.dataFailures.join("; ").toStdString();
    EXPECT_EQ(fixture.readOnDevice("DCIM/100APPLE/IMG_0006.mp4").mid(4, 4), "ftyp");
    EXPECT_EQ(copySwitches(fixture), QList<bool>({true, false, false, false, false}));
}

TEST(DataTransfer, ABlackBerryArchiveWithout7zKeepsItsSwitches)
{
    SyncFixture fixture;
    fixture.configure({"Rock"});
    ZipWriter archive;
    archive.addFile("Manifest.xml", "<?xml version=\"1.0\"?><BlackBerry_Backup/>");
    chooseBackup(fixture, fixture.home.writeFile("phone.bbb", archive.bytes()), false);
    SyncOutcome outcome;
    {
        WithoutTools no7z;
        outcome = fixture.run();
    }
    EXPECT_TRUE(outcome.dataFailures.join("; ").contains("7z is not installed"))
        << outcome.dataFailures.join("; ").toStdString();
    EXPECT_EQ(copySwitches(fixture).mid(0, 2), QList<bool>({true, true}));
}
