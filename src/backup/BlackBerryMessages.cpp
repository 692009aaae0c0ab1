#include "backup/BlackBerryMessages.h"
#include "app/DiagnosticLog.h"
#include "backup/BackupXmlWriter.h"

#include <QStringDecoder>

namespace {

const IpdField* fieldOf(const IpdRecord& aRecord, quint8 aType)
{
    for (const IpdField& field : aRecord)
        if (field.type == aType)
            return &field;
    return nullptr;
}

QString addressOf(const QByteArray& aData)
{
    QByteArray bytes = aData;
    bytes.removeIf([](char c) { return c == '\0'; });
    QString address = QString::fromUtf8(bytes);
    qsizetype first = 0;
    while (first < address.size() && address.at(first).unicode() < 0x21)
        ++first;
    return address.mid(first);
}

} // namespace

bool BlackBerryMessages::write(const QList<IpdRecord>& aRecords, const QString& aXmlPath)
{
    BackupXmlWriter xml(aXmlPath);
    if (!xml.isOpen()) {
        logValue("Unable to open file", aXmlPath);
        return false;
    }
    xml.startDocument(QStringLiteral("messages"));
    for (const IpdRecord& record : aRecords) {
        const IpdField* header = fieldOf(record, 1);
        const IpdField* address = fieldOf(record, 2);
        const IpdField* text = fieldOf(record, 4);
        const IpdField* encoding = fieldOf(record, 7);
        if (!header || !address || !text || !encoding)
            continue;
        const bool sent = !header->data.isEmpty() && header->data.at(0) == 1;
        QString date;
        if (header->data.size() > 20) {
            quint64 milliseconds = 0;
            for (int i = 7; i >= 0; --i)
                milliseconds = (milliseconds << 8) | static_cast<quint8>(header->data.at(13 + i));
            date = QString::number(milliseconds / 1000);
        }
        QString body;
        if (!encoding->data.isEmpty() && encoding->data.at(0) == 2) {
            QStringDecoder utf16(QStringDecoder::Utf16BE);
            body = utf16(text->data);
        } else {
            body = QString::fromUtf8(text->data);
        }
        const QString from = addressOf(address->data);
        xml.start(sent ? QStringLiteral("sent_message") : QStringLiteral("received_message"));
        if (!from.isEmpty())
            xml.element(QStringLiteral("address"), from);
        if (!date.isEmpty())
            xml.element(QStringLiteral("date"), date);
        if (!body.isEmpty())
            xml.element(QStringLiteral("text"), body);
        xml.end();
    }
    return xml.endDocument();
}
