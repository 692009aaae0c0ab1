#include "support/SimulatedPhone.h"

#include "devices/mtp/DeviceMtpMac.h"
#include "devices/mtp/MtpDevice.h"
#include "devices/mtp/MtpResult.h"

#include <QFile>
#include <QThread>

#include <algorithm>

namespace {

constexpr uint32_t kRoot = PhoneStore::kRoot;

uint32_t handleOf(const QString& aFolderId)
{
    return aFolderId == MtpDevice::kRootFolder ? kRoot : aFolderId.toUInt();
}

} // namespace

// One connection to the phone. A connection made before the cable was pulled stays dead: the
// phone comes back as a new device (with a new address), as a real one does.
class SimulatedConnection : public PortableDevice
{
public:
    SimulatedConnection(std::shared_ptr<SimulatedPhone> aPhone, int aGeneration)
        : mPhone(std::move(aPhone)), mGeneration(aGeneration)
    {
    }

    qint32 reopen() override
    {
        QMutexLocker locker(&mPhone->mMutex);
        ++mPhone->mOperations;
        return alive() ? MtpResult::kOk : MtpResult::kGone;
    }

    qint32 storages(QList<QMtpDeviceStorage>& aStorages) override
    {
        QMutexLocker locker(&mPhone->mMutex);
        ++mPhone->mOperations;
        aStorages.clear();
        if (!alive())
            return MtpResult::kGone;
        if (mPhone->mLocked)
            return MtpResult::kOk;
        for (const PhoneStore::Storage& storage : store().storages())
            aStorages.append(QMtpDeviceStorage(QString::number(storage.id), storage.description,
                                               static_cast<qint64>(storage.capacity),
                                               static_cast<qint64>(store().freeBytes(storage.id))));
        return MtpResult::kOk;
    }

    qint32 refreshStorage(QMtpDeviceStorage& aStorage) override
    {
        QMutexLocker locker(&mPhone->mMutex);
        ++mPhone->mOperations;
        if (!alive())
            return MtpResult::kGone;
        for (const PhoneStore::Storage& storage : store().storages()) {
            if (QString::number(storage.id) == aStorage.Id()) {
                aStorage.setSpace(static_cast<qint64>(storage.capacity),
                                  static_cast<qint64>(store().freeBytes(storage.id)));
                return MtpResult::kOk;
            }
        }
        return MtpResult::kNotFound;
    }

    static QMtpFile describe(const PhoneStore::Object& aObject, const QString& aFolderId,
                             const QString& aStorageId)
    {
        int type = QMtpFile::TypeOther;
        if (aObject.isFolder())
            type = QMtpFile::TypeFolder;
        else if (aObject.name.endsWith(QLatin1String(".m3u"), Qt::CaseInsensitive))
            type = QMtpFile::TypePlaylist;
        return QMtpFile(QString::number(aObject.handle), aFolderId, aStorageId, aObject.name,
                        aObject.data.size(), type);
    }

    qint32 listFolder(const QString& aStorageId, const QString& aFolderId, QList<QMtpFile>& aObjects) override
    {
        QMutexLocker locker(&mPhone->mMutex);
        ++mPhone->mOperations;
        ++mPhone->mListings;
        aObjects.clear();
        if (!alive())
            return MtpResult::kGone;
        const uint32_t folder = handleOf(aFolderId);
        if (folder != kRoot && (!store().objects.contains(folder) || !store().objects[folder].isFolder()))
            return MtpResult::kNotFound;
        for (const PhoneStore::Object& object : store().objects) {
            if (object.parent == folder && object.storage == SimulatedPhone::storageOf(aStorageId))
                aObjects.append(describe(object, aFolderId, aStorageId));
        }
        return MtpResult::kOk;
    }

    qint32 createFolder(const QString& aStorageId, const QString& aParentId, QString& aName,
                        QString& aNewId) override
    {
        QMutexLocker locker(&mPhone->mMutex);
        ++mPhone->mOperations;
        if (!alive())
            return MtpResult::kGone;
        const qint32 checked = checkNewName(aStorageId, handleOf(aParentId), aName);
        if (checked != MtpResult::kOk)
            return checked;
        aNewId = QString::number(store().make(SimulatedPhone::storageOf(aStorageId), handleOf(aParentId),
                                              aName, PhoneStore::kFormatAssociation));
        return MtpResult::kOk;
    }

