// BlackBerry backups: real IPD files, generated ones of every kind of field, damaged and hostile
// ones, and Desktop archives.
#include "backup/BbbArchive.h"
#include "backup/BlackBerryBackup.h"
#include "backup/IpdDatabases.h"
#include "support/IpdBuilder.h"
#include "support/TestHome.h"
#include "support/ZipWriter.h"

#include <QDir>
#include <QDomDocument>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

using Field = IpdBuilder::Field;

QDomElement documentOf(const QString& aPath, QDomDocument& aDocument)
{
    aDocument.setContent(readWholeFile(aPath));
    return aDocument.documentElement();
}

// The persons or messages of a file as "element: child=text, ..." lines; attributes in brackets.
QStringList describe(const QDomElement& aRoot)
{
    QStringList out;
    for (QDomElement record = aRoot.firstChildElement(); !record.isNull();
         record = record.nextSiblingElement()) {
        QStringList parts;
        for (QDomElement field = record.firstChildElement(); !field.isNull();
             field = field.nextSiblingElement()) {
            QString part = field.tagName();
            if (field.hasAttribute("type"))
                part += QStringLiteral("[%1|%2]").arg(field.attribute("type"), field.attribute("value"));
            if (field.firstChildElement().isNull()) {
                if (!field.text().isEmpty() || !field.hasAttribute("type"))
                    part += "=" + field.text();
            } else {
                QStringList children;
                for (QDomElement child = field.firstChildElement(); !child.isNull();
                     child = child.nextSiblingElement())
                    children << child.tagName() + "=" + child.text();
                part += "{" + children.join(",") + "}";
            }
            parts << part;
        }
        out << record.tagName() + ": " + parts.join(", ");
    }
    return out;
}

QByteArray contactsIpd()
{
    IpdBuilder ipd;
    ipd.addDatabase("Service Book");
    const int book = ipd.addDatabase("Address Book - All");
    // Every subfield type; a UTF-8 and a UTF-16 name; three name parts; both addresses.
    ipd.addRecord(
        book, {{10, IpdBuilder::subfield(32, "Anna") +
                        IpdBuilder::subfield(32 | 0x80, QByteArray(1, '\0') + QString("Märta").toUtf8()) +
                        IpdBuilder::subfield(32 | 0x80, QByteArray(1, '\1') + IpdBuilder::utf16BE("Åberg")) +
                        IpdBuilder::subfield(1, "anna@example.com") + IpdBuilder::subfield(6, "111") +
                        IpdBuilder::subfield(8, "222") + IpdBuilder::subfield(16, "333") +
                        IpdBuilder::subfield(17, "444") + IpdBuilder::subfield(18, "555") +
                        IpdBuilder::subfield(19, "666") + IpdBuilder::subfield(33, "Acme") +
                        IpdBuilder::subfield(42, "Acme Nordic") +
                        IpdBuilder::subfield(54, "http://a.example") + IpdBuilder::subfield(35, "Work St 1") +
                        IpdBuilder::subfield(36, "Floor 2") + IpdBuilder::subfield(38, "Lund") +
                        IpdBuilder::subfield(39, "Sk\xe5"
                                                 "ne") +
                        IpdBuilder::subfield(40, "22100") + IpdBuilder::subfield(41, "Sweden") +
                        IpdBuilder::subfield(61, "Home Rd 5") + IpdBuilder::subfield(62, "Flat 3") +
                        IpdBuilder::subfield(69, "Malm\xf6") + IpdBuilder::subfield(70, "S") +
                        IpdBuilder::subfield(71, "21100") + IpdBuilder::subfield(72, "SE") +
                        IpdBuilder::subfield(99, "ignored") +
                        IpdBuilder::subfield(32 | 0x80, QByteArray("\x07???", 4))},
               {11, "not a contact field"}});
    // Two name parts, a work address with a city only, a Latin-1 name.
    ipd.addRecord(book, {{10, IpdBuilder::subfield(32, "Jos\xe9") + IpdBuilder::subfield(32, "Ruiz") +
                                  IpdBuilder::subfield(38, "Madrid")}});
    // One name part, and a subfield whose length runs past the field: the rest of it is dropped.
    ipd.addRecord(book, {{10, IpdBuilder::subfield(32, "Solo") + QByteArray("\x50\x00\x20short", 8)}});
    return ipd.bytes();
}

} // namespace

