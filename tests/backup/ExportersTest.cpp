// The four exporters, field by field, on databases of each schema generation.
#include "backup/AppleExtractor.h"
#include "backup/TypedStreamText.h"
#include "support/IphoneDatabases.h"
#include "support/TestHome.h"

#include <QBuffer>
#include <QDomDocument>
#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

// The exported document; its root element.
QDomElement exported(const QString& aPath, QDomDocument& aDocument)
{
    QFile file(aPath);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"))
        << bytes.left(60).toStdString();
    EXPECT_TRUE(static_cast<bool>(aDocument.setContent(bytes))) << bytes.toStdString();
    return aDocument.documentElement();
}

// The record's children as "name=text" in order, attributes in brackets.
QStringList fields(const QDomElement& aRecord)
{
    QStringList out;
    for (QDomElement child = aRecord.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        QString field = child.tagName();
        const QDomNamedNodeMap attributes = child.attributes();
        QStringList named;
        for (int i = 0; i < attributes.count(); ++i)
            named << QStringLiteral("[%1=%2]").arg(attributes.item(i).nodeName(),
                                                   attributes.item(i).nodeValue());
        named.sort();
        field += named.join(QString());
        if (child.firstChildElement().isNull())
            field += "=" + child.text();
        else
            field += "{" + fields(child).join(",") + "}";
        out << field;
    }
    return out;
}

QList<QDomElement> records(const QDomElement& aRoot)
{
    QList<QDomElement> out;
    for (QDomElement e = aRoot.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        out << e;
    return out;
}

QImage imageOf(const QString& aBase64)
{
    return QImage::fromData(QByteArray::fromBase64(aBase64.toLatin1()), "JPEG");
}

} // namespace

TEST(Exporters, NotesOfEveryGenerationLoseLineBreaksAndLockedNotesStayBehind)
{
    TestHome home;
    AppleExtractor extractor;
    extractor.mNotesDatabases << home.path() + "/old.sqlite" << home.path() + "/new.sqlite"
                              << home.path() + "/NoteStore.sqlite";
    // A copy, as the extraction makes: SQLite keeps its WAL files beside the database it opens.
    ASSERT_TRUE(
        QFile::copy(VELTRANE_TESTDATA "/ios/notestore_ios13.sqlite", home.path() + "/NoteStore.sqlite"));
    IphoneDatabases::oldNotes(extractor.mNotesDatabases.at(0));
    IphoneDatabases::newNotes(extractor.mNotesDatabases.at(1));
    const QString xml = home.path() + "/notes.xml";
    EXPECT_EQ(extractor.generateNotesXML(home.path(), xml), 0);

    QDomDocument document;
    const QDomElement root = exported(xml, document);
    EXPECT_EQ(root.tagName(), "notes");
    const QList<QDomElement> notes = records(root);
    ASSERT_EQ(notes.size(), 5);
    EXPECT_EQ(fields(notes.at(0)),
              QStringList({"creation_date=1228307200", "title=Shopping", "modification_date=1228307800",
                           "data=Shopping<div>MilkEggs</div>", "summary=Milk"}));
    EXPECT_EQ(fields(notes.at(1)),
              QStringList({"creation_date=1378307200", "title=Reminder",
                           "modification_date=", "data=Reminder<br>Call Bo", "summary=Call Bo"}));
    // The real notes of iOS 13 to 15: three readable ones (a fourth was deleted on the phone),
    // the four locked ones left out.
    QStringList titles;
    for (int i = 2; i < notes.size(); ++i)
        titles << notes.at(i).firstChildElement("title").text();
    titles.sort();
    EXPECT_EQ(titles, QStringList({"My First Note", "iOS 14 Note", "iOS 15 Note"}));
    const QDomElement first =
        notes.at(2).firstChildElement("title").text() == "My First Note" ? notes.at(2) : notes.at(3);
    EXPECT_EQ(first.firstChildElement("creation_date").text(), QString::number(607048608 + 978307200));
    EXPECT_TRUE(first.firstChildElement("data").text().startsWith("My First Note"))
        << first.firstChildElement("data").text().toStdString();
    EXPECT_FALSE(root.text().contains("Secret"));
}

