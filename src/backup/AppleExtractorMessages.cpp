// The messages exporter: messages.xml from the message databases of every iOS generation, with
// their JPEG attachments.
#include "app/LogScope.h"
#include "backup/AppleExtractor.h"
#include "backup/AttachmentImage.h"
#include "backup/BackupDatabase.h"
#include "backup/BackupDates.h"
#include "backup/BackupXmlWriter.h"
#include "backup/RecipieintPlistContentHandler.h"
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
    BackupXmlWriter xml(aXmlPath);
    if (!xml.isOpen()) {
        logValue("Unable to open file", aXmlPath);
        return log.ret(-1);
    }
    xml.startDocument(QStringLiteral("messages"));
    for (int index = 0; index < mSmsDatabases.size(); ++index) {
        copyToLogFolder(mSmsDatabases.at(index), QStringLiteral("sms%1.db").arg(index));
        BackupDatabase db(mSmsDatabases.at(index), kConnection);
        if (!db.isOpen()) {
            logMessage("Could not open database");
            logValue("Error", db.errorText());
            continue;
        }
        logMessage("Database opened");
        if (!db.isValid()) {
            logMessage("Database is invalid");
            logValue("Error", db.errorText());
            continue;
        }
        logMessage("Database is valid");
        writeMessages(db, xml);
    }
    return log.ret(xml.endDocument() ? 0 : -1);
}

void AppleExtractor::writeMessages(BackupDatabase& aDb, BackupXmlWriter& aXml)
{
    const bool newSchema = aDb.hasTable(QStringLiteral("handle"));
    QSqlQuery query = aDb.query();
    if (!query.exec(
            newSchema
                ? QStringLiteral("SELECT * FROM message INNER JOIN handle ON message.handle_id=handle.ROWID")
                : QStringLiteral("SELECT * FROM message"))) {
        logValue("Selection error", query.lastError().text());
        return;
    }
    while (query.next()) {
        QString address =
            BackupDatabase::text(query, newSchema ? QStringLiteral("id") : QStringLiteral("address"));
        if (!newSchema && address.isNull()) {
            const QVariant recipients = BackupDatabase::value(query, QStringLiteral("recipients"));
            if (!recipients.isNull()) {
                RecipieintPlistContentHandler handler;
                PropertyList::parse(recipients.toByteArray(), handler);
                if (!handler.recipients().isEmpty())
                    address = handler.recipients().first();
            }
        }
        QString text = BackupDatabase::text(query, QStringLiteral("text"));
        if (newSchema && text.isEmpty())
            text = TypedStreamText::text(
                BackupDatabase::value(query, QStringLiteral("attributedBody")).toByteArray());
        const QString flagsText = BackupDatabase::text(query, QStringLiteral("flags"));
        // Databases since iOS 5 call the read flag "is_read"; without it every message would
        // arrive on the new phone as read.
        QString read = BackupDatabase::text(query, QStringLiteral("read"));
        if (newSchema && read.isNull())
            read = BackupDatabase::text(query, QStringLiteral("is_read"));
        const QString date = BackupDatabase::text(query, QStringLiteral("date"));
        // In the new schema the joined handle has a ROWID too; the message's comes first.
        const QString rowId = BackupDatabase::text(query, QStringLiteral("ROWID"));
        bool isNumber = false;
        const qlonglong flags = flagsText.toLongLong(&isNumber);
        if (!isNumber && !flagsText.isNull())
            logValue("Bad message flag", flagsText);
        if (isNumber && (flags & 128))
            continue;

        const bool sent =
            newSchema ? BackupDatabase::text(query, QStringLiteral("is_from_me")) == QLatin1String("1")
                      : isNumber && (flags & 1);
        aXml.start(sent ? QStringLiteral("sent_message") : QStringLiteral("received_message"));
        if (!address.isNull())
            aXml.element(QStringLiteral("address"), address);
        if (!date.isNull())
            aXml.element(QStringLiteral("date"),
                         newSchema ? QString::number(BackupDates::fromMessageDate(date.toLongLong())) : date);
        aXml.element(QStringLiteral("read"),
                     read == QLatin1String("0") ? QStringLiteral("false") : QStringLiteral("true"));
        writeMessageAttachments(aDb, aXml, newSchema, rowId, text);
        text.remove(QChar(0xFFFC));
        if (!text.isEmpty())
            aXml.element(QStringLiteral("text"), text);
        aXml.end();
    }
}

void AppleExtractor::writeMessageAttachments(BackupDatabase& aDb, BackupXmlWriter& aXml, bool aNewSchema,
                                             const QString& aRowId, QString& aText)
{
    bool isNumber = false;
    aRowId.toLongLong(&isNumber);
    QSqlQuery parts = aDb.query();
    const QString select =
        aNewSchema
            ? QStringLiteral(
                  "SELECT * FROM message_attachment_join                                                     "
                  "LEFT OUTER JOIN attachment ON message_attachment_join.attachment_id=attachment.ROWID"
                  "                                                     WHERE message_id=")
            : QStringLiteral("SELECT * FROM msg_pieces WHERE message_id=");
    if (!isNumber || !parts.exec(select + aRowId)) {
        logValue("Selection error", parts.lastError().text());
        return;
    }
    while (parts.next()) {
        if (aNewSchema) {
            QString fileName = BackupDatabase::text(parts, QStringLiteral("filename"));
            const QString mimeType = BackupDatabase::text(parts, QStringLiteral("mime_type"));
            if (fileName.startsWith(QLatin1String("~/")))
                fileName = fileName.mid(2);
            const auto found = mSmsAttachments.constFind(fileName);
            if (found != mSmsAttachments.cend() && isJpeg(mimeType))
                writeAttachment(aXml, mimeType, AttachmentImage::scaledJpeg(found.value()));
            continue;
        }
        const QString partId = BackupDatabase::text(parts, QStringLiteral("part_id"));
        const QString contentType = BackupDatabase::text(parts, QStringLiteral("content_type"));
        const QVariant data = BackupDatabase::value(parts, QStringLiteral("data"));
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