    qint32 sendFile(const QString& aLocalPath, QMtpFile& aObject, const Progress& aProgress) override
    {
        QFile local(aLocalPath);
        if (!local.open(QIODevice::ReadOnly))
            return MtpResult::kSourceUnreadable;
        const qint64 size = local.size();
        uint32_t id = 0;
        bool failing = false;
        bool leave = false;
        qint64 failAfter = 0;
        {
            QMutexLocker locker(&mPhone->mMutex);
            ++mPhone->mOperations;
            ++mPhone->mSends;
            if (!alive())
                return MtpResult::kGone;
            const qint32 checked =
                checkNewName(aObject.storageId(), handleOf(aObject.parentId()), aObject.name());
            if (checked != MtpResult::kOk)
                return checked;
            const uint32_t storage = SimulatedPhone::storageOf(aObject.storageId());
            if (static_cast<uint64_t>(size) > store().freeBytes(storage))
                return MtpResult::kFull;
            if (mPhone->mFailingSends > 0) {
                --mPhone->mFailingSends;
                failing = true;
                leave = mPhone->mLeaveFailedObject;
                failAfter = mPhone->mFailAfterBytes;
            }
            id = store().make(storage, handleOf(aObject.parentId()), aObject.name(),
                              PhoneStore::kFormatUndefined);
        }
        // The data moves in blocks, read from the file as it goes.
        qint64 done = 0;
        while (done < size || size == 0) {
            const QByteArray block = local.read(SimulatedPhone::kBlock);
            QMutexLocker locker(&mPhone->mMutex);
            if (!alive())
                return MtpResult::kGone;
            QByteArray& data = store().objects[id].data;
            if (failing && done + block.size() >= failAfter) {
                data += block.left(failAfter - done);
                if (!leave)
                    store().objects.remove(id);
                return MtpResult::kFailed;
            }
            if (mPhone->mUnplugAfter >= 0 && block.size() >= mPhone->mUnplugAfter) {
                data += block.left(mPhone->mUnplugAfter);
                mPhone->mUnplugAfter = -1;
                mPhone->mPluggedIn = false;
                ++mPhone->mGeneration;
                return MtpResult::kGone;
            }
            if (mPhone->mUnplugAfter >= 0)
                mPhone->mUnplugAfter -= block.size();
            data += block;
            done += block.size();
            locker.unlock();
            if (mPhone->mBlockDelayMs > 0)
                QThread::msleep(static_cast<unsigned long>(mPhone->mBlockDelayMs.load()));
            if (aProgress && !aProgress(done, size)) {
                // A cancelled send leaves nothing: the layer deletes what it had begun.
                QMutexLocker again(&mPhone->mMutex);
                store().objects.remove(id);
                return MtpResult::kCancelled;
            }
            if (size == 0)
                break;
        }
        aObject.setObjectId(QString::number(id));
        aObject.setSize(size);
        return MtpResult::kOk;
    }

    qint32 readObject(const QString& aObjectId, const QString& aLocalPath) override
    {
        QByteArray data;
        {
            QMutexLocker locker(&mPhone->mMutex);
            ++mPhone->mOperations;
            if (!alive())
                return MtpResult::kGone;
            const uint32_t id = aObjectId.toUInt();
            if (!store().objects.contains(id) || store().objects[id].isFolder())
                return MtpResult::kNotFound;
            data = store().objects[id].data;
        }
        QFile local(aLocalPath);
        if (!local.open(QIODevice::WriteOnly | QIODevice::Truncate) || local.write(data) != data.size())
            return MtpResult::kFailed;
        return MtpResult::kOk;
    }

    qint32 deleteObject(const QString& aObjectId) override
    {
        QMutexLocker locker(&mPhone->mMutex);
        ++mPhone->mOperations;
        if (!alive())
            return MtpResult::kGone;
        const uint32_t id = aObjectId.toUInt();
        if (!store().objects.contains(id))
            return MtpResult::kNotFound;
        if (const qint32 failure = mPhone->mDeleteFailures.value(id))
            return failure;
        // As on Android phones, a folder goes with everything in it.
        store().remove(id);
        return MtpResult::kOk;
    }

