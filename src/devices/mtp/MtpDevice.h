#pragma once

#include "devices/mtp/PortableDevice.h"
#include "devices/mtp/QMtpFile.h"

#include <QMultiHash>
#include <QString>

#include <memory>

// A folder's key in the folder cache: "4294967295" (a storage's root) becomes "storage_root_"
// followed by the storage's identifier, so that the roots of two storages differ.
QString MangleFolderId(const QString& aFolderId, const QString& aStorageId);

// The handle of an opened phone and its folder cache: each folder is listed on the phone once per
// connection and then answered from memory, kept in step with what this program creates (a new
// folder is known empty), sends and deletes. Reopening the device drops the cache. Used by one thread at a
// time (see PortableDevice); counts the calls that reach the phone.
class MtpDevice
{
public:
    static const QString kRootFolder; // "4294967295"

    explicit MtpDevice(std::unique_ptr<PortableDevice> aDevice);

    PortableDevice& portableDevice() { return *mDevice; }
    qint32 reopen();

    qint32 listFolder(const QString& aStorageId, const QString& aFolderId, QList<QMtpFile>& aObjects);
    qint32 createFolder(const QString& aStorageId, const QString& aParentId, QString& aName, QString& aNewId);
    qint32 sendFile(const QString& aLocalPath, QMtpFile& aObject, const PortableDevice::Progress& aProgress);
    qint32 readObject(const QString& aObjectId, const QString& aLocalPath);
    qint32 deleteObject(const QMtpFile& aObject);
    qint32 setReferences(const QString& aObjectId, const QStringList& aReferences);
    qint32 refreshStorage(QMtpDeviceStorage& aStorage);

    // Calls that reached the phone since the device was opened (for the benchmarks).
    int operations() const { return mOperations; }
    // The device stopped answering (unplugged): every later call fails at once.
    bool gone() const { return mGone; }

private:
    qint32 counted(qint32 aResult);

    std::unique_ptr<PortableDevice> mDevice;
    QMultiHash<QString, QMtpFile> mFolders;
    QHash<QString, bool> mListed; // folder keys whose whole content is in mFolders
    int mOperations = 0;
    bool mGone = false;
};