TEST(Exporters, CalendarsOfBothGenerationsWithRecurrencesAndAlarms)
{
    TestHome home;
    AppleExtractor extractor;
    extractor.mCalendarDatabases << home.path() + "/old.sqlitedb" << home.path() + "/new.sqlitedb";
    IphoneDatabases::oldCalendar(extractor.mCalendarDatabases.at(0));
    IphoneDatabases::newCalendar(extractor.mCalendarDatabases.at(1));
    const QString xml = home.path() + "/calendar.xml";
    extractor.generateCalendarXML(home.path(), xml);

    QDomDocument document;
    const QList<QDomElement> entries = records(exported(xml, document));
    ASSERT_EQ(entries.size(), 5);
    EXPECT_EQ(fields(entries.at(0)),
              QStringList({"title=Dentist", "location=Main St4", "description=Check-upbring card",
                           "time_zone=Europe/London", "frequency=once", "interval=", "all_day=false",
                           "url=", "start_date=1278307200", "end_date=1278310800", "alarm=-900"}));
    EXPECT_EQ(fields(entries.at(1)),
              QStringList({"title=Birthday", "location=", "description=", "time_zone=_float",
                           "frequency=YEARLY", "interval=1", "repeat_end_date=0", "all_day=true",
                           "url=", "start_date=1278393600", "end_date=978307200"}));
    EXPECT_EQ(fields(entries.at(2)),
              QStringList({"title=Standup", "location=Room 4", "description=Daily sync",
                           "time_zone=Europe/Paris", "frequency=DAILY", "interval=1",
                           "repeat_end_date=1688307200", "all_day=false", "url=https://meet.example.com/x",
                           "start_date=1678307200", "end_date=1678308100", "alarm=-600", "alarm=-3600"}));
    EXPECT_EQ(fields(entries.at(3)).mid(4, 4),
              QStringList({"frequency=once", "interval=", "all_day=true", "url="}));
    // A weekly recurrence without an end: no repeat_end_date.
    EXPECT_EQ(fields(entries.at(4)).mid(4, 3),
              QStringList({"frequency=WEEKLY", "interval=2", "all_day=false"}));
}

