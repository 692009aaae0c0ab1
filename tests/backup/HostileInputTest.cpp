// What a backup can hand over to hurt: property lists whose shared references or entities
// expand into gigabytes or loop, note bodies that inflate past any note, contacts made of
// thousands of tiny values. Each is refused or cut off, quickly and in little memory.
#include "backup/BlackBerryContacts.h"
#include "backup/DeviceNameContentHandler.h"
#include "backup/IpdDatabases.h"
#include "backup/NoteStoreBody.h"
#include "backup/PropertyList.h"
#include "support/IpdBuilder.h"
#include "support/TestHome.h"

#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// A binary plist: objects (each given as its bytes), the top object first.
QByteArray binaryPlist(const QList<QByteArray>& aObjects)
{
    QByteArray plist = "bplist00";
    QList<quint32> offsets;
    for (const QByteArray& object : aObjects) {
        offsets.append(static_cast<quint32>(plist.size()));
        plist += object;
    }
    const quint64 table = static_cast<quint64>(plist.size());
    for (quint32 offset : offsets)
        plist +=
            QByteArray(1, static_cast<char>(offset >> 8)) + QByteArray(1, static_cast<char>(offset & 0xFF));
    QByteArray trailer(32, '\0');
    trailer[6] = 2; // offset size
    trailer[7] = 1; // reference size
    for (int i = 0; i < 8; ++i) {
        trailer[8 + i] = static_cast<char>((static_cast<quint64>(aObjects.size()) >> (8 * (7 - i))) & 0xFF);
        trailer[24 + i] = static_cast<char>((table >> (8 * (7 - i))) & 0xFF);
    }
    return plist + trailer;
}

// An array of 15 references to aChild.
QByteArray arrayOf(int aChild)
{
    return QByteArray(1, static_cast<char>(0xAF)) + QByteArray(1, '\x10') + QByteArray(1, 15) +
           QByteArray(15, static_cast<char>(aChild));
}

} // namespace

TEST(HostileInput, BinaryPlistsThatExpandOrLoopAreRefusedUnread)
{
    // Nine levels of arrays, each referencing the next fifteen times: 200 bytes that stand for
    // fifteen to the ninth strings.
    QList<QByteArray> bomb;
    for (int level = 0; level < 9; ++level)
        bomb.append(arrayOf(level + 1));
    bomb.append("\x51x");
    QElapsedTimer clock;
    clock.start();
    DeviceNameContentHandler handler;
    EXPECT_FALSE(PropertyList::parse(binaryPlist(bomb), handler));
    EXPECT_TRUE(PropertyList::toXml(binaryPlist(bomb)).isEmpty());
    // An array holding itself.
    EXPECT_TRUE(PropertyList::toXml(binaryPlist({arrayOf(0)})).isEmpty());
    EXPECT_LT(clock.elapsed(), 2000);
    // A small one of the same shape is read.
    EXPECT_FALSE(PropertyList::toXml(binaryPlist({arrayOf(1), "\x51x"})).isEmpty());

    // XML with entities of its own, however few bytes.
    const QByteArray entities = "<?xml version=\"1.0\"?><!DOCTYPE plist [<!ENTITY a \"aaaaaaaaaa\">"
                                "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
                                "<plist><dict><key>Device Name</key><string>&b;</string></dict></plist>";
    EXPECT_FALSE(PropertyList::parse(entities, handler));
    // Apple's own DOCTYPE line is fine.
    DeviceNameContentHandler named;
    EXPECT_TRUE(
        PropertyList::parse("<?xml version=\"1.0\"?><!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\"><plist><dict><key>Display "
                            "Name</key><string>Kim</string></dict></plist>",
                            named));
    EXPECT_EQ(named.deviceName(), "Kim");
}

TEST(HostileInput, NoteBodiesAndContactsAreCutOffWhereNoNoteOrContactGoes)
{
    // 16 MB of zeros in a few kilobytes: past what a note holds, so no body.
    const QByteArray packed = qCompress(QByteArray(16 * 1024 * 1024, '\0'), 9).mid(4);
    EXPECT_TRUE(NoteStoreBody::gunzip(packed).isEmpty());
    EXPECT_EQ(NoteStoreBody::gunzip(qCompress(QByteArray("a note"), 9).mid(4)), "a note");

    // A contact of 105,000 one-byte e-mail addresses: the first 256 values are kept.
    TestHome home;
    IpdBuilder ipd;
    const int book = ipd.addDatabase("Address Book - All");
    QByteArray values;
    for (int i = 0; i < 15000; ++i)
        values += IpdBuilder::subfield(1, "x");
    QList<IpdBuilder::Field> fields;
    for (int i = 0; i < 7; ++i)
        fields.append({10, values});
    ipd.addRecord(book, fields);
    IpdDatabases databases;
    const QString path = home.writeFile("many.ipd", ipd.bytes());
    ASSERT_TRUE(databases.readFile(path));
    ASSERT_TRUE(
        BlackBerryContacts::write(databases.recordsOf("Address Book - All"), home.path() + "/address.xml"));
    EXPECT_EQ(readWholeFile(home.path() + "/address.xml").count("<email"), 256);
}