TEST(BlackBerry, TheRealSampleHoldsThreeMessagesAndTheServiceBookNothing)
{
    TestHome home;
    const QString out = home.path() + "/out";
    EXPECT_EQ(BlackBerryBackup::readBlackBerryBackup(VELTRANE_TESTDATA "/blackberry/sample_sms.ipd", out, 1)
                  .written,
              1);
    QDomDocument document;
    const QStringList messages = describe(documentOf(out + "/messages.xml", document));
    ASSERT_EQ(messages.size(), 3) << messages.join("\n").toStdString();
    for (const QString& message : messages) {
        EXPECT_TRUE(message.contains("address=")) << message.toStdString();
        EXPECT_TRUE(message.contains("text=")) << message.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(out + "/address.xml"));

    const QString none = home.path() + "/none";
    EXPECT_EQ(
        BlackBerryBackup::readBlackBerryBackup(VELTRANE_TESTDATA "/blackberry/service_book.ipd", none, 3)
            .written,
        0);
    EXPECT_EQ(QDir(none).entryList(QDir::Files), QStringList());
}

TEST(BlackBerry, ContactsWithEveryKindOfSubfield)
{
    TestHome home;
    const QString ipd = home.writeFile("contacts.ipd", contactsIpd());
    EXPECT_EQ(BlackBerryBackup::readBlackBerryBackup(ipd, home.path() + "/out", 2).written, 1);
    QDomDocument document;
    const QDomElement root = documentOf(home.path() + "/out/address.xml", document);
    EXPECT_EQ(root.tagName(), "address_book");
    const QStringList persons = describe(root);
    ASSERT_EQ(persons.size(), 3);
    EXPECT_EQ(
        persons.at(0).toStdString(),
        "person: email[main|anna@example.com], phone[work|111], phone[mobile|222], phone[work|333], "
        "phone[home|444], phone[main|555], phone[mobile|666], organization=Acme, organization=Acme Nordic, "
        "url[homepage|http://a.example], first_name=Anna, middle_name=Märta, last_name=Åberg, "
        "address[home|]{street=Home Rd 5,street=Flat 3,city=Malmö,state=S,zip=21100,country=SE}, "
        "address[work|]{street=Work St 1,street=Floor 2,city=Lund,state=Skåne,zip=22100,country=Sweden}");
    EXPECT_EQ(persons.at(1).toStdString(),
              "person: first_name=José, last_name=Ruiz, address[work|]{city=Madrid}");
    EXPECT_EQ(persons.at(2).toStdString(), "person: first_name=Solo");
}

TEST(BlackBerry, MessagesWithShortHeadersAndBothEncodings)
{
    TestHome home;
    IpdBuilder ipd;
    const int sms = ipd.addDatabase("SMS Messages");
    const qint64 when = 1300000000123LL;
    ipd.addRecord(sms, {{1, IpdBuilder::smsHeader(true, when)},
                        {2, QByteArray("\0\0 +4670\0"
                                       "123",
                                       12)},
                        {7, QByteArray(1, '\0')},
                        {4, "Hello\nthere"}});
    ipd.addRecord(sms, {{1, IpdBuilder::smsHeader(false, when, 20)},
                        {2, "+111"},
                        {7, QByteArray(1, '\2')},
                        {4, IpdBuilder::utf16BE("Привет")}});
    ipd.addRecord(sms,
                  {{1, IpdBuilder::smsHeader(false, when)}, {2, "+222"}, {4, "no field 7: not a message"}});
    const QString path = home.writeFile("sms.ipd", ipd.bytes());
    EXPECT_EQ(BlackBerryBackup::readBlackBerryBackup(path, home.path() + "/out", 1).written, 1);
    QDomDocument document;
    EXPECT_EQ(describe(documentOf(home.path() + "/out/messages.xml", document)),
              QStringList({"sent_message: address=+4670123, date=1300000000, text=Hellothere",
                           "received_message: address=+111, text=Привет"}));
}

