#pragma once

#include <QByteArray>
#include <QString>

class PlistContentHandler;

// Property lists as iTunes and iOS write them: XML, or binary ("bplist00"). Binary ones are
// turned into XML by libplist so that one XML reader serves both. Every reader here is bounded:
// a file larger than kMaxPlistBytes, or XML nested deeper than a plist ever is, is refused.
class PropertyList
{
public:
    static constexpr qint64 kMaxPlistBytes = 64 * 1024 * 1024;
    // The most a binary plist may take once its shared references are copied out: more is a
    // bomb (two hundred bytes can stand for gigabytes), and it is refused unread.
    static constexpr qint64 kMaxExpandedBytes = 32 * 1024 * 1024;

    // The XML form of aData; empty when aData is a binary plist libplist can't read.
    static QByteArray toXml(const QByteArray& aData);

    // Feeds the elements and texts of the plist aData (XML or binary) to aHandler. False when the
    // data is not a well-formed plist; the handler has then seen a part of it.
    static bool parse(const QByteArray& aData, PlistContentHandler& aHandler);

    // Reads a whole plist file (at most aMaxBytes, regular files only); empty on failure, with
    // aTooLarge set when the file is larger than that.
    static QByteArray readFile(const QString& aPath, qint64 aMaxBytes = kMaxPlistBytes,
                               bool* aTooLarge = nullptr);

    // The boolean value of aKey in the top-level dictionary of aData; false when absent.
    static bool topLevelBool(const QByteArray& aData, const QString& aKey);
};

// What a simple SAX-style reader calls while it reads a plist.
class PlistContentHandler
{
public:
    virtual ~PlistContentHandler() = default;
    virtual void startElement(const QString& aLocalName) = 0;
    virtual void endElement(const QString& aLocalName) { Q_UNUSED(aLocalName); }
    virtual void characters(const QString& aText) = 0;
};