TEST(Exporters, MessagesOfEveryGenerationWithTheirDirectionsDatesAndPictures)
{
    TestHome home;
    AppleExtractor extractor;
    extractor.mSmsDatabases << home.path() + "/old.db" << home.path() + "/new.db"
                            << home.path() + "/newest.db";
    IphoneDatabases::oldSms(extractor.mSmsDatabases.at(0));
    IphoneDatabases::newSms(extractor.mSmsDatabases.at(1), 2, 1);
    IphoneDatabases::newestSms(extractor.mSmsDatabases.at(2));
    extractor.mSmsAttachments.insert("4-2.jpg",
                                     home.writeFile("parts/4-2.jpg", IphoneDatabases::picture(800, 600)));
    extractor.mSmsAttachments.insert("Library/SMS/Attachments/01/IMG_1.jpeg",
                                     home.writeFile("att/IMG_1.jpeg", IphoneDatabases::picture(100, 50)));
    extractor.mSmsAttachments.insert(
        "Library/SMS/Attachments/00/drawing.png",
        home.writeFile("att/drawing.png", IphoneDatabases::picture(10, 10, true)));
    const QString xml = home.path() + "/messages.xml";
    extractor.generateMessagesXML(home.path(), xml);

    QDomDocument document;
    const QList<QDomElement> messages = records(exported(xml, document));
    ASSERT_EQ(messages.size(), 8);
    // Old schema: flags 3 sent, 2 received, 130 left out; recipients from the plist; text parts
    // joined; the inline JPEG as stored, the attached part scaled to 400 pixels; the PNG dropped.
    EXPECT_EQ(messages.at(0).tagName(), "sent_message");
    EXPECT_EQ(fields(messages.at(0)),
              QStringList({"address=+15551234", "date=1262304000", "read=true", "text=Sentline"}));
    EXPECT_EQ(messages.at(1).tagName(), "received_message");
    EXPECT_EQ(fields(messages.at(1)),
              QStringList({"address=+15554321", "date=1262304100", "read=false", "text=Received"}));
    EXPECT_EQ(messages.at(2).firstChildElement("address").text(), "+441234567890");
    const QDomNodeList attachments = messages.at(2).elementsByTagName("attachment");
    ASSERT_EQ(attachments.size(), 2);
    EXPECT_EQ(attachments.at(0).toElement().attribute("mime_type"), "image/jpeg");
    EXPECT_EQ(imageOf(attachments.at(0).toElement().text()).size(), QSize(20, 10));
    EXPECT_EQ(imageOf(attachments.at(1).toElement().text()).size(), QSize(400, 300));
    EXPECT_EQ(messages.at(2).firstChildElement("text").text(), "Picture text");
    // A flag that is no number counts as 0: a received message.
    EXPECT_EQ(messages.at(3).tagName(), "received_message");

    // New schema: direction from is_from_me, the handle's address, reference-date seconds,
    // is_read, the object replacement character gone, the JPEG scaled, the PNG dropped.
    EXPECT_EQ(messages.at(4).tagName(), "sent_message");
    EXPECT_EQ(messages.at(4).firstChildElement("address").text(), "+15551234");
    EXPECT_EQ(messages.at(4).firstChildElement("date").text(), QString::number(400000001 + 978307200));
    EXPECT_EQ(messages.at(4).firstChildElement("text").text(), "Message 1 ");
    EXPECT_EQ(imageOf(messages.at(4).firstChildElement("attachment").text()).size(), QSize(400, 200));
    EXPECT_EQ(messages.at(5).tagName(), "received_message");
    EXPECT_EQ(messages.at(5).firstChildElement("read").text(), "false");
    EXPECT_TRUE(messages.at(5).firstChildElement("attachment").isNull());

    // iOS 16 and later: the text from attributedBody, nanosecond dates.
    EXPECT_EQ(fields(messages.at(6)), QStringList({"address=+15551234", "date=1700000000", "read=true",
                                                   "text=Only in the body: café"}));
    EXPECT_EQ(messages.at(7).firstChildElement("text").text(), QString(300, 'L'));
    EXPECT_EQ(messages.at(7).firstChildElement("date").text(), "1700000001");
}

TEST(Exporters, ContactsWithTheirValuesAddressesAndPictures)
{
    TestHome home;
    AppleExtractor extractor;
    extractor.mAddressBookDatabases << home.path() + "/ab1.sqlitedb" << home.path() + "/ab2.sqlitedb";
    IphoneDatabases::addressBook(extractor.mAddressBookDatabases.at(0));
    IphoneDatabases::addressBook(extractor.mAddressBookDatabases.at(1), "Zoë");
    extractor.mAddressBookImagesDatabase = home.path() + "/images.sqlitedb";
    const QByteArray picture = IphoneDatabases::picture(30, 30);
    IphoneDatabases::addressBookImages(extractor.mAddressBookImagesDatabase, picture);
    const QString xml = home.path() + "/address.xml";
    extractor.generateAddressBookXML(home.path(), xml);

    QDomDocument document;
    const QDomElement root = exported(xml, document);
    EXPECT_EQ(root.tagName(), "address_book");
    const QList<QDomElement> persons = records(root);
    ASSERT_EQ(persons.size(), 4);
    EXPECT_EQ(fields(persons.at(0)),
              QStringList({"first_name=Anna", "last_name=Lindqvist", "organization=Ørsted & Co",
                           "birthday=642729600", "phone[type=mobile][value=+46 70 123 45 67]=",
                           "phone[type=][value=555-BOAT]=", "email[type=work][value=anna@example.com]=",
                           "address[type=home][value=]{street=Storgatan 1,city=Malmö,unknown=Centrum}",
                           "url[type=][value=https://example.com]=",
                           "photo=" + QString::fromLatin1(picture.toBase64())}));
    // A NULL middle name has no element, an empty one an empty element; no picture of format 0.
    EXPECT_EQ(fields(persons.at(1)),
              QStringList({"first_name=Bo", "middle_name=", "unknown[type=][value=other]="}));
    EXPECT_EQ(persons.at(2).firstChildElement("first_name").text(), "Zoë");
}