TEST(BlackBerry, DamagedAndHostileFilesAreReadUpToTheDamageAndNoFurther)
{
    IpdBuilder good;
    const int sms = good.addDatabase("SMS Messages");
    good.addRecord(sms,
                   {{1, IpdBuilder::smsHeader(true, 0)}, {2, "+1"}, {7, QByteArray(1, '\0')}, {4, "one"}});
    good.addRecord(sms,
                   {{1, IpdBuilder::smsHeader(true, 0)}, {2, "+2"}, {7, QByteArray(1, '\0')}, {4, "two"}});
    const QByteArray bytes = good.bytes();
    // Every cut: no read past the end (the sanitizers watch), never more records than there are.
    for (int cut = 0; cut < bytes.size(); ++cut) {
        IpdDatabases databases;
        databases.read(bytes.left(cut));
        EXPECT_LE(databases.recordsOf("SMS Messages").size(), 2);
    }
    IpdDatabases whole;
    ASSERT_TRUE(whole.read(bytes));
    EXPECT_EQ(whole.recordsOf("SMS Messages").size(), 2);

    // A record length past the end of the file, then a field length of 0xFFFF inside a record.
    IpdBuilder hostile;
    const int db = hostile.addDatabase("SMS Messages");
    hostile.addRecord(db, {{4, "kept"}});
    hostile.appendRaw(QByteArray("\x00\x00\xff\xff\xff\x7f", 6) + QByteArray(40, 'x'));
    IpdDatabases pastEnd;
    pastEnd.read(hostile.bytes());
    EXPECT_EQ(pastEnd.recordsOf("SMS Messages").size(), 1);

    IpdBuilder field;
    const int id = field.addDatabase("SMS Messages");
    field.appendRaw(QByteArray("\x00\x00\x0f\x00\x00\x00\x05\x01\x00\x78\x56\x34\x12\xff\xff\x04"
                               "abcd",
                               20));
    field.addRecord(id, {{4, "after"}});
    IpdDatabases badField;
    badField.read(field.bytes());
    const QList<IpdRecord> records = badField.recordsOf("SMS Messages");
    ASSERT_EQ(records.size(), 1); // the damaged record dropped, the next one read
    EXPECT_EQ(records.at(0).at(0).data, "after");

    // A database name of 200 bytes (its length does not fit a signed byte) is a name like any.
    IpdBuilder longName;
    longName.addDatabase(QByteArray(200, 'n'));
    const int smsAfter = longName.addDatabase("SMS Messages");
    longName.addRecord(smsAfter, {{4, "x"}});
    IpdDatabases named;
    ASSERT_TRUE(named.read(longName.bytes()));
    EXPECT_EQ(named.names().size(), 2);
    EXPECT_EQ(named.names().at(0).size(), 200);
    EXPECT_EQ(named.recordsOf("SMS Messages").size(), 1);

    // A name count far beyond the file: the names there are, then nothing.
    QByteArray many("header\n\x02\xff\xff\x00\x05\x00"
                    "abcd\x00",
                    18);
    IpdDatabases counted;
    counted.read(many);
    EXPECT_EQ(counted.names(), QStringList{"abcd"});
}

