#pragma once

// The MTP side of a software phone: the PTP container protocol over a byte stream (command,
// data and response containers), a session, storages and an object store with handles, as an
// Android phone answers them. The USB transport is SoftwarePhone's; this class sees whole
// containers only.
#include "support/PhoneStore.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

class MtpResponder
{
public:
    using Object = PhoneStore::Object;

    MtpResponder();

    // A complete container from the host; the containers for the host, in order.
    QList<QByteArray> receive(const QByteArray& aContainer);
    // The transaction in progress ends unfinished (a cancel request, a pulled cable) with
    // aPartial, the part of a data container that had arrived: an object being sent keeps what
    // arrived of it, as a phone's file system does.
    void abandon(const QByteArray& aPartial);
    // The answer to the class request "get device status".
    uint16_t deviceStatus() const { return 0x2001; }

    // What the phone holds.
    PhoneStore& store() { return mStore; }

    void setLocked(bool aLocked) { mLocked = aLocked; }
    // The next aTimes OpenSession requests are answered "device busy" (a phone still starting
    // its MTP service).
    void answerBusyToOpenSession(int aTimes) { mBusyOpens = aTimes; }
    void setFriendlyName(const QString& aName) { mFriendlyName = aName; }
    // Operations the host ran, by code.
    const QList<uint16_t>& operations() const { return mOperations; }
    // Objects described to the host so far (by object info, or in property lists).
    qint64 objectsDescribed() const { return mObjectsDescribed; }
    bool sessionOpen() const { return mSessionOpen; }

private:
    QList<QByteArray> run(uint16_t aCode, uint32_t aTransaction, const QList<uint32_t>& aParams,
                          const QByteArray* aData);
    static bool takesData(uint16_t aCode);
    QList<QByteArray> propertyList(uint32_t aTransaction, const QList<uint32_t>& aParams) const;

    PhoneStore mStore;
    bool mSessionOpen = false;
    bool mLocked = false;
    int mBusyOpens = 0;
    QString mFriendlyName = QStringLiteral("Pixel 7");
    // A command whose data phase is awaited.
    bool mAwaitingData = false;
    uint16_t mPendingCode = 0;
    uint32_t mPendingTransaction = 0;
    QList<uint32_t> mPendingParams;
    // The object SendObjectInfo announced, which SendObject fills.
    uint32_t mSendTarget = 0;
    QList<uint16_t> mOperations;
    mutable qint64 mObjectsDescribed = 0;
};
