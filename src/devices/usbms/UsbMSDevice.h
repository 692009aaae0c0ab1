#pragma once

#include "devices/Device.h"
#include "devices/usbms/DriveCopyBatch.h"
#include "devices/usbms/DriveFiles.h"
#include "devices/usbms/DriveProber.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <memory>

class QFile;
class QXmlStreamWriter;

// A phone or player seen as a removable USB drive. Keeps on the drive: KORDA\ (which marks it as
// a target) with its identity, the phone's android.xml, one metadata<N>.xml per run, the art
// refresh hint and the playlist hint; the tracks under Music\<artist>\<album>\; playlists in
// Playlists_VLT\. Every file is reached through DriveFiles: no link on the drive is followed and
// nothing is written once the drive is gone. Lives from one device-list refresh to the next.
// Codes: -5005 the track's file is not here, -6005 a copy failed, -6006 a deletion failed, -6008
// a folder could not be made, -6009 the drive was removed, -6010 the drive is full.
class UsbMSDevice : public Device
{
public:
    static constexpr int kCopyFailed = -6005;
    static constexpr int kDeleteFailed = -6006;
    static constexpr int kFolderFailed = -6008;

    UsbMSDevice(const QString& aRoot, const QString& aFriendlyName, bool aMounted,
                std::shared_ptr<DriveProber> aProber);
    ~UsbMSDevice() override;

    int CopyFile(const QString& aSourcePath, const QString& aDestinationPath, bool aReplace) override;
    bool Disabled() override;
    QString describeFailure(int aCode) const override;
    int GetDeviceType() override { return DeviceTypeUsbMassStorage; }
    void PrepareForSync() override;
    void FinalizeSync() override;
    bool IsMounted() override;
    int UploadTrack(Track& aTrack) override;
    int DeleteTrack(TrackCache& aCache, Track& aTrack) override;
    const QString& UniqueDeviceId() override;
    const QString& FriendlyName() override;
    int GetStorageCapacity(qint64& aBytes) override;
    int GetFreeStorageSpace(qint64& aBytes) override;
    void SetConfigured() override;
    bool IsConfigured() override;
    using Device::createPlaylist;
    int createPlaylist(const LocalPlaylist& aPlaylist, const TrackList& aTracks, bool aForce) override;
    void removeOldPlaylists() override;
    void uploadAlbumArt(const Track& aTrack, const QString& aImagePath) override;
    bool trackIsOnDevice(const Track& aTrack) override;
    void forgetListings();
    // The folder listings are let go.
    void trackChecksDone() override { forgetListings(); }
    QString unusableReason() override;

    const QString& root() const { return mDrive.root(); }
    // The file name a playlist is stored under in Playlists_VLT.
    static QString playlistFileName(const QString& aPlaylistName);

private:
    void ReadOrGenerateUniqueDeviceId();
    void readAndroidInfo();
    void openMetadataFile();
    void writeMetadataEntry(const Track& aTrack);
    void appendLine(const QString& aKordaFile, const QByteArray& aLine);
    // Names every copy made since the last time; false (and the drive's failure noted) when it
    // could not.
    bool commitCopies();
    // The file name of a playlist in this run, numbered when another playlist holds it.
    QString freePlaylistFileName(const QString& aPlaylistName);
    // The result code for the drive's last failure.
    int failureCode(int aDefault) const;
    // A track's folder on the drive as a device path ending in a backslash: \Music\<artist>\<album>\.
    static QString trackFolder(const Track& aTrack);
    // A device path as names on the drive (relative to KORDA\ when it doesn't start with "\");
    // false when it would leave the drive.
    static bool namesOf(const QString& aDevicePath, QStringList& aNames);

    QString mFriendlyName;
    QString mUniqueDeviceId = kTemporaryDeviceId;
    bool mIdentityDamaged = false;
    DriveFiles mDrive;
    DriveCopyBatch mCopies{mDrive}; // the run's track copies, named in batches
    QHash<QString, bool> mPlaylistsThisRun;
    QHash<QString, QString> mPlaylistOwners; // folded file name -> playlist name, this run
    // Folder device path -> its file names, while checking: the last few hundred folders listed
    // (an album's tracks follow each other in the cache; all of a drive's names would take 15 MB).
    QHash<QString, FolderListing> mListings;
    // The folder of the last track checked and its listing in mListings (an album's tracks follow
    // each other): the next track of the folder needs no look-up. Null after forgetListings().
    QString mLastFolder;
    const FolderListing* mLastListing = nullptr;
    bool mIdRead = false;
    bool mDeletedBefore = false;
    bool mMetadataTried = false;
    std::shared_ptr<DriveProber> mProber;
    std::unique_ptr<QFile> mMetadataFile;
    std::unique_ptr<QXmlStreamWriter> mMetadataWriter;
};
