#pragma once

#include "app/DiagnosticLog.h"

#include <QString>
#include <QtGlobal>

// One storage of a phone (internal memory, a card): its identifier, description and space.
class QMtpDeviceStorage
{
public:
    QMtpDeviceStorage() = default;
    QMtpDeviceStorage(const QString& aId, const QString& aDescription, qint64 aCapacity, qint64 aFree)
        : mId(aId), mDescription(aDescription), mCapacity(aCapacity), mFree(aFree)
    {
    }

    const QString& Id() const
    {
        logValue("QMtpDeviceStorage::Id", mId);
        return mId;
    }
    const QString& description() const { return mDescription; }
    qint64 capacity() const { return mCapacity; }
    qint64 freeBytes() const { return mFree; }
    void setSpace(qint64 aCapacity, qint64 aFree)
    {
        mCapacity = aCapacity;
        mFree = aFree;
    }

private:
    QString mId;
    QString mDescription;
    qint64 mCapacity = 0;
    qint64 mFree = 0;
};
