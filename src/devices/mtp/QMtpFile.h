#pragma once

#include <QString>
#include <QtGlobal>

// The description of one object on a phone, as the object layer lists it, the folder cache keeps
// it, or a send is asked to make it: its identifier, its folder's, its storage's, its file name
// as stored on the phone, its size and its type. Identifiers are strings; the folder identifier
// "4294967295" is a storage's root.
class QMtpFile
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

    QMtpFile() = default;
    QMtpFile(const QString& aObjectId, const QString& aParentId, const QString& aStorageId,
             const QString& aName, qint64 aSize, int aType)
        : mObjectId(aObjectId), mParentId(aParentId), mStorageId(aStorageId), mName(aName), mSize(aSize),
          mType(aType)
    {
    }

    const QString& objectId() const { return mObjectId; }
    const QString& parentId() const { return mParentId; }
    const QString& storageId() const { return mStorageId; }
    const QString& name() const { return mName; }
    qint64 size() const { return mSize; }
    int type() const { return mType; }
    void setObjectId(const QString& aId) { mObjectId = aId; }
    void setParentId(const QString& aId) { mParentId = aId; }
    void setStorageId(const QString& aId) { mStorageId = aId; }
    void setName(const QString& aName) { mName = aName; }
    void setSize(qint64 aSize) { mSize = aSize; }
    void setType(int aType) { mType = aType; }

private:
    QString mObjectId;
    QString mParentId;
    QString mStorageId;
    QString mName;
    qint64 mSize = 0;
    int mType = TypeOther;
};