    qint32 setReferences(const QString& aObjectId, const QStringList& aReferences) override
    {
        QMutexLocker locker(&mPhone->mMutex);
        ++mPhone->mOperations;
        if (!alive())
            return MtpResult::kGone;
        const auto object = store().objects.find(aObjectId.toUInt());
        if (object == store().objects.end())
            return MtpResult::kNotFound;
        object->references.clear();
        for (const QString& reference : aReferences)
            object->references.append(reference.toUInt());
        return MtpResult::kOk;
    }

    QString lastError() const override { return QString(); }

private:
    bool alive() const { return mPhone->mPluggedIn && mGeneration == mPhone->mGeneration; }
    PhoneStore& store() const { return mPhone->mStore; }

    // A phone's file system takes no second object of the same name (in any case) in a folder.
    qint32 checkNewName(const QString& aStorageId, uint32_t aParent, const QString& aName) const
    {
        if (aParent != kRoot && (!store().objects.contains(aParent) || !store().objects[aParent].isFolder()))
            return MtpResult::kNotFound;
        if (aName.isEmpty() || aName.contains(QLatin1Char('/')) ||
            store().childNamed(SimulatedPhone::storageOf(aStorageId), aParent, aName))
            return MtpResult::kFailed;
        return MtpResult::kOk;
    }

    std::shared_ptr<SimulatedPhone> mPhone;
    int mGeneration;
};

SimulatedPhone::SimulatedPhone(const QString& aFriendlyName, const QString& aLocation)
    : mFriendlyName(aFriendlyName), mLocation(aLocation)
{
}

QString SimulatedPhone::addStorage(const QString& aDescription, qint64 aCapacity)
{
    QMutexLocker locker(&mMutex);
    return QString::number(mStore.addStorage(aDescription, static_cast<uint64_t>(aCapacity)));
}

QString SimulatedPhone::firstStorage() const
{
    QMutexLocker locker(&mMutex);
    return mStore.storages().isEmpty() ? QString() : QString::number(mStore.storages().first().id);
}

void SimulatedPhone::installTandrel(const QString& aStorageId, bool aVltPlaylists)
{
    putFile(aStorageId, QStringLiteral("KORDA/android.xml"),
            QByteArrayLiteral("<android version=\"13\" screen_pixels=\"2000000\" "
                              "supports_playlists_from_playlists_vlt=\"") +
                (aVltPlaylists ? "true" : "false") + "\" supports_album_art_from_tracks_xml=\"true\"/>");
}

void SimulatedPhone::putFile(const QString& aStorageId, const QString& aPath, const QByteArray& aContent)
{
    QMutexLocker locker(&mMutex);
    mStore.putFile(storageOf(aStorageId), aPath, aContent);
}

void SimulatedPhone::remove(const QString& aStorageId, const QString& aPath)
{
    QMutexLocker locker(&mMutex);
    if (const PhoneStore::Object* object = mStore.find(storageOf(aStorageId), aPath))
        mStore.remove(object->handle);
}

QByteArray SimulatedPhone::file(const QString& aStorageId, const QString& aPath) const
{
    QMutexLocker locker(&mMutex);
    const PhoneStore::Object* object = mStore.find(storageOf(aStorageId), aPath);
    return object ? object->data : QByteArray();
}

bool SimulatedPhone::exists(const QString& aStorageId, const QString& aPath) const
{
    QMutexLocker locker(&mMutex);
    return mStore.find(storageOf(aStorageId), aPath) != nullptr;
}

QString SimulatedPhone::objectId(const QString& aStorageId, const QString& aPath) const
{
    QMutexLocker locker(&mMutex);
    const PhoneStore::Object* object = mStore.find(storageOf(aStorageId), aPath);
    return object ? QString::number(object->handle) : QString();
}

QStringList SimulatedPhone::files(const QString& aStorageId, const QString& aFolder) const
{
    QMutexLocker locker(&mMutex);
    return mStore.files(storageOf(aStorageId), aFolder);
}

