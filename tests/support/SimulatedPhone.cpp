#include "support/SimulatedPhone.h"

#include "devices/mtp/DeviceMtpMac.h"
#include "devices/mtp/MtpDevice.h"
#include "devices/mtp/MtpResult.h"

#include <QFile>
#include <QThread>

#include <algorithm>

namespace {

constexpr quint32 kRoot = 0xFFFFFFFFu;

quint32 handleOf(const QString& aFolderId)
{
    return aFolderId == MtpDevice::kRootFolder ? kRoot : aFolderId.toUInt();
}

QString folded(const QString& aName)
{
    return aName.toCaseFolded();
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
        for (const SimulatedPhone::Storage& storage : mPhone->mStorages)
            aStorages.append(QMtpDeviceStorage(storage.id, storage.description, storage.capacity,
                                               mPhone->freeBytes(storage.id)));
        return MtpResult::kOk;
    }

    qint32 refreshStorage(QMtpDeviceStorage& aStorage) override
    {
        QMutexLocker locker(&mPhone->mMutex);
        ++mPhone->mOperations;
        if (!alive())
            return MtpResult::kGone;
        for (const SimulatedPhone::Storage& storage : mPhone->mStorages) {
            if (storage.id == aStorage.Id()) {
                aStorage.setSpace(storage.capacity, mPhone->freeBytes(storage.id));
                return MtpResult::kOk;
            }
        }
        return MtpResult::kNotFound;
    }

