#pragma once

#include <QString>
#include <QtGlobal>

// The description of one object on a phone: its identifier, its folder's, its storage's, its
// file name as stored on the phone, its size and its type. Identifiers are strings; the folder
// identifier "4294967295" is a storage's root.
class QMtpFileInterface
{
public:
    // Object types, as listed and as sent.
    enum Type
    {
        TypeDocument = 0, // a file (sent as a plain file)
        TypeFolder = 1,
        TypeOther = 2,    // any other file (sent as a plain file)
        TypePlaylist = 3, // an M3U playlist (sent as a playlist, named without its extension)
    };

    virtual ~QMtpFileInterface() = default;
    virtual const QString& objectId() const = 0;
    virtual const QString& parentId() const = 0;
    virtual const QString& storageId() const = 0;
    virtual const QString& name() const = 0;
    virtual qint64 size() const = 0;
    virtual int type() const = 0;
    virtual void setObjectId(const QString& aId) = 0;
    virtual void setParentId(const QString& aId) = 0;
    virtual void setStorageId(const QString& aId) = 0;
    virtual void setName(const QString& aName) = 0;
    virtual void setSize(qint64 aSize) = 0;
    virtual void setType(int aType) = 0;
};