QStringList SimulatedPhone::folders(const QString& aStorageId, const QString& aFolder) const
{
    QMutexLocker locker(&mMutex);
    return mStore.folders(storageOf(aStorageId), aFolder);
}

QStringList SimulatedPhone::references(const QString& aStorageId, const QString& aPath) const
{
    QMutexLocker locker(&mMutex);
    return mStore.referencesOf(storageOf(aStorageId), aPath);
}

void SimulatedPhone::setFreeBytes(const QString& aStorageId, qint64 aFree)
{
    QMutexLocker locker(&mMutex);
    mStore.setFree(storageOf(aStorageId), aFree);
}

void SimulatedPhone::failDeletes(const QString& aStorageId, const QString& aPath, qint32 aResult)
{
    QMutexLocker locker(&mMutex);
    if (const PhoneStore::Object* object = mStore.find(storageOf(aStorageId), aPath))
        mDeleteFailures.insert(object->handle, aResult);
}

void SimulatedPhone::failNextSends(int aCount, bool aLeaveObject, qint64 aBytes)
{
    QMutexLocker locker(&mMutex);
    mFailingSends = aCount;
    mLeaveFailedObject = aLeaveObject;
    mFailAfterBytes = aBytes;
}

void SimulatedPhone::unplugAfterBytes(qint64 aBytes)
{
    QMutexLocker locker(&mMutex);
    mUnplugAfter = aBytes;
}

void SimulatedPhone::unplug()
{
    QMutexLocker locker(&mMutex);
    mPluggedIn = false;
    ++mGeneration;
}

void SimulatedPhone::plugIn()
{
    QMutexLocker locker(&mMutex);
    mPluggedIn = true;
}

PortableDeviceRecord SimulatedPhone::record() const
{
    return {mLocation, QString(), QStringLiteral("Nexus/Pixel (MTP)"), QStringLiteral("Google Inc")};
}

std::unique_ptr<PortableDevice> SimulatedPhone::connect(qint32& aResult)
{
    ++mOpens;
    aResult = mPluggedIn ? mOpenResult.load() : MtpResult::kGone;
    if (aResult != MtpResult::kOk)
        return nullptr;
    return std::make_unique<SimulatedConnection>(shared_from_this(), mGeneration);
}

std::unique_ptr<DeviceParentMtpMac> SimulatedPhone::openParent()
{
    qint32 result = 0;
    std::unique_ptr<PortableDevice> connection = connect(result);
    if (!connection)
        return nullptr;
    QList<QMtpDeviceStorage> storages;
    connection->storages(storages);
    auto parent = std::make_unique<DeviceParentMtpMac>(std::make_unique<MtpDevice>(std::move(connection)),
                                                       record(), mFriendlyName);
    for (const QMtpDeviceStorage& storage : storages)
        parent->addChild(std::make_unique<DeviceMtpMac>(*parent, storage));
    return parent;
}

void SimulatedPhoneManager::add(const std::shared_ptr<SimulatedPhone>& aPhone)
{
    QMutexLocker locker(&mMutex);
    mPhones.append(aPhone);
}

QList<PortableDeviceRecord> SimulatedPhoneManager::enumerate()
{
    ++mEnumerations;
    QMutexLocker locker(&mMutex);
    QList<PortableDeviceRecord> records;
    for (const auto& phone : mPhones) {
        if (phone->pluggedIn())
            records.append(phone->record());
    }
    return records;
}

std::unique_ptr<PortableDevice> SimulatedPhoneManager::open(const PortableDeviceRecord& aRecord,
                                                            qint32& aResult, QString& aFriendlyName)
{
    QMutexLocker locker(&mMutex);
    for (const auto& phone : mPhones) {
        if (phone->record().id != aRecord.id)
            continue;
        std::unique_ptr<PortableDevice> connection = phone->connect(aResult);
        if (connection)
            aFriendlyName = phone->friendlyName();
        else
            mFailure = aResult == MtpResult::kBusy ? QStringLiteral("another program holds the phone")
                                                   : QStringLiteral("the phone could not be opened");
        return connection;
    }
    aResult = MtpResult::kGone;
    return nullptr;
}

QString SimulatedPhoneManager::openFailure() const
{
    QMutexLocker locker(&mMutex);
    return mFailure;
}
