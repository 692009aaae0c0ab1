#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes a zip archive of stored (uncompressed) entries, any name allowed: archives as BlackBerry
// Desktop writes them, and archives made to hurt (names that climb out, absolute names, links).
class ZipWriter
{
public:
    void addFile(const QByteArray& aName, const QByteArray& aContent);
    // A Unix symbolic link named aName pointing to aTarget.
    void addLink(const QByteArray& aName, const QByteArray& aTarget);
    QByteArray bytes() const;

private:
    struct Entry
    {
        QByteArray name;
        QByteArray content;
        quint32 externalAttributes;
    };
    QList<Entry> mEntries;
};
