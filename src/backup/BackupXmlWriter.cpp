#include "backup/BackupXmlWriter.h"
#include "app/DiagnosticLog.h"

BackupXmlWriter::BackupXmlWriter(const QString& aPath) : mFile(aPath)
{
    mOpen = mFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
    mXml.setDevice(&mFile);
    mXml.setAutoFormatting(true);
    mXml.setAutoFormattingIndent(4);
}

void BackupXmlWriter::startDocument(const QString& aRoot)
{
    mXml.writeStartDocument();
    mXml.writeStartElement(aRoot);
}

bool BackupXmlWriter::endDocument()
{
    mXml.writeEndElement();
    mXml.writeEndDocument();
    const bool written = !mXml.hasError() && mFile.flush();
    mFile.close();
    return written && mFile.error() == QFileDevice::NoError;
}

QString BackupXmlWriter::clean(const QString& aText)
{
    QString cleaned;
    cleaned.reserve(aText.size());
    for (const QChar c : aText) {
        if (c.unicode() < 0x20) {
            logValue("Removed illegal character", static_cast<int>(c.unicode()));
            continue;
        }
        // The two non-characters XML 1.0 excludes would make the file unreadable for any XML
        // reader; they are dropped the same way.
        if (c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            continue;
        cleaned.append(c);
    }
    return cleaned;
}
