// The messages exporter: messages.xml from the message databases of every iOS generation, with
// their JPEG attachments.
#include "app/LogScope.h"
#include "backup/AppleExtractor.h"
#include "backup/AttachmentImage.h"
#include "backup/BackupDatabase.h"
#include "backup/BackupDates.h"
#include "backup/BackupXmlWriter.h"
#include "backup/RecipientPlistContentHandler.h"
#include "backup/TypedStreamText.h"

#include <QSqlError>

namespace {

const QString kConnection = QStringLiteral("qt_sql_default_connection");

void writeAttachment(BackupXmlWriter& aXml, const QString& aMimeType, const QByteArray& aJpeg)
{
    if (aJpeg.isEmpty())
        return;
    aXml.start(QStringLiteral("attachment"));
    aXml.attribute(QStringLiteral("mime_type"), aMimeType);
    aXml.text(QString::fromLatin1(aJpeg.toBase64()));
    aXml.end();
}

bool isJpeg(const QString& aMimeType)
{
    return aMimeType.compare(QLatin1String("image/jpeg"), Qt::CaseInsensitive) == 0;
}

} // namespace

int AppleExtractor::generateMessagesXML(const QString& aExtractDir, const QString& aXmlPath)
{
    LogScope log("AppleExtractor::generateMessagesXML");
    Q_UNUSED(aExtractDir);
    return log.ret(exportDatabases(
        mSmsDatabases, {"messages", "Unable to open file", "sms", kConnection}, aXmlPath,
        [this](BackupDatabase& aDb, BackupXmlWriter& aXml) { return writeMessages(aDb, aXml); }));
}

bool AppleExtractor::writeMessages(BackupDatabase& aDb, BackupXmlWriter& aXml)
{
    const bool newSchema = aDb.hasTable(QStringLiteral("handle"));
    QSqlQuery query = aDb.query();
    if (!queryDone(query, query.exec(newSchema ? QStringLiteral("SELECT * FROM message INNER JOIN handle ON "
                                                                "message.handle_id=handle.ROWID")
                                               : QStringLiteral("SELECT * FROM message"))))
        return false;
    // The attachments of each message, by one statement prepared once.
    QSqlQuery parts = aDb.query();
    const bool partsReady = parts.prepare(
        newSchema
            ? QStringLiteral(
                  "SELECT * FROM message_attachment_join                                                     "
                  "LEFT OUTER JOIN attachment ON message_attachment_join.attachment_id=attachment.ROWID"
                  "                                                     WHERE message_id=?")
            : QStringLiteral("SELECT * FROM msg_pieces WHERE message_id=?"));
    BackupDatabase::Row row(query);
    BackupDatabase::Row partRow(parts);
    while (query.next()) {
        QString address = row.text(newSchema ? QStringLiteral("id") : QStringLiteral("address"));
        if (!newSchema && address.isNull()) {
            const QVariant recipients = row.value(QStringLiteral("recipients"));
            if (!recipients.isNull()) {
                RecipientPlistContentHandler handler;
                PropertyList::parse(recipients.toByteArray(), handler);
                if (!handler.recipients().isEmpty())
                    address = handler.recipients().first();
            }
        }
        QString text = row.text(QStringLiteral("text"));
        if (newSchema && text.isEmpty())
            text = TypedStreamText::text(row.value(QStringLiteral("attributedBody")).toByteArray());
        const QString flagsText = row.text(QStringLiteral("flags"));
        // Databases since iOS 5 call the read flag "is_read"; without it every message would
        // arrive on the new phone as read.
        QString read = row.text(QStringLiteral("read"));
        if (newSchema && read.isNull())
            read = row.text(QStringLiteral("is_read"));
        const QString date = row.text(QStringLiteral("date"));
        // In the new schema the joined handle has a ROWID too; the message's comes first.
        const QString rowId = row.text(QStringLiteral("ROWID"));
        bool isNumber = false;
        const qlonglong flags = flagsText.toLongLong(&isNumber);
        if (!isNumber && !flagsText.isNull())
            logValue("Bad message flag", flagsText);
        if (isNumber && (flags & 128))
            continue;

        const bool sent = newSchema ? row.text(QStringLiteral("is_from_me")) == QLatin1String("1")
                                    : isNumber && (flags & 1);
        aXml.start(sent ? QStringLiteral("sent_message") : QStringLiteral("received_message"));
        if (!address.isNull())
            aXml.element(QStringLiteral("address"), address);
        if (!date.isNull())
            aXml.element(QStringLiteral("date"),
                         newSchema ? QString::number(BackupDates::fromMessageDate(date.toLongLong())) : date);
        aXml.element(QStringLiteral("read"),
                     read == QLatin1String("0") ? QStringLiteral("false") : QStringLiteral("true"));
        if (partsReady)
            writeMessageAttachments(parts, partRow, aXml, newSchema, rowId, text);
        else
            logValue("Selection error", parts.lastError().text());
        text.remove(QChar(0xFFFC));
        if (!text.isEmpty())
            aXml.element(QStringLiteral("text"), text);
        aXml.end();
    }
    return queryDone(query, true);
}

void AppleExtractor::writeMessageAttachments(QSqlQuery& aParts, BackupDatabase::Row& aPart,
                                             BackupXmlWriter& aXml, bool aNewSchema, const QString& aRowId,
                                             QString& aText)
{
    bool isNumber = false;
    const qlonglong rowId = aRowId.toLongLong(&isNumber);
    QSqlQuery& parts = aParts;
    parts.bindValue(0, rowId);
    if (!isNumber || !parts.exec()) {
        logValue("Selection error", parts.lastError().text());
        return;
    }
    while (parts.next()) {
        if (aNewSchema) {
            QString fileName = aPart.text(QStringLiteral("filename"));
            const QString mimeType = aPart.text(QStringLiteral("mime_type"));
            if (fileName.startsWith(QLatin1String("~/")))
                fileName = fileName.mid(2);
            const auto found = mSmsAttachments.constFind(fileName);
            if (found != mSmsAttachments.cend() && isJpeg(mimeType))
                writeAttachment(aXml, mimeType, AttachmentImage::scaledJpeg(found.value()));
            continue;
        }
        const QString partId = aPart.text(QStringLiteral("part_id"));
        const QString contentType = aPart.text(QStringLiteral("content_type"));
        const QVariant data = aPart.value(QStringLiteral("data"));
        if (!data.isNull()) {
            if (contentType == QLatin1String("text/plain")) {
                if (!aText.isEmpty())
                    aText += QLatin1Char(' ');
                aText += QString::fromUtf8(data.toByteArray());
            } else if (isJpeg(contentType)) {
                writeAttachment(aXml, contentType, data.toByteArray());
            }
            continue;
        }
        const auto found =
            mSmsAttachments.constFind(aRowId + QLatin1Char('-') + partId + QStringLiteral(".jpg"));
        if (found != mSmsAttachments.cend() && isJpeg(contentType))
            writeAttachment(aXml, contentType, AttachmentImage::scaledJpeg(found.value()));
    }
}
