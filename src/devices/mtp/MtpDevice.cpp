#include "devices/mtp/MtpDevice.h"

#include "app/LogScope.h"
#include "devices/mtp/MtpResult.h"

const QString MtpDevice::kRootFolder = QStringLiteral("4294967295");

QString MangleFolderId(const QString& aFolderId, const QString& aStorageId)
{
    logValue("aFolderId", aFolderId);
    logValue("aStorageId", aStorageId);
    const QString mangled =
        aFolderId == MtpDevice::kRootFolder ? QStringLiteral("storage_root_") + aStorageId : aFolderId;
    logValue("mangledId", mangled);
    return mangled;
}

MtpDevice::MtpDevice(std::unique_ptr<PortableDevice> aDevice) : mDevice(std::move(aDevice)) {}

qint32 MtpDevice::counted(qint32 aResult)
{
    ++mOperations;
    if (aResult == MtpResult::kGone)
        mGone = true;
    return aResult;
}

qint32 MtpDevice::reopen()
{
    mFolders.clear();
    mListed.clear();
    const qint32 result = mDevice->reopen();
    mGone = result == MtpResult::kGone;
    return result;
}

qint32 MtpDevice::listFolder(const QString& aStorageId, const QString& aFolderId, QList<QMtpFile>& aObjects)
{
    const QString key = MangleFolderId(aFolderId, aStorageId);
    aObjects.clear();
    if (mListed.contains(key)) {
        aObjects = mFolders.values(key);
        return MtpResult::kOk;
    }
    if (mGone)
        return MtpResult::kGone;
    QList<QMtpFile> listed;
    const qint32 result = counted(mDevice->listFolder(aStorageId, aFolderId, listed));
    if (result != MtpResult::kOk)
        return result;
    mFolders.remove(key);
    for (const QMtpFile& object : listed) {
        logValue("Name + ID: ", object.name() + QStringLiteral(", ") + object.objectId());
        mFolders.insert(key, QMtpFile(object));
        aObjects.append(QMtpFile(object));
    }
    mListed.insert(key, true);
    return MtpResult::kOk;
}

qint32 MtpDevice::createFolder(const QString& aStorageId, const QString& aParentId, QString& aName,
                               QString& aNewId)
{
    if (mGone)
        return MtpResult::kGone;
    const QString requested = aName;
    const qint32 result = counted(mDevice->createFolder(aStorageId, aParentId, aName, aNewId));
    if (result != MtpResult::kOk)
        return result;
    // Cached under the name asked for, so that the run's later lookups find it; a phone that
    // stores another name is noted.
    if (aName != requested)
        logValue("The phone named the new folder", aName);
    mFolders.insert(MangleFolderId(aParentId, aStorageId),
                    QMtpFile(aNewId, aParentId, aStorageId, requested, 0, QMtpFile::TypeFolder));
    // A new folder holds nothing: there is nothing to list.
    mListed.insert(MangleFolderId(aNewId, aStorageId), true);
    return result;
}

qint32 MtpDevice::sendFile(const QString& aLocalPath, QMtpFile& aObject,
                           const PortableDevice::Progress& aProgress)
{
    if (mGone)
        return MtpResult::kGone;
    const qint32 result = counted(mDevice->sendFile(aLocalPath, aObject, aProgress));
    const QString key = MangleFolderId(aObject.parentId(), aObject.storageId());
    if (result == MtpResult::kOk) {
        mFolders.insert(key, QMtpFile(aObject));
    } else {
        // What a failed send left in the folder is known to the phone only: the folder is
        // listed again when it is next looked at.
        mFolders.remove(key);
        mListed.remove(key);
    }
    return result;
}

qint32 MtpDevice::readObject(const QString& aObjectId, const QString& aLocalPath)
{
    if (mGone)
        return MtpResult::kGone;
    return counted(mDevice->readObject(aObjectId, aLocalPath));
}

qint32 MtpDevice::deleteObject(const QMtpFile& aObject)
{
    if (mGone)
        return MtpResult::kGone;
    const qint32 result = counted(mDevice->deleteObject(aObject.objectId()));
    if (result == MtpResult::kOk || result == MtpResult::kNotFound) {
        const QString key = MangleFolderId(aObject.parentId(), aObject.storageId());
        int removed = 0;
        for (auto it = mFolders.find(key); it != mFolders.end() && it.key() == key;) {
            if (it->objectId() == aObject.objectId()) {
                it = mFolders.erase(it);
                ++removed;
            } else {
                ++it;
            }
        }
        logValue("Items removed from multihash:", removed);
    }
    return result;
}

qint32 MtpDevice::setReferences(const QString& aObjectId, const QStringList& aReferences)
{
    if (mGone)
        return MtpResult::kGone;
    return counted(mDevice->setReferences(aObjectId, aReferences));
}

qint32 MtpDevice::refreshStorage(QMtpDeviceStorage& aStorage)
{
    if (mGone)
        return MtpResult::kGone;
    return counted(mDevice->refreshStorage(aStorage));
}
