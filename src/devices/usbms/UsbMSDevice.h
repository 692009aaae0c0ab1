#pragma once

#include "devices/Device.h"
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
// Playlists_VLT\. Lives from one device-list refresh to the next. Codes: -6005 a copy failed,
// -6006 a deletion failed, -6008 a folder could not be made.
class UsbMSDevice : public Device
{
public:
    static constexpr int kCopyFailed = -6005;
    static constexpr int kDeleteFailed = -6006;
    static constexpr int kFolderFailed = -6008;

    UsbMSDevice(const QString& aRoot, const QString& aFriendlyName, bool aMounted,
                std::shared_ptr<DriveProber> aProber);
    ~UsbMSDevice() override;

    void CopyFile(const QString& aSourcePath, const QString& aDestinationPath, bool aReplace) override;
    bool Disabled() override;
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

    const QString& root() const { return mRoot; }
    // The local path of a device path on this drive; empty when it would leave the drive.
    QString localPathOf(const QString& aDevicePath) const;
    // The file name a playlist is stored under in Playlists_VLT.
    static QString playlistFileName(const QString& aPlaylistName);

private:
    void ReadOrGenerateUniqueDeviceId();
    void readAndroidInfo();
    void openMetadataFile();
    void writeMetadataEntry(const Track& aTrack);
    void appendLine(const QString& aKordaFile, const QByteArray& aLine);
    // The file at aPath holds exactly aContent.
    static bool hasContent(const QString& aPath, const QByteArray& aContent);
    static bool writeWholeFile(const QString& aPath, const QByteArray& aContent);
    // A track's folder on the drive as a device path ending in a backslash: \Music\<artist>\<album>\.
    static QString trackFolder(const Track& aTrack);
    // Makes a folder with its parents, once per run.
    bool makeFolder(const QString& aFolder);

    QString mFriendlyName;
    QString mUniqueDeviceId = kTemporaryDeviceId;
    QString mRoot;
    QHash<QString, bool> mPlaylistsThisRun;
    bool mIdRead = false;
    bool mDeletedBefore = false;
    bool mMetadataTried = false;
    QSet<QString> mFoldersMade;
    std::shared_ptr<DriveProber> mProber;
    std::unique_ptr<QFile> mMetadataFile;
    std::unique_ptr<QXmlStreamWriter> mMetadataWriter;
};
