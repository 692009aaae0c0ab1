#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class Device;
class MusicSync;
class RunFolder;
class SyncSettings;
struct PhotoToCopy;

// The data of another phone, carried to this device once per configuration: contacts, messages,
// calendar and notes as the XML files the phone application imports (into KORDA on the device),
// and photos under DCIM. The source is the device's "backup-path": an iTunes backup of an
// iPhone, or a BlackBerry backup (an IPD file or a .bbb archive, with photo folders of the
// computer). Each kind's copy option is switched off once that kind has arrived whole; a kind
// that did not (a database the backup lacks or can't be read, photos not restored or converted,
// a copy that failed) keeps its option, is named in failures(), and is tried again by the next
// run. A kind whose failure a retry can't mend (an encrypted backup, a damaged database, no
// ffmpeg for the videos) is said once with what the user can do, and then not tried again, nor
// its files extracted, until the backup, Veltrane or the choice of kinds changes. Runs on the
// run's thread, in a working folder of its own.
class DataTransfer
{
public:
    DataTransfer(MusicSync& aSync, Device& aDevice, SyncSettings& aSettings, const QString& aDeviceId);

    void run();

    // The backup could not be unpacked (encrypted, or not a backup): nothing was carried.
    bool extractionFailed() const { return mExtractionFailed; }
    // What could not be carried, in words for the user.
    const QStringList& failures() const { return mFailures; }

    // The kinds, in the order of the settings' switches: messages, contacts, calendar, notes,
    // photos.
    static constexpr int kPhotos = 4;

private:
    void runITunes(const QString& aBackupPath, RunFolder& aFolder);
    void runBlackBerry(const QString& aBackupPath, const QString& aExtracted);
    bool copyPhotos(const QList<PhotoToCopy>& aPhotos, RunFolder& aFolder);
    // Copies a folder of the computer below aDestination; false when a file was not copied.
    bool copyPhotoFolder(const QString& aSource, const QString& aDestination, int aDepth);
    // CopyFile with the failure noted; true when the file is on the device.
    bool copyToDevice(const QString& aSource, const QString& aDestination, bool aReplace,
                      const QString& aWhat);
    bool stopped();

    // A kind that did not arrive: named (unless !aSay), its switch kept. aLasting: a retry can't
    // mend it until the backup, Veltrane or the choice changes (aReason says what the user can
    // do); it is said now and not tried again, quietly, until then.
    void failKind(int aKind, const QString& aReason, bool aLasting, bool aSay = true);
    // The kinds switched on, less those waiting for a change (named among the failures).
    bool wanted(int aKind) const { return mWanted.contains(aKind); }
    void chooseKinds(const QString& aBackupPath);
    // What a lasting failure waits to change: the backup and this program (a choice made again
    // clears the waits).
    QString signature(const QString& aBackupPath) const;

    MusicSync& mSync;
    Device& mDevice;
    SyncSettings& mSettings;
    QString mDeviceId;
    bool mExtractionFailed = false;
    bool mDeviceLost = false;
    QStringList mFailures;
    QSet<int> mWanted;
    QSet<int> mFailed;
    QString mSignature;
};