TEST(BlackBerry, ADesktopArchiveIsUnpackedAndAHostileOneWritesNothingOutside)
{
    TestHome home;
    IpdBuilder dat;
    dat.addDatabase("SMS Messages-unused"); // position 0 of this file is taken by the placeholder
    IpdBuilder sms;
    sms.addDatabase("SMS Messages");
    // In an archive the databases of every .dat share one list after "Null-database": id 1.
    sms.addRecord(
        1, {{1, IpdBuilder::smsHeader(true, 5000)}, {2, "+9"}, {7, QByteArray(1, '\0')}, {4, "from bbb"}});
    ZipWriter archive;
    archive.addFile("Manifest.xml", "<?xml version=\"1.0\"?><BlackBerry_Backup/>");
    archive.addFile("Databases/1.dat", sms.bytes());
    const QString bbb = home.writeFile("phone.bbb", archive.bytes());
    EXPECT_EQ(BlackBerryBackup::readBlackBerryBackup(bbb, home.path() + "/out", 1).written, 1);
    QDomDocument document;
    EXPECT_EQ(describe(documentOf(home.path() + "/out/messages.xml", document)),
              QStringList{"sent_message: address=+9, date=5, text=from bbb"});

    const QStringList hostileNames = {"../escaped.txt", "/tmp/veltrane-absolute.txt", "a/../../escaped2.txt"};
    for (const QString& name : hostileNames) {
        ZipWriter bad;
        bad.addFile("Manifest.xml", "<x/>");
        bad.addFile(name.toUtf8(), "escape");
        const QString path = home.writeFile("bad.bbb", bad.bytes());
        QString error;
        EXPECT_FALSE(BbbArchive::unpack(path, home.path() + "/deep/unpacked", error)) << name.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    ZipWriter linked;
    linked.addLink("Databases", home.path().toUtf8());
    linked.addFile("Databases/1.dat", "through the link");
    QString error;
    EXPECT_FALSE(BbbArchive::unpack(home.writeFile("link.bbb", linked.bytes()),
                                    home.path() + "/deep/unpacked2", error));
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/deep/escaped.txt"));
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/escaped2.txt"));
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/1.dat"));
    EXPECT_FALSE(QFileInfo::exists("/tmp/veltrane-absolute.txt"));
    // A refused archive is said to be so, never then read as an IPD file.
    const BlackBerryBackup::Result refused =
        BlackBerryBackup::readBlackBerryBackup(home.path() + "/link.bbb", home.path() + "/out2", 3);
    EXPECT_EQ(refused.written, 0);
    EXPECT_TRUE(refused.problem.contains("holds a link")) << refused.problem.toStdString();
}

TEST(BlackBerry, AnArchiveOrFileThatCantBeReadIsNamedAndNothingUnpacksPastItsBound)
{
    TestHome home;
    // An archive declaring more than a phone's backup holds (600 MB of zeros, a few hundred
    // kilobytes packed) is refused before anything is written.
    const QString zeros = home.path() + "/zeros/Databases/1.dat";
    QDir().mkpath(QFileInfo(zeros).path());
    QFile big(zeros);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(600LL * 1024 * 1024));
    big.close();
    QProcess pack;
    pack.setWorkingDirectory(home.path() + "/zeros");
    pack.start("7z", {"a", "-tzip", "-mx=1", home.path() + "/bomb.bbb", "Databases"});
    ASSERT_TRUE(pack.waitForFinished(60000));
    QFile::remove(zeros);
    const QString out = home.path() + "/out";
    BlackBerryBackup::Result read = BlackBerryBackup::readBlackBerryBackup(home.path() + "/bomb.bbb", out, 3);
    EXPECT_TRUE(read.problem.contains("more than a phone's backup holds")) << read.problem.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out + "/bbb/Databases/1.dat"));
    // Damaged, empty, missing, not a backup: each said for what it is.
    const std::pair<QString, const char*> cases[] = {
        {home.writeFile("damaged.bbb", "PK\x03\x04 not really"), "could not read the archive"},
        {home.writeFile("empty.ipd", ""), "is empty"},
        {home.path() + "/gone.ipd", "is not there"},
        {home.writeFile("text.ipd", "just some text"), "is no BlackBerry backup"}};
    for (const auto& [path, said] : cases) {
        read = BlackBerryBackup::readBlackBerryBackup(path, out, 3);
        EXPECT_TRUE(read.problem.contains(said)) << path.toStdString() << ": " << read.problem.toStdString();
    }
}

TEST(BlackBerry, WhichPathsAreBlackBerryBackups)
{
    EXPECT_TRUE(BlackBerryBackup::isBlackBerryBackup("a.ipd"));
    EXPECT_FALSE(BlackBerryBackup::isBlackBerryBackup(".ipd"));
    EXPECT_TRUE(BlackBerryBackup::isBlackBerryBackup("bbb"));
    EXPECT_FALSE(BlackBerryBackup::isBlackBerryBackup("a.IPD"));
    EXPECT_FALSE(BlackBerryBackup::isBlackBerryBackup("/home/u/Backup/00008030-001A/"));
}