TEST(Exporters, ADatabaseThatCantBeReadFailsItsKindAndLeavesNoFile)
{
    TestHome home;
    const QString xml = home.path() + "/notes.xml";
    // A table of another shape (a calendar where notes were expected), a file that is not
    // SQLite, a database that isn't there: the kind fails with the reason, and no file is left
    // to be carried as if it were the notes.
    const QString odd = home.path() + "/odd.db";
    IphoneDatabases::oldCalendar(odd);
    IphoneDatabases::oldNotes(home.path() + "/good.sqlite");
    for (const QString& database :
         {odd, home.writeFile("garbage.db", QByteArray(5000, '\xAB')), home.path() + "/missing.db"}) {
        AppleExtractor extractor;
        extractor.mNotesDatabases << database << home.path() + "/good.sqlite";
        EXPECT_EQ(extractor.generateNotesXML(home.path(), xml), AppleExtractor::kDatabaseFailed)
            << database.toStdString();
        EXPECT_TRUE(extractor.lastExportError().startsWith("its database can't be read"));
        EXPECT_FALSE(QFile::exists(xml));
    }
    EXPECT_FALSE(QFile::exists(home.path() + "/missing.db")); // never created by the reading

    // No database at all: nothing to carry, no file. A file that can't be written says so.
    AppleExtractor extractor;
    EXPECT_EQ(extractor.generateMessagesXML(home.path(), xml), AppleExtractor::kNothingToExport);
    EXPECT_FALSE(QFile::exists(xml));
    extractor.mNotesDatabases << home.path() + "/good.sqlite";
    EXPECT_EQ(extractor.generateNotesXML(home.path(), home.path() + "/no/such/folder/notes.xml"),
              AppleExtractor::kFileUnwritable);
    EXPECT_EQ(extractor.generateNotesXML(home.path(), xml), 0);
}

TEST(Exporters, TheNewestRowsInTheWriteAheadLogAreExported)
{
    // The phone's database as a backup keeps it: the newest message only in its -wal file.
    TestHome home;
    const QString live = home.path() + "/live.db";
    IphoneDatabases::newSms(live);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "wal-writer");
        db.setDatabaseName(live);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec("PRAGMA journal_mode=WAL"));
        ASSERT_TRUE(query.exec("PRAGMA wal_autocheckpoint=0"));
        ASSERT_TRUE(query.exec(
            "UPDATE message SET text='only in the log' WHERE ROWID=(SELECT max(ROWID) FROM message)"));
        // Copied while the writer still has it open: the row is in the log only.
        ASSERT_TRUE(QFile::copy(live, home.path() + "/sms.db"));
        ASSERT_TRUE(QFile::copy(live + "-wal", home.path() + "/sms.db-wal"));
        db.close();
    }
    QSqlDatabase::removeDatabase("wal-writer");
    AppleExtractor extractor;
    extractor.mSmsDatabases << home.path() + "/sms.db";
    const QString xml = home.path() + "/messages.xml";
    ASSERT_EQ(extractor.generateMessagesXML(home.path(), xml), 0);
    EXPECT_TRUE(readWholeFile(xml).contains("only in the log"));
}

TEST(Exporters, AttributedBodiesOfEveryLengthAndDamagedOnesReadSafely)
{
    for (const int length : {0, 1, 127, 128, 300, 70000}) {
        const QString text(length, QChar(0x00E9));
        EXPECT_EQ(TypedStreamText::text(IphoneDatabases::attributedBody(text)), text) << length;
    }
    const QByteArray body = IphoneDatabases::attributedBody("some text");
    for (int cut = 0; cut < body.size(); ++cut)
        TypedStreamText::text(body.left(cut)); // never reads past the end (sanitizers watch)
    EXPECT_TRUE(TypedStreamText::text("no class name here").isNull());
    // The form without type markers: the length right after the class name.
    EXPECT_EQ(TypedStreamText::text(QByteArray("NSString\x05hello", 14)), "hello");
}
