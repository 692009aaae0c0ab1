#pragma once

#include <QByteArray>
#include <QString>

// The databases of an iPhone as its backups hold them, in each schema generation the exporters
// read, filled with the records the exporter tests check. Dates are Apple reference-date seconds
// (2001-01-01), or seconds since 1970 where the old message database keeps them so.
namespace IphoneDatabases {

// iOS 3: message with address, flags (bit 0 sent, bit 7 not a message) and recipients plists;
// msg_pieces with text, inline JPEG and attached parts.
void oldSms(const QString& aPath);
// iOS 5 to 15: message joined to handle, is_from_me, attachments through
// message_attachment_join. aAttachments JPEG attachments and aMessages messages in all.
void newSms(const QString& aPath, int aMessages = 4, int aAttachments = 1);
// iOS 16 and later: text NULL, the text only in attributedBody; dates in nanoseconds.
void newestSms(const QString& aPath);
// The typedstream form of an attributedBody holding aText.
QByteArray attributedBody(const QString& aText);

void addressBook(const QString& aPath, const QString& aFirstName = QStringLiteral("Anna"));
void addressBookImages(const QString& aPath, const QByteArray& aPicture);

void oldCalendar(const QString& aPath);
void newCalendar(const QString& aPath);

void oldNotes(const QString& aPath);
void newNotes(const QString& aPath);

// A JPEG of aWidth x aHeight pixels; a PNG when aPng.
QByteArray picture(int aWidth, int aHeight, bool aPng = false);

} // namespace IphoneDatabases
