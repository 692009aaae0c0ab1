#pragma once

#include "devices/AndroidInfo.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class DevicePaths;
class LocalPlaylist;
class Track;
class TrackCache;
class TrackList;

// One storage that can be synchronised: a USB drive, or one storage of an MTP phone. The sync
// engine works only through this interface, in this order within a run: PrepareForSync, then
// uploads, deletions, album art, playlists and file copies, then FinalizeSync. Device paths are
// backslash-separated and relative to the storage root (\Music\Artist\Album\file.mp3); they are
// stored in the track cache and read by the phone application. A device is used by one thread
// at a time. Results: 0 on success, else the error codes of the device kind.
class Device
{
public:
    static constexpr int DeviceTypeMtp = 1;
    static constexpr int DeviceTypeUsbMassStorage = 2;
    static const QString kTemporaryDeviceId;         // "TEMP-DEVICE-ID": no identity file yet
    static constexpr int kSourceFileMissing = -5005; // the track's file is not on this computer
    static constexpr int kDeviceGone = -6009;        // the device was removed during the run
    static constexpr int kDeviceFull = -6010;        // no space left on the device
    // The longest identity file read: identities are a few characters.
    static constexpr qint64 kMaxIdentityBytes = 256;
    // The largest android.xml parsed: the phone application writes one element.
    static constexpr qint64 kMaxAndroidInfoBytes = 64 * 1024;

    virtual ~Device() = default;

    // Copies a file of the computer to aDestinationPath on the device. Without aReplace a file
    // already there is kept (kCopyKeptExisting). 0 when copied; else the device kind's failure
    // code (kDeviceGone, kDeviceFull, kSourceFileMissing, its copy failure).
    static constexpr int kCopyKeptExisting = 1;
    virtual int CopyFile(const QString& aSourcePath, const QString& aDestinationPath, bool aReplace) = 0;
    virtual bool Disabled();
    virtual int GetDeviceType() = 0;
    virtual void PrepareForSync() = 0;
    virtual void FinalizeSync() = 0;
    // Why the last FinalizeSync could not mark the run complete on the device; empty when it did.
    virtual QString finalizeFailure() const { return QString(); }
    virtual bool IsMounted() = 0;
    virtual int UploadTrack(Track& aTrack) = 0;
    virtual int DeleteTrack(TrackCache& aCache, Track& aTrack) = 0;
    virtual const QString& UniqueDeviceId() = 0;
    virtual const QString& FriendlyName() = 0;
    virtual int GetStorageCapacity(qint64& aBytes) = 0;
    virtual int GetFreeStorageSpace(qint64& aBytes) = 0;
    // Gives the device an identity when it has none, so that it can be configured; its identity
    // stays the temporary one when that can't be done (identityProblem says why).
    virtual void SetConfigured() = 0;
    // Why the device has no identity it can be configured under; empty when it has one or
    // simply none yet.
    virtual QString identityProblem() const { return QString(); }
    virtual bool IsConfigured();
    // Writes a playlist to a local file, with "..\" paths (the form read back from a phone).
    virtual int createPlaylist(const LocalPlaylist& aPlaylist, const TrackList& aTracks,
                               const QString& aLocalFilePath, bool aIncludeName);
    // The bytes of a playlist file: "#EXTM3U", the optional "#NAME:" line, then per track on the
    // device its "#EXTINF:" line and aPathPrefix + its device path; CR LF after every line. A
    // track with no device path (not copied) has no lines.
    static QByteArray playlistContent(const LocalPlaylist& aPlaylist, const TrackList& aTracks,
                                      const QByteArray& aPathPrefix, bool aIncludeName);
    virtual int createPlaylist(const LocalPlaylist& aPlaylist, const TrackList& aTracks, bool aForce) = 0;
    virtual void removeOldPlaylists() = 0;
    virtual void uploadAlbumArt(const Track& aTrack, const QString& aImagePath) = 0;

