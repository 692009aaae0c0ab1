#pragma once

#include "devices/mtp/QMtpFileInterface.h"

// An object's description as the object layer lists it or is asked to send it.
class QMtpFile : public QMtpFileInterface
{
public:
    QMtpFile() = default;
    QMtpFile(const QString& aObjectId, const QString& aParentId, const QString& aStorageId,
             const QString& aName, qint64 aSize, int aType)
        : mObjectId(aObjectId), mParentId(aParentId), mStorageId(aStorageId), mName(aName), mSize(aSize),
          mType(aType)
    {
    }

    const QString& objectId() const override { return mObjectId; }
    const QString& parentId() const override { return mParentId; }
    const QString& storageId() const override { return mStorageId; }
    const QString& name() const override { return mName; }
    qint64 size() const override { return mSize; }
    int type() const override { return mType; }
    void setObjectId(const QString& aId) override { mObjectId = aId; }
    void setParentId(const QString& aId) override { mParentId = aId; }
    void setStorageId(const QString& aId) override { mStorageId = aId; }
    void setName(const QString& aName) override { mName = aName; }
    void setSize(qint64 aSize) override { mSize = aSize; }
    void setType(int aType) override { mType = aType; }

private:
    QString mObjectId;
    QString mParentId;
    QString mStorageId;
    QString mName;
    qint64 mSize = 0;
    int mType = TypeOther;
};