    qint32 listFolder(const QString& aStorageId, const QString& aFolderId, QList<QMtpFile>& aObjects) override
    {
        QMutexLocker locker(&mPhone->mMutex);
        ++mPhone->mOperations;
        ++mPhone->mListings;
        aObjects.clear();
        if (!alive())
            return MtpResult::kGone;
        const quint32 folder = handleOf(aFolderId);
        if (folder != kRoot && (!mPhone->mObjects.contains(folder) || !mPhone->mObjects[folder].folder))
            return MtpResult::kNotFound;
        for (const SimulatedPhone::Object& object : mPhone->mObjects) {
            if (object.parent != folder || object.storage != aStorageId)
                continue;
            int type = QMtpFile::TypeOther;
            if (object.folder)
                type = QMtpFile::TypeFolder;
            else if (object.name.endsWith(QLatin1String(".m3u"), Qt::CaseInsensitive))
                type = QMtpFile::TypePlaylist;
            aObjects.append(QMtpFile(QString::number(object.id), aFolderId, aStorageId, object.name,
                                     object.data.size(), type));
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
        aNewId = QString::number(mPhone->make(aStorageId, handleOf(aParentId), aName, true));
        return MtpResult::kOk;
    }

    qint32 sendFile(const QString& aLocalPath, QMtpFile& aObject, const Progress& aProgress) override
    {
        QFile local(aLocalPath);
        if (!local.open(QIODevice::ReadOnly))
            return MtpResult::kSourceUnreadable;
        const qint64 size = local.size();
        quint32 id = 0;
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
            if (size > mPhone->freeBytes(aObject.storageId()))
                return MtpResult::kFull;
            if (mPhone->mFailingSends > 0) {
                --mPhone->mFailingSends;
                failing = true;
                leave = mPhone->mLeaveFailedObject;
                failAfter = mPhone->mFailAfterBytes;
            }
            id = mPhone->make(aObject.storageId(), handleOf(aObject.parentId()), aObject.name(), false);
        }
        // The data moves in blocks, read from the file as it goes.
        qint64 done = 0;
        while (done < size || size == 0) {
            const QByteArray block = local.read(SimulatedPhone::kBlock);
            QMutexLocker locker(&mPhone->mMutex);
            if (!alive())
                return MtpResult::kGone;
            QByteArray& data = mPhone->mObjects[id].data;
            if (failing && done + block.size() >= failAfter) {
                data += block.left(failAfter - done);
                if (!leave)
                    mPhone->mObjects.remove(id);
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
                mPhone->mObjects.remove(id);
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
            const quint32 id = aObjectId.toUInt();
            if (!mPhone->mObjects.contains(id) || mPhone->mObjects[id].folder)
                return MtpResult::kNotFound;
            data = mPhone->mObjects[id].data;
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
        const quint32 id = aObjectId.toUInt();
        if (!mPhone->mObjects.contains(id))
            return MtpResult::kNotFound;
        if (const qint32 failure = mPhone->mDeleteFailures.value(id))
            return failure;
        // As on phones reached through libmtp, a folder with content is not deleted.
        for (const SimulatedPhone::Object& object : mPhone->mObjects) {
            if (object.parent == id)
                return MtpResult::kFailed;
        }
        mPhone->mObjects.remove(id);
        return MtpResult::kOk;
    }

    qint32 setReferences(const QString& aObjectId, const QStringList& aReferences) override
    {
        QMutexLocker locker(&mPhone->mMutex);
        ++mPhone->mOperations;
        if (!alive())
            return MtpResult::kGone;
        const auto object = mPhone->mObjects.find(aObjectId.toUInt());
        if (object == mPhone->mObjects.end())
            return MtpResult::kNotFound;
        object->references.clear();
        for (const QString& reference : aReferences)
            object->references.append(reference.toUInt());
        return MtpResult::kOk;
    }

    QString lastError() const override { return QString(); }

private:
    bool alive() const { return mPhone->mPluggedIn && mGeneration == mPhone->mGeneration; }

    // A phone's file system takes no second object of the same name (in any case) in a folder.
    qint32 checkNewName(const QString& aStorageId, quint32 aParent, const QString& aName) const
    {
        if (aParent != kRoot && (!mPhone->mObjects.contains(aParent) || !mPhone->mObjects[aParent].folder))
            return MtpResult::kNotFound;
        if (aName.isEmpty() || aName.contains(QLatin1Char('/')) ||
            mPhone->findChild(aStorageId, aParent, aName))
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
    const QString id = QString::number(0x10001 + 0x10000 * mStorages.size());
    mStorages.append({id, aDescription, aCapacity, -1});
    return id;
}

QString SimulatedPhone::firstStorage() const
{
    QMutexLocker locker(&mMutex);
    return mStorages.isEmpty() ? QString() : mStorages.first().id;
}

void SimulatedPhone::installTandrel(const QString& aStorageId, bool aVltPlaylists)
{
    putFile(aStorageId, QStringLiteral("KORDA/android.xml"),
            QByteArrayLiteral("<android version=\"13\" screen_pixels=\"2000000\" "
                              "supports_playlists_from_playlists_vlt=\"") +
                (aVltPlaylists ? "true" : "false") + "\" supports_album_art_from_tracks_xml=\"true\"/>");
}

quint32 SimulatedPhone::findChild(const QString& aStorageId, quint32 aParent, const QString& aName) const
{
    for (const Object& object : mObjects) {
        if (object.parent == aParent && object.storage == aStorageId && folded(object.name) == folded(aName))
            return object.id;
    }
    return 0;
}

quint32 SimulatedPhone::make(const QString& aStorageId, quint32 aParent, const QString& aName, bool aFolder)
{
    Object object;
    object.id = mNextId++;
    object.parent = aParent;
    object.storage = aStorageId;
    object.name = aName;
    object.folder = aFolder;
    mObjects.insert(object.id, object);
    return object.id;
}

void SimulatedPhone::putFile(const QString& aStorageId, const QString& aPath, const QByteArray& aContent)
{
    QMutexLocker locker(&mMutex);
    const QStringList names = aPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    quint32 parent = kRoot;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const bool last = i + 1 == names.size();
        quint32 id = findChild(aStorageId, parent, names[i]);
        if (!id)
            id = make(aStorageId, parent, names[i], !last);
        if (last)
            mObjects[id].data = aContent;
        parent = id;
    }
}

const SimulatedPhone::Object* SimulatedPhone::find(const QString& aStorageId, const QString& aPath) const
{
    quint32 id = kRoot;
    for (const QString& name : aPath.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        id = findChild(aStorageId, id, name);
        if (!id)
            return nullptr;
    }
    const auto object = mObjects.constFind(id);
    return object == mObjects.constEnd() ? nullptr : &object.value();
}

QByteArray SimulatedPhone::file(const QString& aStorageId, const QString& aPath) const
{
    QMutexLocker locker(&mMutex);
    const Object* object = find(aStorageId, aPath);
    return object ? object->data : QByteArray();
}

bool SimulatedPhone::exists(const QString& aStorageId, const QString& aPath) const
{
    QMutexLocker locker(&mMutex);
    return find(aStorageId, aPath) != nullptr;
}

QString SimulatedPhone::objectId(const QString& aStorageId, const QString& aPath) const
{
    QMutexLocker locker(&mMutex);
    const Object* object = find(aStorageId, aPath);
    return object ? QString::number(object->id) : QString();
}

QString SimulatedPhone::pathOf(const Object& aObject) const
{
    QString path = aObject.name;
    for (quint32 parent = aObject.parent; parent != kRoot;) {
        const Object& folder = mObjects[parent];
        path = folder.name + QLatin1Char('/') + path;
        parent = folder.parent;
    }
    return path;
}

QStringList SimulatedPhone::files(const QString& aStorageId, const QString& aFolder) const
{
    QMutexLocker locker(&mMutex);
    QStringList found;
    for (const Object& object : mObjects) {
        if (object.folder || object.storage != aStorageId)
            continue;
        const QString path = pathOf(object);
        if (aFolder.isEmpty() || path.startsWith(aFolder + QLatin1Char('/')))
            found.append(path);
    }
    found.sort();
    return found;
}

QStringList SimulatedPhone::folders(const QString& aStorageId, const QString& aFolder) const
{
    QMutexLocker locker(&mMutex);
    const quint32 parent =
        aFolder.isEmpty() ? kRoot : (find(aStorageId, aFolder) ? find(aStorageId, aFolder)->id : 0);
    QStringList found;
    for (const Object& object : mObjects) {
        if (object.folder && object.storage == aStorageId && object.parent == parent)
            found.append(object.name);
    }
    found.sort();
    return found;
}

QStringList SimulatedPhone::references(const QString& aStorageId, const QString& aPath) const
{
    QMutexLocker locker(&mMutex);
    QStringList paths;
    if (const Object* playlist = find(aStorageId, aPath)) {
        for (quint32 id : playlist->references)
            paths.append(mObjects.contains(id) ? pathOf(mObjects[id]) : QStringLiteral("?%1").arg(id));
    }
    return paths;
}

qint64 SimulatedPhone::freeBytes(const QString& aStorageId) const
{
    for (const Storage& storage : mStorages) {
        if (storage.id != aStorageId)
            continue;
        if (storage.free >= 0)
            return storage.free;
        qint64 used = 0;
        for (const Object& object : mObjects) {
            if (object.storage == aStorageId)
                used += object.data.size();
        }
        return storage.capacity - used;
    }
    return 0;
}

void SimulatedPhone::setFreeBytes(const QString& aStorageId, qint64 aFree)
{
    QMutexLocker locker(&mMutex);
    for (Storage& storage : mStorages) {
        if (storage.id == aStorageId)
            storage.free = aFree;
    }
}

void SimulatedPhone::failDeletes(const QString& aStorageId, const QString& aPath, qint32 aResult)
{
    QMutexLocker locker(&mMutex);
    if (const Object* object = find(aStorageId, aPath))
        mDeleteFailures.insert(object->id, aResult);
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
