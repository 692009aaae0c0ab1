#pragma once

// What an Android phone holds: storages, and a tree of objects (folders and files) with numeric
// handles, names compared as the phone's file system does (without regard to case). Paths go from
// a storage's root with "/" between names. Shared by the simulated phone behind the object
// layer's seam and by the software phone that the real libmtp talks to. Its owner serialises.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdint>

class PhoneStore
{
public:
    static constexpr uint32_t kRoot = 0; // the parent of a storage's top objects, as Android says
    static constexpr uint16_t kFormatUndefined = 0x3000;
    static constexpr uint16_t kFormatAssociation = 0x3001; // a folder

    struct Object
    {
        uint32_t handle = 0;
        uint32_t storage = 0;
        uint32_t parent = kRoot;
        uint16_t format = kFormatUndefined;
        QString name;
        QByteArray data;
        QList<uint32_t> references;
        bool isFolder() const { return format == kFormatAssociation; }
    };
    struct Storage
    {
        uint32_t id = 0;
        QString description;
        uint64_t capacity = 0;
        int64_t free = -1; // -1: the capacity less what the files take
    };

    // A storage; its identifier is returned (0x10001, 0x20001, ...).
    uint32_t addStorage(const QString& aDescription, uint64_t aCapacity);
    const QList<Storage>& storages() const { return mStorages; }
    void setFree(uint32_t aStorage, int64_t aFree);
    uint64_t freeBytes(uint32_t aStorage) const;

    uint32_t childNamed(uint32_t aStorage, uint32_t aParent, const QString& aName) const;
    // A new object under aParent; its handle.
    uint32_t make(uint32_t aStorage, uint32_t aParent, const QString& aName, uint16_t aFormat);
    // Puts a file at aPath (folders made as needed), in place of one there.
    void putFile(uint32_t aStorage, const QString& aPath, const QByteArray& aContent);
    const Object* find(uint32_t aStorage, const QString& aPath) const;
    // Deletes an object as an Android phone does: a folder with all it holds.
    void remove(uint32_t aHandle);
    // The objects directly under aParent (kRoot: a storage's top; any storage when aStorage is 0).
    QList<uint32_t> children(uint32_t aStorage, uint32_t aParent) const;
    QString pathOf(const Object& aObject) const;
    // The files (or folders) under aFolder (every one when empty), as sorted paths.
    QStringList files(uint32_t aStorage, const QString& aFolder = QString()) const;
    QStringList folders(uint32_t aStorage, const QString& aFolder) const;
    // The objects a playlist names, as paths ("?" with the handle for one that is gone).
    QStringList referencesOf(uint32_t aStorage, const QString& aPath) const;

    QMap<uint32_t, Object> objects;

private:
    QList<Storage> mStorages;
    uint32_t mNextHandle = 1;
};
