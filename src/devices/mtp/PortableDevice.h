#pragma once

#include "devices/mtp/QMtpDeviceStorage.h"
#include "devices/mtp/QMtpFile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// One phone as the object layer sees it, opened. Every operation returns an MtpResult code; a
// storage's root is the folder "4294967295". Sending and reading stream between the phone and
// a local file (no whole file in memory); a send that fails or is cancelled leaves no object
// behind. Used by one thread at a time (the refresher's pass, the sync thread, or the GUI
// thread while neither runs); a backend that needs more serialises its library itself.
class PortableDevice
{
public:
    // Told the bytes done and the total while a file moves; false cancels the transfer.
    using Progress = std::function<bool(qint64 aDone, qint64 aTotal)>;

    virtual ~PortableDevice() = default;

    // Closes and opens the connection again (before a run, before configuring).
    virtual qint32 reopen() = 0;
    virtual qint32 storages(QList<QMtpDeviceStorage>& aStorages) = 0;
    // Updates a storage's capacity and free space from the device.
    virtual qint32 refreshStorage(QMtpDeviceStorage& aStorage) = 0;
    virtual qint32 listFolder(const QString& aStorageId, const QString& aFolderId,
                              QList<QMtpFile>& aObjects) = 0;
    // Makes the folder aName; a phone may store it under another name, which aName then holds.
    virtual qint32 createFolder(const QString& aStorageId, const QString& aParentId, QString& aName,
                                QString& aNewId) = 0;
    // Sends aLocalPath as a new object described by aObject (name, type, parent, storage); on
    // success the object's identifier is set in aObject.
    virtual qint32 sendFile(const QString& aLocalPath, QMtpFile& aObject, const Progress& aProgress) = 0;
    virtual qint32 readObject(const QString& aObjectId, const QString& aLocalPath) = 0;
    virtual qint32 deleteObject(const QString& aObjectId) = 0;
    virtual qint32 setReferences(const QString& aObjectId, const QStringList& aReferences) = 0;
    // The last failure in words a user can act on; empty when there was none.
    virtual QString lastError() const = 0;
};

// A phone found by the enumeration, not yet opened.
struct PortableDeviceRecord
{
    QString id;           // where it is (bus and address): the same while it stays plugged in
    QString friendlyName; // empty when it can't be known before opening
    QString description;  // the product
    QString manufacturer;
};

// Finds the phones connected over MTP (never mass-storage devices) and opens them. Any thread.
class PortableDeviceManager
{
public:
    virtual ~PortableDeviceManager() = default;
    virtual QList<PortableDeviceRecord> enumerate() = 0;
    // The opened device, or null with the reason in aResult (kBusy: another program holds it).
    virtual std::unique_ptr<PortableDevice> open(const PortableDeviceRecord& aRecord, qint32& aResult,
                                                 QString& aFriendlyName) = 0;
    // Why the last open failed, in words the user can act on.
    virtual QString openFailure() const = 0;
};
