#include "support/PhoneStore.h"

uint32_t PhoneStore::addStorage(const QString& aDescription, uint64_t aCapacity)
{
    const uint32_t id = 0x10001 + 0x10000 * static_cast<uint32_t>(mStorages.size());
    mStorages.append({id, aDescription, aCapacity, -1});
    return id;
}

void PhoneStore::setFree(uint32_t aStorage, int64_t aFree)
{
    for (Storage& storage : mStorages) {
        if (storage.id == aStorage)
            storage.free = aFree;
    }
}

uint64_t PhoneStore::freeBytes(uint32_t aStorage) const
{
    uint64_t used = 0;
    for (const Object& object : objects) {
        if (object.storage == aStorage)
            used += static_cast<uint64_t>(object.data.size());
    }
    for (const Storage& storage : mStorages) {
        if (storage.id == aStorage)
            return storage.free >= 0 ? static_cast<uint64_t>(storage.free)
                                     : (storage.capacity > used ? storage.capacity - used : 0);
    }
    return 0;
}

uint32_t PhoneStore::childNamed(uint32_t aStorage, uint32_t aParent, const QString& aName) const
{
    const QString folded = aName.toCaseFolded();
    for (const Object& object : objects) {
        if (object.storage == aStorage && object.parent == aParent && object.name.toCaseFolded() == folded)
            return object.handle;
    }
    return 0;
}

uint32_t PhoneStore::make(uint32_t aStorage, uint32_t aParent, const QString& aName, uint16_t aFormat)
{
    Object object;
    object.handle = mNextHandle++;
    object.storage = aStorage;
    object.parent = aParent;
    object.name = aName;
    object.format = aFormat;
    objects.insert(object.handle, object);
    return object.handle;
}

void PhoneStore::putFile(uint32_t aStorage, const QString& aPath, const QByteArray& aContent)
{
    const QStringList names = aPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    uint32_t parent = kRoot;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const bool last = i + 1 == names.size();
        uint32_t handle = childNamed(aStorage, parent, names[i]);
        if (!handle)
            handle = make(aStorage, parent, names[i], last ? kFormatUndefined : kFormatAssociation);
        if (last)
            objects[handle].data = aContent;
        parent = handle;
    }
}

const PhoneStore::Object* PhoneStore::find(uint32_t aStorage, const QString& aPath) const
{
    uint32_t handle = kRoot;
    for (const QString& name : aPath.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        handle = childNamed(aStorage, handle, name);
        if (!handle)
            return nullptr;
    }
    const auto found = objects.constFind(handle);
    return found == objects.constEnd() ? nullptr : &found.value();
}

void PhoneStore::remove(uint32_t aHandle)
{
    for (uint32_t child : children(0, aHandle))
        remove(child);
    objects.remove(aHandle);
}

QList<uint32_t> PhoneStore::children(uint32_t aStorage, uint32_t aParent) const
{
    QList<uint32_t> found;
    for (const Object& object : objects) {
        if ((aStorage == 0 || object.storage == aStorage) && object.parent == aParent)
            found.append(object.handle);
    }
    return found;
}

QString PhoneStore::pathOf(const Object& aObject) const
{
    QString path = aObject.name;
    for (uint32_t parent = aObject.parent; parent != kRoot && objects.contains(parent);) {
        path = objects[parent].name + QLatin1Char('/') + path;
        parent = objects[parent].parent;
    }
    return path;
}

QStringList PhoneStore::files(uint32_t aStorage, const QString& aFolder) const
{
    QStringList found;
    for (const Object& object : objects) {
        const QString path = pathOf(object);
        if (!object.isFolder() && object.storage == aStorage &&
            (aFolder.isEmpty() || path.startsWith(aFolder + QLatin1Char('/'))))
            found.append(path);
    }
    found.sort();
    return found;
}

QStringList PhoneStore::folders(uint32_t aStorage, const QString& aFolder) const
{
    const Object* parent = aFolder.isEmpty() ? nullptr : find(aStorage, aFolder);
    const uint32_t handle = parent ? parent->handle : (aFolder.isEmpty() ? kRoot : UINT32_MAX);
    QStringList found;
    for (const Object& object : objects) {
        if (object.isFolder() && object.storage == aStorage && object.parent == handle)
            found.append(object.name);
    }
    found.sort();
    return found;
}

QStringList PhoneStore::referencesOf(uint32_t aStorage, const QString& aPath) const
{
    QStringList paths;
    if (const Object* playlist = find(aStorage, aPath)) {
        for (uint32_t handle : playlist->references)
            paths.append(objects.contains(handle) ? pathOf(objects[handle])
                                                  : QStringLiteral("?%1").arg(handle));
    }
    return paths;
}
