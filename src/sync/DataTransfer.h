#pragma once

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
// computer). Each kind's copy option is switched off once that kind has arrived; a kind that
// failed keeps its option, is named in failures(), and is tried again by the next run. Runs on
// the run's thread, in a working folder of its own.
class DataTransfer
{
public:
    DataTransfer(MusicSync& aSync, Device& aDevice, SyncSettings& aSettings, const QString& aDeviceId);

    void run();

    // The backup could not be unpacked (encrypted, or not a backup): nothing was carried.
    bool extractionFailed() const { return mExtractionFailed; }
    // What could not be carried, in words for the user.
    const QStringList& failures() const { return mFailures; }

private:
    struct Kind;
    void runITunes(const QString& aBackupPath, RunFolder& aFolder, bool aPhotos);
    void runBlackBerry(const QString& aBackupPath, const QString& aExtracted, bool aPhotos);
    bool copyPhotos(const QList<PhotoToCopy>& aPhotos, RunFolder& aFolder);
    // Copies a folder of the computer below aDestination; false when a file was not copied.
    bool copyPhotoFolder(const QString& aSource, const QString& aDestination, int aDepth);
    // CopyFile with the failure noted; true when the file is on the device.
    bool copyToDevice(const QString& aSource, const QString& aDestination, bool aReplace,
                      const QString& aWhat);
    bool stopped();

    MusicSync& mSync;
    Device& mDevice;
    SyncSettings& mSettings;
    QString mDeviceId;
    bool mExtractionFailed = false;
    bool mDeviceLost = false;
    QStringList mFailures;
};
