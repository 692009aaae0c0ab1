// The extractor program on built backups: both manifest generations, encrypted and hostile ones.
#include "backup/AppleExtractor.h"
#include "extract/ManifestMbdbReader.h"
#include "support/BackupBuilder.h"
#include "support/IphoneDatabases.h"
#include "support/TestHome.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

const QString kProgram = QStringLiteral(VELTRANE_EXTRACT_PROGRAM);

// Every file and link below aFolder, relative to it.
QStringList treeOf(const QString& aFolder)
{
    QStringList files;
    QDirIterator it(aFolder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(aFolder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// A backup holding one of each thing the exporters and the photo copy use, and things they don't.
void fillBackup(BackupBuilder& aBackup, const TestHome& aHome)
{
    const QString sms = aHome.path() + "/sms.db";
    IphoneDatabases::newSms(sms);
    aBackup.setInfoPlist("Test iPhone");
    aBackup.addFileFrom("HomeDomain", "Library/SMS/sms.db", sms);
    aBackup.addFile("HomeDomain", "Library/SMS/sms.db-wal", "wal");
    aBackup.addFile("HomeDomain", "Library/AddressBook/AddressBook.sqlitedb", "ab");
    aBackup.addFile("HomeDomain", "Library/Calendar/Calendar.sqlitedb", "cal");
    aBackup.addFile("AppDomainGroup-group.com.apple.notes", "NoteStore.sqlite", "notes");
    aBackup.addFile("MediaDomain", "Library/SMS/Attachments/01/01/IMG_1.jpeg",
                    IphoneDatabases::picture(8, 8));
    aBackup.addFile("CameraRollDomain", "Media/DCIM/100APPLE/IMG_0001.JPG", "photo");
    aBackup.addFile("CameraRollDomain", "Media/DCIM/100APPLE/IMG_0002.MOV", "movie");
    aBackup.addFile("HomeDomain", "Library/Preferences/com.apple.springboard.plist", QByteArray(100000, 'p'));
    aBackup.addFile("AppDomain-com.example.game", "Documents/save.dat", QByteArray(100000, 'g'));
    aBackup.write();
}

} // namespace

TEST(Extractor, BothManifestGenerationsRestoreWhatIsNeededAndListIt)
{
    for (const auto format : {BackupBuilder::ManifestDb, BackupBuilder::ManifestMbdb}) {
        TestHome home;
        BackupBuilder backup(home.path() + "/backups", "device", format);
        fillBackup(backup, home);
        const QString extract = home.korda() + "/extracted";
        home.writeFile("KORDA/extracted/left-over", "from an earlier run");

        AppleExtractor extractor(kProgram);
        ASSERT_EQ(extractor.extractFromManifest(backup.path(), extract), 0) << format;
        EXPECT_EQ(extractor.mSmsDatabases, QStringList{extract + "/HomeDomain/Library/SMS/sms.db"});
        EXPECT_TRUE(QFileInfo::exists(extract + "/HomeDomain/Library/SMS/sms.db-wal"));
        EXPECT_EQ(extractor.mAddressBookDatabases.size(), 1);
        EXPECT_EQ(extractor.mCalendarDatabases.size(), 1);
        EXPECT_EQ(extractor.mNotesDatabases,
                  QStringList{extract + "/AppDomainGroup-group.com.apple.notes/NoteStore.sqlite"});
        EXPECT_EQ(extractor.mSmsAttachments.value("Library/SMS/Attachments/01/01/IMG_1.jpeg"),
                  extract + "/MediaDomain/Library/SMS/Attachments/01/01/IMG_1.jpeg");
        ASSERT_EQ(extractor.mPhotos.size(), 2);
        EXPECT_EQ(extractor.mPhotos.at(0).destPhotoPath, "/100APPLE/IMG_0001.JPG");
        EXPECT_EQ(readWholeFile(extractor.mPhotos.at(0).mSourceName), "photo");
        // Only what is needed, and nothing of the earlier extraction.
        EXPECT_FALSE(QFileInfo::exists(extract + "/left-over"));
        EXPECT_FALSE(treeOf(extract).join(' ').contains("springboard"));
        EXPECT_FALSE(treeOf(extract).join(' ').contains("save.dat"));
    }
}

TEST(Extractor, AnEncryptedBackupOrNoExtractorLeavesNoListAndSaysSo)
{
    TestHome home;
    BackupBuilder backup(home.path() + "/backups", "locked");
    backup.setInfoPlist("Locked iPhone");
    backup.addFile("HomeDomain", "Library/SMS/sms.db", "ciphertext");
    backup.setEncrypted();
    backup.write();
    AppleExtractor extractor(kProgram);
    EXPECT_EQ(extractor.extractFromManifest(backup.path(), home.korda() + "/extracted"),
              AppleExtractor::kBackupListMissing);
    EXPECT_TRUE(extractor.mSmsDatabases.isEmpty());
    EXPECT_EQ(treeOf(home.korda() + "/extracted"), QStringList());

    BackupBuilder plain(home.path() + "/backups", "plain");
    fillBackup(plain, home);
    AppleExtractor missing(home.path() + "/no-such-extractor");
    EXPECT_EQ(missing.extractFromManifest(plain.path(), home.korda() + "/extracted"),
              AppleExtractor::kBackupListMissing);
}

TEST(Extractor, AHostileManifestWritesNothingOutsideTheExtractionAndReadsNothingOutsideTheBackup)
{
    TestHome home;
    BackupBuilder backup(home.path() + "/backups", "hostile");
    backup.setInfoPlist("Hostile");
    const QString secret = home.writeFile("secret.txt", "private");
    backup.addFile("HomeDomain", "Library/SMS/Attachments/../../../../../../escaped.jpg", "escape");
    backup.addFile("HomeDomain", "/tmp/veltrane-absolute.jpg", "absolute");
    backup.addFile("../..", "Library/SMS/sms.db", "domain escape");
    backup.addFile("MediaDomain", "Library/SMS/Attachments/ab/line\nLibrary/SMS/sms.db", "split the list");
    backup.addLinkedFile("HomeDomain", "Library/AddressBook/AddressBook.sqlitedb", secret);
    // fileIDs that would name paths rather than stored files.
    backup.addRawEntry("../../../secret.txt", "HomeDomain", "Library/Calendar/Calendar.sqlitedb",
                       QByteArray());
    backup.addRawEntry("0123", "HomeDomain", "Library/Notes/notes.sqlite", "short id");
    backup.addFile("CameraRollDomain", "Media/DCIM/100APPLE/IMG_0001.JPG", "the one good file");
    backup.write();

    const QStringList homeBefore = treeOf(home.path());
    const QString extract = home.korda() + "/extracted";
    AppleExtractor extractor(kProgram);
    ASSERT_EQ(extractor.extractFromManifest(backup.path(), extract), 0);

    EXPECT_EQ(treeOf(extract),
              QStringList({"CameraRollDomain", "CameraRollDomain/Media", "CameraRollDomain/Media/DCIM",
                           "CameraRollDomain/Media/DCIM/100APPLE",
                           "CameraRollDomain/Media/DCIM/100APPLE/IMG_0001.JPG", "backup_file_list",
                           "backup_unrestored_list"}));
    // What was refused is named, for the run not to take those kinds for complete.
    EXPECT_TRUE(extractor.unrestored().contains("Library/AddressBook/AddressBook.sqlitedb"));
    QStringList homeAfter = treeOf(home.path());
    homeAfter.removeIf([](const QString& aPath) { return aPath.startsWith("KORDA"); });
    QStringList expected = homeBefore;
    expected.removeIf([](const QString& aPath) { return aPath.startsWith("KORDA"); });
    EXPECT_EQ(homeAfter, expected);
    EXPECT_FALSE(QFileInfo::exists("/tmp/veltrane-absolute.jpg"));
    EXPECT_TRUE(extractor.mSmsDatabases.isEmpty());
    EXPECT_TRUE(extractor.mAddressBookDatabases.isEmpty());
    EXPECT_TRUE(extractor.mCalendarDatabases.isEmpty());
    EXPECT_TRUE(extractor.mNotesDatabases.isEmpty());
    EXPECT_EQ(extractor.mPhotos.size(), 1);
}

TEST(Extractor, ACutOrDamagedMbdbKeepsTheRecordsBeforeTheDamage)
{
    QList<ManifestEntry> entries;
    QString error;
    EXPECT_FALSE(ManifestMbdbReader::parse("not a manifest", entries, error));

    QByteArray record("\x00\x0aHomeDomain\x00\x12Library/SMS/sms.db\xff\xff\x00\x01h\xff\xff\x81\xa4", 41);
    record += QByteArray(8 + 20 + 8 + 1, '\0') + QByteArray(1, '\0');
    QByteArray manifest = QByteArray("mbdb\x05\x00", 6) + record;
    // A second record whose path claims 0xFFFE bytes, far past the end.
    manifest += QByteArray("\x00\x0aHomeDomain\xff\xfe", 14) + "short";
    EXPECT_TRUE(ManifestMbdbReader::parse(manifest, entries, error));
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.at(0).mRelativePath, "Library/SMS/sms.db");
    EXPECT_EQ(entries.at(0).mStoredName, BackupBuilder::fileId("HomeDomain", "Library/SMS/sms.db"));
    EXPECT_FALSE(error.isEmpty());

    // Every cut of a good record ends cleanly.
    for (int cut = 6; cut < manifest.size(); ++cut) {
        QList<ManifestEntry> some;
        ManifestMbdbReader::parse(manifest.left(cut), some, error);
        EXPECT_LE(some.size(), 1);
    }
}

TEST(Extractor, WithoutItsExtractionFolderAListReadsNothing)
{
    // The root of a folder that isn't there would be "/": nothing is read then.
    TestHome home;
    const QString elsewhere = home.writeFile("elsewhere/sms.db", "not the backup's");
    const QString list = home.writeFile("backup_file_list", (elsewhere + "\nLibrary/SMS/sms.db\n").toUtf8());
    AppleExtractor extractor;
    extractor.readFileList(list, home.path() + "/no-such-extraction");
    EXPECT_TRUE(extractor.mSmsDatabases.isEmpty());
    extractor.readFileList(list, home.path() + "/elsewhere");
    EXPECT_EQ(extractor.mSmsDatabases, QStringList{elsewhere}); // the same list, read from its folder
}
