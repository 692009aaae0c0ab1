#include "support/IphoneDatabases.h"
#include "support/SqlFile.h"

#include <QBuffer>
#include <QImage>

namespace IphoneDatabases {

QByteArray picture(int aWidth, int aHeight, bool aPng)
{
    QImage image(aWidth, aHeight, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, aPng ? "PNG" : "JPEG");
    return bytes;
}

void oldSms(const QString& aPath)
{
    SqlFile db(aPath);
    db.exec(QStringLiteral(
        "CREATE TABLE message (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, address TEXT, date INTEGER, "
        "text TEXT, flags INTEGER, replace INTEGER, svc_center TEXT, group_id INTEGER, "
        "association_id INTEGER, height INTEGER, UIFlags INTEGER, version INTEGER, subject TEXT, "
        "country TEXT, headers BLOB, recipients BLOB, read INTEGER)"));
    db.exec(QStringLiteral(
        "CREATE TABLE msg_pieces (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, message_id INTEGER, "
        "data BLOB, part_id INTEGER, preview_part INTEGER, content_type TEXT, height INTEGER, "
        "version INTEGER, flags INTEGER, content_loc TEXT, headers BLOB)"));
    const QByteArray recipients(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<array>\n"
        "\t<string>+441234567890</string>\n\t<string>+449876543210</string>\n</array>\n</plist>\n");
    const QString insert =
        QStringLiteral("INSERT INTO message (ROWID, address, date, text, flags, recipients, read) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?)");
    db.exec(insert,
            {1, QStringLiteral("+15551234"), 1262304000, QStringLiteral("Sent\nline"), 3, QVariant(), 1});
    db.exec(insert,
            {2, QStringLiteral("+15554321"), 1262304100, QStringLiteral("Received"), 2, QVariant(), 0});
    db.exec(insert, {3, QStringLiteral("+15550000"), 1262304200, QStringLiteral("Not a message"), 130,
                     QVariant(), 1});
    db.exec(insert, {4, QVariant(), 1262304300, QString(), 3, recipients, 1});
    db.exec(insert,
            {5, QStringLiteral("+15559999"), 1262304400, QString(), QStringLiteral("x"), QVariant(), 1});
    const QString piece = QStringLiteral(
        "INSERT INTO msg_pieces (message_id, data, part_id, content_type) VALUES (?, ?, ?, ?)");
    db.exec(piece, {4, QByteArray("Picture text"), 0, QStringLiteral("text/plain")});
    db.exec(piece, {4, picture(20, 10), 1, QStringLiteral("image/jpeg")});
    db.exec(piece, {4, QVariant(QMetaType(QMetaType::QByteArray)), 2, QStringLiteral("image/jpeg")});
    db.exec(piece, {4, picture(20, 10, true), 3, QStringLiteral("image/png")});
}

void newSms(const QString& aPath, int aMessages, int aAttachments)
{
    SqlFile db(aPath);
    db.exec(QStringLiteral(
        "CREATE TABLE handle (ROWID INTEGER PRIMARY KEY AUTOINCREMENT UNIQUE, id TEXT NOT NULL, "
        "country TEXT, service TEXT NOT NULL, uncanonicalized_id TEXT)"));
    db.exec(QStringLiteral(
        "CREATE TABLE message (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT UNIQUE NOT NULL, "
        "text TEXT, replace INTEGER DEFAULT 0, service_center TEXT, handle_id INTEGER DEFAULT 0, "
        "subject TEXT, country TEXT, attributedBody BLOB, version INTEGER DEFAULT 0, "
        "type INTEGER DEFAULT 0, service TEXT, account TEXT, date INTEGER, date_read INTEGER, "
        "is_read INTEGER DEFAULT 0, is_from_me INTEGER DEFAULT 0, cache_has_attachments INTEGER)"));
    db.exec(QStringLiteral(
        "CREATE TABLE attachment (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT UNIQUE NOT NULL, "
        "created_date INTEGER DEFAULT 0, filename TEXT, uti TEXT, mime_type TEXT, "
        "transfer_name TEXT, total_bytes INTEGER DEFAULT 0)"));
    db.exec(QStringLiteral("CREATE TABLE message_attachment_join (message_id INTEGER, attachment_id INTEGER, "
                           "UNIQUE(message_id, attachment_id))"));
    db.exec(QStringLiteral("BEGIN"));
    db.exec(QStringLiteral("INSERT INTO handle (ROWID, id, service) VALUES (1, '+15551234', 'SMS')"));
    db.exec(QStringLiteral(
        "INSERT INTO handle (ROWID, id, service) VALUES (2, 'friend@example.com', 'iMessage')"));
    for (int i = 1; i <= aMessages; ++i) {
        const bool fromMe = i % 2 == 1;
        db.exec(QStringLiteral(
                    "INSERT INTO message (ROWID, guid, text, handle_id, date, is_read, is_from_me) VALUES "
                    "(?, ?, ?, ?, ?, ?, ?)"),
                {i, QStringLiteral("guid-%1").arg(i), QStringLiteral("Message %1 \uFFFC").arg(i),
                 fromMe ? 1 : 2, 400000000 + i, i == 2 ? 0 : 1, fromMe ? 1 : 0});
    }
    for (int a = 1; a <= aAttachments; ++a) {
        db.exec(
            QStringLiteral("INSERT INTO attachment (ROWID, guid, filename, mime_type) VALUES (?, ?, ?, ?)"),
            {a, QStringLiteral("att-%1").arg(a),
             QStringLiteral("~/Library/SMS/Attachments/%1/IMG_%2.jpeg")
                 .arg(a % 100, 2, 10, QLatin1Char('0'))
                 .arg(a),
             QStringLiteral("image/jpeg")});
        db.exec(QStringLiteral("INSERT INTO message_attachment_join VALUES (?, ?)"),
                {1 + (a - 1) % aMessages, a});
    }
    // A PNG on the second message: not carried.
    db.exec(QStringLiteral("INSERT INTO attachment (guid, filename, mime_type) VALUES ('png', "
                           "'~/Library/SMS/Attachments/00/drawing.png', 'image/png')"));
    db.exec(QStringLiteral("INSERT INTO message_attachment_join VALUES (2, last_insert_rowid())"));
    db.exec(QStringLiteral("COMMIT"));
}

QByteArray attributedBody(const QString& aText)
{
    const QByteArray utf8 = aText.toUtf8();
    static const char prefix[] =
        "\x04\x0bstreamtyped\x81\xe8\x03\x84\x01@\x84\x84\x84\x12NSAttributedString"
        "\x00\x84\x84\x08NSObject\x00\x85\x92\x84\x84\x84\x08NSString\x01\x94\x84\x01+";
    static const char suffix[] = "\x86\x84\x02iI\x01\x05\x92\x84\x84\x84\x0cNSDictionary";
    QByteArray body(prefix, sizeof prefix - 1);
    if (utf8.size() < 0x80) {
        body.append(static_cast<char>(utf8.size()));
    } else if (utf8.size() < 0x10000) {
        body.append('\x81');
        body.append(static_cast<char>(utf8.size() & 0xFF));
        body.append(static_cast<char>(utf8.size() >> 8));
    } else {
        body.append('\x82');
        for (int i = 0; i < 4; ++i)
            body.append(static_cast<char>((utf8.size() >> (8 * i)) & 0xFF));
    }
    return body + utf8 + QByteArray(suffix, sizeof suffix - 1);
}

void newestSms(const QString& aPath)
{
    newSms(aPath, 0, 0);
    SqlFile db(aPath);
    // 2023-11-14 22:13:20 UTC, as nanoseconds since 2001.
    const qint64 nanoseconds = (1700000000LL - 978307200LL) * 1000000000LL + 123456789LL;
    db.exec(
        QStringLiteral(
            "INSERT INTO message (ROWID, guid, text, attributedBody, handle_id, date, is_read, is_from_me) "
            "VALUES (1, 'new-1', NULL, ?, 1, ?, 1, 0)"),
        {attributedBody(QStringLiteral("Only in the body: café")), nanoseconds});
    db.exec(
        QStringLiteral(
            "INSERT INTO message (ROWID, guid, text, attributedBody, handle_id, date, is_read, is_from_me) "
            "VALUES (2, 'new-2', NULL, ?, 2, ?, 1, 1)"),
        {attributedBody(QString(300, QLatin1Char('L'))), nanoseconds + 1000000000LL});
}

void addressBook(const QString& aPath, const QString& aFirstName)
{
    SqlFile db(aPath);
    db.exec(QStringLiteral(
        "CREATE TABLE ABPerson (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, First TEXT, Last TEXT, "
        "Middle TEXT, FirstPhonetic TEXT, Organization TEXT, Department TEXT, Note TEXT, "
        "Kind INTEGER, Birthday TEXT, JobTitle TEXT, Nickname TEXT)"));
    db.exec(QStringLiteral(
        "CREATE TABLE ABMultiValue (UID INTEGER PRIMARY KEY, record_id INTEGER, property INTEGER, "
        "identifier INTEGER, label INTEGER, value TEXT)"));
    db.exec(QStringLiteral("CREATE TABLE ABMultiValueLabel (value TEXT, UNIQUE(value))"));
    db.exec(QStringLiteral("CREATE TABLE ABMultiValueEntry (parent_id INTEGER, key INTEGER, value TEXT)"));
    db.exec(QStringLiteral("CREATE TABLE ABMultiValueEntryKey (value TEXT, UNIQUE(value))"));
    for (const char* label : {"_$!<Mobile>!$_", "_$!<Home>!$_", "_$!<Work>!$_", "Boat phone"})
        db.exec(QStringLiteral("INSERT INTO ABMultiValueLabel (value) VALUES (?)"),
                {QString::fromUtf8(label)});
    for (const char* key : {"Street", "City", "ZIP", "Country", "CountryCode", "State", "SubLocality"})
        db.exec(QStringLiteral("INSERT INTO ABMultiValueEntryKey (value) VALUES (?)"),
                {QString::fromUtf8(key)});
    // Birthday 1990-05-17 at noon, as the reference-date seconds the phone stores.
    db.exec(QStringLiteral("INSERT INTO ABPerson (ROWID, First, Last, Middle, Organization, Birthday) VALUES "
                           "(1, ?, 'Lindqvist', NULL, 'Ørsted & Co', '-335534400')"),
            {aFirstName});
    db.exec(QStringLiteral("INSERT INTO ABPerson (ROWID, First, Last, Middle) VALUES (2, 'Bo', NULL, '')"));
    const QString value = QStringLiteral("INSERT INTO ABMultiValue VALUES (?, ?, ?, 0, ?, ?)");
    db.exec(value, {1, 1, 3, 1, QStringLiteral("+46 70 123 45 67")});
    db.exec(value, {2, 1, 3, 4, QStringLiteral("555-BOAT")});
    db.exec(value, {3, 1, 4, 3, QStringLiteral("anna@example.com")});
    db.exec(value, {4, 1, 5, 2, QString()});
    db.exec(value, {5, 1, 22, QVariant(), QStringLiteral("https://example.com")});
    db.exec(value, {6, 2, 9, QVariant(), QStringLiteral("other")});
    const QString entry = QStringLiteral("INSERT INTO ABMultiValueEntry VALUES (4, ?, ?)");
    db.exec(entry, {1, QStringLiteral("Storgatan 1")});
    db.exec(entry, {2, QStringLiteral("Malmö")});
    db.exec(entry, {7, QStringLiteral("Centrum")});
}

void addressBookImages(const QString& aPath, const QByteArray& aPicture)
{
    SqlFile db(aPath);
    db.exec(QStringLiteral(
        "CREATE TABLE ABThumbnailImage (record_id INTEGER, format INTEGER, derived_from_format "
        "INTEGER, data BLOB, UNIQUE(record_id, format))"));
    db.exec(QStringLiteral("INSERT INTO ABThumbnailImage VALUES (1, 0, 0, ?)"), {aPicture});
    db.exec(QStringLiteral("INSERT INTO ABThumbnailImage VALUES (2, 1, 0, ?)"), {aPicture});
}

void oldCalendar(const QString& aPath)
{
    SqlFile db(aPath);
    db.exec(QStringLiteral(
        "CREATE TABLE Event (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, summary TEXT, location TEXT, "
        "description TEXT, start_date INTEGER, start_tz TEXT, end_date INTEGER, all_day INTEGER, "
        "calendar_id INTEGER)"));
    db.exec(
        QStringLiteral("CREATE TABLE Recurrence (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, event_id INTEGER, "
                       "frequency INTEGER, interval INTEGER, end_date INTEGER)"));
    db.exec(QStringLiteral("CREATE TABLE Alarm (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, entity_id INTEGER, "
                           "trigger_interval INTEGER)"));
    db.exec(QStringLiteral(
        "INSERT INTO Event VALUES (1, 'Dentist', 'Main St\t4', 'Check-up\nbring card', 300000000, "
        "'Europe/London', 300003600, 0, 1)"));
    db.exec(QStringLiteral(
        "INSERT INTO Event VALUES (2, 'Birthday', NULL, NULL, 300086400, '_float', NULL, 1, 1)"));
    db.exec(QStringLiteral(
        "INSERT INTO Recurrence (event_id, frequency, interval, end_date) VALUES (2, 4, 1, 0)"));
    db.exec(QStringLiteral("INSERT INTO Alarm (entity_id, trigger_interval) VALUES (1, -900)"));
    db.exec(QStringLiteral("INSERT INTO Alarm (entity_id, trigger_interval) VALUES (1, 'soon')"));
}

void newCalendar(const QString& aPath)
{
    SqlFile db(aPath);
    db.exec(QStringLiteral(
        "CREATE TABLE CalendarItem (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, summary TEXT, "
        "location_id INTEGER, description TEXT, start_date REAL, start_tz TEXT, end_date REAL, "
        "all_day INTEGER, calendar_id INTEGER, has_recurrences INTEGER, url TEXT)"));
    db.exec(QStringLiteral(
        "CREATE TABLE Location (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT, address TEXT, "
        "item_owner_id INTEGER)"));
    db.exec(
        QStringLiteral("CREATE TABLE Recurrence (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, frequency INTEGER, "
                       "interval INTEGER, end_date REAL, owner_id INTEGER)"));
    db.exec(QStringLiteral(
        "CREATE TABLE Alarm (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, trigger_interval INTEGER, "
        "owner_id INTEGER)"));
    db.exec(QStringLiteral("INSERT INTO CalendarItem VALUES (1, 'Standup', 1, 'Daily sync', 700000000.5, "
                           "'Europe/Paris', 700000900.0, 0, 1, 1, 'https://meet.example.com/x')"));
    db.exec(QStringLiteral(
        "INSERT INTO CalendarItem VALUES (2, 'Holiday', NULL, NULL, 700086400, NULL, 700172800, "
        "1, 1, 0, NULL)"));
    db.exec(QStringLiteral(
        "INSERT INTO CalendarItem VALUES (3, 'Book club', NULL, NULL, 700200000, NULL, 700203600, "
        "0, 1, 1, NULL)"));
    db.exec(QStringLiteral("INSERT INTO Location VALUES (1, 'Room 4', NULL, 1)"));
    db.exec(QStringLiteral(
        "INSERT INTO Recurrence (frequency, interval, end_date, owner_id) VALUES (1, 1, 710000000, 1)"));
    db.exec(QStringLiteral(
        "INSERT INTO Recurrence (frequency, interval, end_date, owner_id) VALUES (2, 2, NULL, 3)"));
    db.exec(QStringLiteral("INSERT INTO Alarm (trigger_interval, owner_id) VALUES (-600, 1)"));
    db.exec(QStringLiteral("INSERT INTO Alarm (trigger_interval, owner_id) VALUES (-3600, 1)"));
}

void oldNotes(const QString& aPath)
{
    SqlFile db(aPath);
    db.exec(QStringLiteral(
        "CREATE TABLE Note (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, creation_date INTEGER, title "
        "TEXT, summary TEXT, contains_cjk INTEGER, modification_date INTEGER)"));
    db.exec(QStringLiteral("CREATE TABLE note_bodies (note_id INTEGER UNIQUE, data, "
                           "FOREIGN KEY (note_id) REFERENCES Note(ROWID) ON DELETE CASCADE)"));
    db.exec(QStringLiteral("INSERT INTO Note VALUES (1, 250000000, 'Shopping', 'Milk', 0, 250000600)"));
    db.exec(QStringLiteral("INSERT INTO note_bodies VALUES (1, 'Shopping<div>Milk\r\nEggs</div>')"));
}

void newNotes(const QString& aPath)
{
    SqlFile db(aPath);
    db.exec(QStringLiteral(
        "CREATE TABLE ZNOTE (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, ZBODY INTEGER, ZCREATIONDATE "
        "TIMESTAMP, ZMODIFICATIONDATE TIMESTAMP, ZSUMMARY VARCHAR, ZTITLE VARCHAR)"));
    db.exec(QStringLiteral("CREATE TABLE ZNOTEBODY (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, ZOWNER INTEGER, "
                           "ZCONTENT VARCHAR)"));
    db.exec(
        QStringLiteral("INSERT INTO ZNOTE VALUES (1, 5, 1, 400000000.25, 400000100, 'Call Bo', 'Reminder')"));
    db.exec(QStringLiteral("INSERT INTO ZNOTEBODY VALUES (1, 6, 1, 'Reminder<br>Call Bo')"));
}

} // namespace IphoneDatabases
