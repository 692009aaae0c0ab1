// Sorting the extractor's file list into databases, attachments and photos.
#include "backup/AppleExtractor.h"
#include "support/TestHome.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// Writes the restored files and the list of their places; returns the list's path.
QString writeList(const TestHome& aHome, const QList<QPair<QString, QString>>& aEntries)
{
    QByteArray list;
    for (const auto& [restored, place] : aEntries) {
        if (!restored.contains("outside"))
            aHome.writeFile("extracted/" + restored, "data");
        list += (aHome.path() + "/extracted/" + restored).toUtf8() + "\r\n" + place.toUtf8() + "\n";
    }
    return aHome.writeFile("extracted/backup_file_list", list);
}

} // namespace

TEST(BackupFileList, EachPlaceGoesToItsListAndPhotosKeepTheirFolders)
{
    TestHome home;
    const QString list =
        writeList(home, {
                            {"a/sms1.db", "HomeDomainLibrary/SMS/sms.db"},
                            {"a/sms2.db", "Library\\SMS\\sms.db"},
                            {"a/ab.db", "Library/AddressBook/AddressBook.sqlitedb"},
                            {"a/img1.db", "HomeDomainLibrary/AddressBook/AddressBookImages.sqlitedb"},
                            {"a/img2.db", "Library/AddressBook/AddressBookImages.sqlitedb"},
                            {"a/cal.db", "HomeDomainLibrary/Calendar/Calendar.sqlitedb"},
                            {"a/notes.sqlite", "Library/Notes/notes.sqlite"},
                            {"a/notes-home.sqlite", "HomeDomainLibrary/Notes/notes.sqlite"},
                            {"a/NoteStore.sqlite", "AppDomainGroup-group.com.apple.notesNoteStore.sqlite"},
                            {"a/part.jpg", "Library/SMS/Parts/12/34/5-1.jpg"},
                            {"a/IMG_1.jpeg", "Library/SMS/Attachments/ab/01/IMG_1.jpeg"},
                            {"a/photo.jpg", "CameraRollDomainMedia/DCIM/100APPLE/IMG_0001.JPG"},
                            {"a/hidden.jpg", "Media/DCIM/.MISC/Info.plist"},
                            {"a/photo2.mov", "Media\\DCIM\\101APPLE\\IMG_0002.MOV"},
                            {"outside", "Library/SMS/sms.db"},
                            {"../../escape.db", "Library/SMS/sms.db"},
                        });
    home.writeFile("escape.db", "not part of the extraction");

    AppleExtractor extractor;
    extractor.readFileList(list, home.path() + "/extracted");
    const QString x = home.path() + "/extracted/a/";
    EXPECT_EQ(extractor.mSmsDatabases, QStringList({x + "sms1.db", x + "sms2.db"}));
    EXPECT_EQ(extractor.mAddressBookDatabases, QStringList{x + "ab.db"});
    EXPECT_EQ(extractor.mAddressBookImagesDatabase, x + "img2.db");
    EXPECT_EQ(extractor.mCalendarDatabases, QStringList{x + "cal.db"});
    EXPECT_EQ(extractor.mNotesDatabases, QStringList({x + "notes.sqlite", x + "NoteStore.sqlite"}));
    EXPECT_EQ(extractor.mSmsAttachments.value("5-1.jpg"), x + "part.jpg");
    EXPECT_EQ(extractor.mSmsAttachments.value("Library/SMS/Attachments/ab/01/IMG_1.jpeg"), x + "IMG_1.jpeg");
    ASSERT_EQ(extractor.mPhotos.size(), 2);
    EXPECT_EQ(extractor.mPhotos.at(0).mSourceName, x + "photo.jpg");
    EXPECT_EQ(extractor.mPhotos.at(0).destPhotoPath, "/100APPLE/IMG_0001.JPG");
    EXPECT_EQ(extractor.mPhotos.at(1).destPhotoPath, "/101APPLE/IMG_0002.MOV");
}
