#pragma once

// An Android phone in memory, behind the MTP object layer's seam: storages (internal memory, a
// card), a folder tree with numeric object ids, names compared as the phone's file system does
// (without regard to case), and the failures real phones show: an open that fails, another
// program holding the phone, a locked screen (no storage), a send that fails and may leave part
// of an object, a full storage, a slow transfer, and a cable pulled in the middle of a send.
#include "devices/mtp/DeviceParentMtpMac.h"
#include "devices/mtp/PortableDevice.h"
#include "support/PhoneStore.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class SimulatedPhone : public std::enable_shared_from_this<SimulatedPhone>
{
public:
    explicit SimulatedPhone(const QString& aFriendlyName = QStringLiteral("Pixel 7"),
                            const QString& aLocation = QStringLiteral("usb 1:5"));

    // A storage; its identifier is returned ("65537", "131073", ...).
    QString addStorage(const QString& aDescription, qint64 aCapacity = 64LL * 1024 * 1024 * 1024);
    QString firstStorage() const;
    // The phone application's KORDA/android.xml on a storage.
    void installTandrel(const QString& aStorageId, bool aVltPlaylists = false);

    // Files by path from the storage root with "/" between names, as stored (no case folding).
    void putFile(const QString& aStorageId, const QString& aPath, const QByteArray& aContent);
    QByteArray file(const QString& aStorageId, const QString& aPath) const;
    // Deletes what is at aPath as the phone's own file manager does (a folder with its content).
    void remove(const QString& aStorageId, const QString& aPath);
    bool exists(const QString& aStorageId, const QString& aPath) const;
    // Every file (not folder) under aFolder, as paths from the storage root, sorted.
    QStringList files(const QString& aStorageId, const QString& aFolder = QString()) const;
    QStringList folders(const QString& aStorageId, const QString& aFolder) const;
    // The objects a playlist names, as paths from the storage root.
    QStringList references(const QString& aStorageId, const QString& aPath) const;
    QString objectId(const QString& aStorageId, const QString& aPath) const;

    // Failures, as scripts for what comes next.
    void setOpenResult(qint32 aResult) { mOpenResult = aResult; }
    void setLocked(bool aLocked) { mLocked = aLocked; }
    // The next aCount sends fail after aBytes bytes; with aLeaveObject what arrived stays (as
    // some phones do), else the phone removes it.
    void failNextSends(int aCount, bool aLeaveObject, qint64 aBytes = 0);
    // Deleting the object at aPath fails with aResult (0: succeeds again), the object staying.
    void failDeletes(const QString& aStorageId, const QString& aPath, qint32 aResult);
    // Every 64 KB block of a send takes this long.
    void setBlockDelay(int aMilliseconds) { mBlockDelayMs = aMilliseconds; }
    // The cable is pulled once a send has moved aBytes bytes (of all sends from now on).
    void unplugAfterBytes(qint64 aBytes);
    void unplug();
    void plugIn();
    bool pluggedIn() const { return mPluggedIn; }
    void setFreeBytes(const QString& aStorageId, qint64 aFree);

    // What the phone has been asked.
    int opens() const { return mOpens; }
    int operations() const { return mOperations; }
    int listings() const { return mListings; }
    int sends() const { return mSends; }
    qint64 blocksAfterCancel() const { return mBlocksAfterCancel; }

    const QString& friendlyName() const { return mFriendlyName; }
    PortableDeviceRecord record() const;
    // A connection, as a manager's open gives it: null with the result when opening fails.
    std::unique_ptr<PortableDevice> connect(qint32& aResult);
    // The phone opened and made into a parent with one DeviceMtpMac per storage, as the
    // refresher does.
    std::unique_ptr<DeviceParentMtpMac> openParent();

    static constexpr qint64 kBlock = 64 * 1024;

private:
    friend class SimulatedConnection;
    static uint32_t storageOf(const QString& aStorageId) { return aStorageId.toUInt(); }

    mutable QMutex mMutex;
    QString mFriendlyName;
    QString mLocation;
    PhoneStore mStore;
    std::atomic<qint32> mOpenResult{0};
    std::atomic<bool> mLocked{false};
    std::atomic<bool> mPluggedIn{true};
    std::atomic<int> mGeneration{0};
    int mFailingSends = 0;
    QHash<quint32, qint32> mDeleteFailures; // object id -> result
    bool mLeaveFailedObject = false;
    qint64 mFailAfterBytes = 0;
    std::atomic<int> mBlockDelayMs{0};
    qint64 mUnplugAfter = -1;
    std::atomic<int> mOpens{0};
    std::atomic<int> mOperations{0};
    std::atomic<int> mListings{0};
    std::atomic<int> mSends{0};
    std::atomic<qint64> mBlocksAfterCancel{0};
};

// The phones plugged into the computer, for a refresher: enumerates those plugged in.
class SimulatedPhoneManager : public PortableDeviceManager
{
public:
    void add(const std::shared_ptr<SimulatedPhone>& aPhone);
    QList<PortableDeviceRecord> enumerate() override;
    std::unique_ptr<PortableDevice> open(const PortableDeviceRecord& aRecord, qint32& aResult,
                                         QString& aFriendlyName) override;
    QString openFailure() const override;
    int enumerations() const { return mEnumerations; }

private:
    mutable QMutex mMutex;
    QList<std::shared_ptr<SimulatedPhone>> mPhones;
    QString mFailure;
    std::atomic<int> mEnumerations{0};
};
