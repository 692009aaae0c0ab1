#pragma once

#include "devices/Device.h"
#include "devices/mtp/QMtpDeviceStorage.h"
#include "devices/mtp/QMtpFile.h"

#include <QHash>
#include <QString>

class DeviceParentMtpMac;
class MtpDevice;

// One storage of a phone connected over MTP (internal memory, a card). Keeps on the storage:
// KORDA\uniqueid, KORDA\android.xml (the phone application's), KORDA\synccomplete after a
// finished run, the tracks under Music\<artist>\<album>\ with folder.jpg as album art, and the
// playlists in Playlists_VLT\. Paths resolve to objects through the parent's folder cache, each
// name compared without regard to case or Unicode composition. Codes: -5005 the track's file is
// not here, 11005 a copy failed, -6009 the phone was disconnected, -6010 the storage is full;
// other failures are the object layer's results (MtpResult).
class DeviceMtpMac : public Device
{
public:
    static constexpr int kCopyFailed = 11005;

    DeviceMtpMac(DeviceParentMtpMac& aParent, const QMtpDeviceStorage& aStorage);
    ~DeviceMtpMac() override;

    int CopyFile(const QString& aSourcePath, const QString& aDestinationPath, bool aReplace) override;
    int GetDeviceType() override { return DeviceTypeMtp; }
    void PrepareForSync() override;
    void FinalizeSync() override;
    QString finalizeFailure() const override { return mFinalizeFailure; }
    QString identityProblem() const override { return mIdentityProblem; }
    bool IsMounted() override { return true; }
    int UploadTrack(Track& aTrack) override;
    int DeleteTrack(TrackCache& aCache, Track& aTrack) override;
    const QString& UniqueDeviceId() override { return mUniqueDeviceId; }
    const QString& FriendlyName() override { return mFriendlyName; }
    int GetStorageCapacity(qint64& aBytes) override;
    int GetFreeStorageSpace(qint64& aBytes) override;
    void SetConfigured() override;
    bool IsConfigured() override;
    using Device::createPlaylist;
    int createPlaylist(const LocalPlaylist& aPlaylist, const TrackList& aTracks, bool aForce) override;
    void removeOldPlaylists() override;
    void uploadAlbumArt(const Track& aTrack, const QString& aImagePath) override;
    bool trackIsOnDevice(const Track& aTrack) override;
    QString unusableReason() override;
    QString describeFailure(int aCode) const override;

    // Path resolution; every one returns 0 or the object layer's code. "4294967295" is the root.
    // A lookup matches only the kind it asks for: a folder (with aCreate made when missing) or a
    // file; kNotFound when there is none of that kind, even with an object of the other kind
    // under that name.
    int GetOrCreateFromNameAndParent(const QString& aParentId, const QString& aName, bool aFolderWanted,
                                     bool aCreate, QString& aObjectId);
    // A path made (aCreate: folders all the way) or looked up (its last name a file).
    int GetOrCreateFromPath(const QString& aPath, QString& aObjectId, bool aCreate);
    int FindOrCreateDirectories(const QString& aArtistFolder, const QString& aAlbumFolder,
                                QString& aFolderId);
    int GetIdFromTrack(const Track& aTrack, QString& aObjectId);
    // As GetOrCreateFromPath, with the object's whole description.
    int findObject(const QString& aPath, bool aCreate, QMtpFile& aObject);

    // What MtpFile needs: the storage, the opened phone, and a send that reports its progress
    // to the run (and stops when the run is cancelled).
    const QString& storageId() const { return mStorage.Id(); }
    const QMtpDeviceStorage& storage() const { return mStorage; }
    MtpDevice& handle();
    qint32 sendFile(const QString& aLocalPath, QMtpFile& aObject);

    // The name a track's file has on the phone: its local file's name with the characters a
    // phone can't take replaced, never hidden, at most 255 bytes, and ending in .mp3 when the
    // track is converted.
    static QString trackFileName(const Track& aTrack);
    // The file name of a playlist in Playlists_VLT.
    QString playlistFileName(const QString& aPlaylistName) const;

private:
    void CacheAndroidVersion();
    void ReadOrGenerateUniqueDeviceId();
    // A send in progress is noted in a journal on this computer first: a phone disconnected
    // during the send keeps a partial object under the track's name, which the next run deletes.
    void noteSending(const QString& aDevicePath);
    void removeInterruptedSend();
    QString journalPath() const;
    // The one place object layer results become this device's: a lost phone, a full storage and
    // an unreadable local file are the codes all devices share; other results stay as they are.
    static int deviceResult(qint32 aResult);
    // The result of a copy that failed with the object layer's aResult (kCopyFailed when the
    // result says nothing more).
    static int copyFailure(qint32 aResult);

    DeviceParentMtpMac& mParent;
    QMtpDeviceStorage mStorage;
    QString mFriendlyName;
    QString mUniqueDeviceId = kTemporaryDeviceId;
    QString mFinalizeFailure;
    QString mIdentityProblem; // why the phone has no usable identity, when it has a file
    bool mIdentityAbsent = false;
    QHash<QString, bool> mPlaylistsThisRun;  // folded file name -> force flag, this run
    QHash<QString, QString> mPlaylistOwners; // folded file name -> playlist name, this run
};