    // Whether the copy a track's cache record names is really there, whole: a run killed
    // between a deletion and its record, or a drive pulled before its last copies were named,
    // leaves records that the next run must not trust. Asked once per recorded track and run.
    virtual bool trackIsOnDevice(const Track& aTrack);
    // Every recorded track has been asked about: what was kept to answer can go.
    virtual void trackChecksDone() {}
    // Why the device can't go on with the run (it was removed), in words for the user; empty
    // while it can. A run stops when this is set.
    virtual QString unusableReason() { return QString(); }
    // What a failure code of this device's operations means, in words for the user ("the device
    // is full"). Each device kind describes its own codes; these describe the shared ones.
    virtual QString describeFailure(int aCode) const;

    static QStringList splitDevicePath(const QString& aPath);
    static void trackFolderNames(const Track& aTrack, QString& aArtistFolder, QString& aAlbumFolder);
    bool identicalPlaylistAlreadyExists(const QString& aPlaylistPath, const LocalPlaylist& aPlaylist,
                                        const TrackList& aTracks);
    static QString deviceDataPath(const QString& aPath);

    // The device paths of the run's tracks, set by the engine for a run (null outside one): a
    // device stores a track under a path no other track holds.
    void setDevicePaths(const DevicePaths* aPaths) { mDevicePaths = aPaths; }
    // A full resynchronisation: a copy already on the device is kept only when its content is
    // the file's, not merely its size.
    void setFullResync(bool aFullResync)
    {
        mFullResync = aFullResync;
        mKeptCopies = 0;
    }
    // Tracks UploadTrack found on the device already (the same size at their path, and the same
    // content on a full resynchronisation where the device can compare it) and kept instead of
    // copying them again, since setFullResync (which every run calls first).
    int keptCopies() const { return mKeptCopies; }

    // The line of this device's entry in the settings file: the device configured last stands lowest.
    int configuredOrder();
    void parseAndroidInfo(const QByteArray& aContent);
    const AndroidInfo& androidInfo() const { return mAndroidInfo; }
    void setDisabled(bool aDisabled) { mDisabled = aDisabled; }

    // Replaces each character a folder name can't hold on the phone's or the drive's file system
    // (and full stops, when asked) by an underscore, then trims white space.
    static void sanitiseFileName(QString& aName, bool aReplaceDots);
    // A file name for the drive: kept as it is when every character is storable, else sanitised.
    static QString safeFileName(const QString& aName);
    // The identity a device configured at aTime gets: "zsmhdM" + "Y", each part a number without
    // leading zeros (12:03:07.045 on 9 January gives "45731291Y").
    static QString uniqueDeviceIdAt(const QDateTime& aTime);
    // An identity a device may carry: printable, without markup, at most 256 bytes.
    static bool isValidIdentity(const QByteArray& aIdentity);

    // Told how much of the file being copied has gone while a copy runs; false stops the copy
    // (the file is then not on the device). Set by the engine for a run.
    using TransferProgress = std::function<bool(qint64 aDone, qint64 aTotal)>;
    void setTransferProgress(TransferProgress aProgress) { mTransferProgress = std::move(aProgress); }
    // Reports a copy's progress; false when the run wants the copy stopped.
    bool transferProgress(qint64 aDone, qint64 aTotal) const
    {
        return !mTransferProgress || mTransferProgress(aDone, aTotal);
    }

protected:
    // A new identity: the local time as "zsmhdMY" (no separators), ending in Y.
    static QString newUniqueDeviceId();
    // aDevicePath, or a numbered variant of it when another track of the run holds it.
    QString freeDevicePath(const QString& aDevicePath, const Track& aTrack) const;

    bool mDisabled = false;
    AndroidInfo mAndroidInfo;
    const DevicePaths* mDevicePaths = nullptr;
    bool mFullResync = false;
    int mKeptCopies = 0;
    TransferProgress mTransferProgress;
};
