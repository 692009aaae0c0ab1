#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

// A file on a device seen the way the rest of the program sees a local file: exists, remove,
// make folders, open, read, write, close, and copy a local file there. Paths are backslash
// separated and start at the storage root.
class AbstractFile
{
public:
    virtual ~AbstractFile() = default;

    virtual bool exists(const QString& aPath) = 0;
    virtual bool remove(const QString& aPath) = 0;
    // Sends aSource to aTarget, making its folders, trying up to aAttempts times; aType is the
    // object type it is stored as (QMtpFileInterface::Type).
    virtual bool copy(const QString& aSource, const QString& aTarget, int aAttempts, int aType) = 0;
    virtual bool mkpath(const QString& aPath) = 0;
    virtual bool open(QIODevice::OpenMode aMode) = 0;
    virtual bool close() = 0;
    virtual QByteArray readAll() = 0;
    virtual bool write(const QByteArray& aBytes) = 0;
};
