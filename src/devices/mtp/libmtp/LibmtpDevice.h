#pragma once

#include "devices/mtp/PortableDevice.h"
#include "tracks/DeviceLock.h"

#include <libmtp.h>

// One phone opened through libmtp (uncached: folders are listed one at a time). Every call
// holds the process's libmtp lock. libmtp's conventions are turned into the object layer's:
// a storage's root is "4294967295" both when listing and when sending (libmtp would take 0 as
// "its default folder"); a NULL listing is empty or an error, told apart by the error stack;
// a send that fails or is cancelled deletes the object it had begun; a failed call on a phone
// whose device node is gone, or whose link answers "no such device", reports the phone gone.
class LibmtpDevice : public PortableDevice
{
public:
    // Takes ownership of an opened device and of the lock that keeps other runs of Veltrane off it.
    LibmtpDevice(LIBMTP_mtpdevice_t* aDevice, const LIBMTP_raw_device_t& aRawDevice,
                 std::unique_ptr<DeviceLock> aLock = nullptr);
    ~LibmtpDevice() override;
    LibmtpDevice(const LibmtpDevice&) = delete;
    LibmtpDevice& operator=(const LibmtpDevice&) = delete;

    qint32 reopen() override;
    qint32 storages(QList<QMtpDeviceStorage>& aStorages) override;
    qint32 refreshStorage(QMtpDeviceStorage& aStorage) override;
    qint32 listFolder(const QString& aStorageId, const QString& aFolderId,
                      QList<QMtpFile>& aObjects) override;
    qint32 createFolder(const QString& aStorageId, const QString& aParentId, QString& aName,
                        QString& aNewId) override;
    qint32 sendFile(const QString& aLocalPath, QMtpFile& aObject, const Progress& aProgress) override;
    qint32 readObject(const QString& aObjectId, const QString& aLocalPath) override;
    qint32 deleteObject(const QString& aObjectId) override;
    qint32 setReferences(const QString& aObjectId, const QStringList& aReferences) override;
    QString lastError() const override { return mLastError; }

    // The libmtp file type a file is sent as, from its name (phones index media by it).
    static LIBMTP_filetype_t fileTypeOf(const QString& aName);

private:
    // Reads (and clears) the error stack after a failed call: the object layer's code for it.
    qint32 failure(const char* aOperation);
    bool present() const;
    static uint32_t folderHandle(const QString& aFolderId);
    static QMtpFile objectOf(const LIBMTP_file_t& aFile, const QString& aFolderId, const QString& aStorageId);

    LIBMTP_mtpdevice_t* mDevice;
    LIBMTP_raw_device_t mRawDevice;
    std::unique_ptr<DeviceLock> mLock; // released after the device
    QString mLastError;
};
