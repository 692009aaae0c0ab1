#pragma once

#include <QFile>
#include <QString>
#include <QXmlStreamWriter>

// The XML files made from a backup: UTF-8 with the declaration, indented by four spaces, every
// text and attribute cleaned of the characters below U+0020 (which XML 1.0 can't hold or the
// phone application doesn't expect), each removal logged.
class BackupXmlWriter
{
public:
    explicit BackupXmlWriter(const QString& aPath);
    bool isOpen() const { return mOpen; }

    void startDocument(const QString& aRoot);
    // Ends the root and the document and closes the file; false when the file could not be
    // written whole.
    bool endDocument();

    void start(const QString& aName) { mXml.writeStartElement(aName); }
    void end() { mXml.writeEndElement(); }
    void attribute(const QString& aName, const QString& aValue) { mXml.writeAttribute(aName, clean(aValue)); }
    void text(const QString& aText) { mXml.writeCharacters(clean(aText)); }
    void element(const QString& aName, const QString& aText) { mXml.writeTextElement(aName, clean(aText)); }

    static QString clean(const QString& aText);

private:
    QFile mFile;
    QXmlStreamWriter mXml;
    bool mOpen = false;
};
