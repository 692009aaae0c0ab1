#include "sync/DataTransfer.h"
#include "app/LogScope.h"
#include "backup/AppleExtractor.h"
#include "backup/BlackBerryBackup.h"
#include "devices/Device.h"
#include "settings/SyncSettings.h"
#include "sync/MusicSync.h"
#include "sync/RunFolder.h"
#include "sync/VideoRemuxer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A data file of the phone application: its option, its exporter for an iPhone backup, the file,
// and its words for the user.
struct DataFile
{
    bool (SyncSettings::*wanted)(const QString&) const;
    void (SyncSettings::*setWanted)(const QString&, bool);
    int (AppleExtractor::*generate)(const QString&, const QString&);
    const char* fileName;
    const char* logName;
    const char* what;
};

const DataFile kDataFiles[] = {
    {&SyncSettings::copyTextMessages, &SyncSettings::setCopyTextMessages,
     &AppleExtractor::generateMessagesXML, "messages.xml", "messages.xml", "Messages"},
    {&SyncSettings::copyAddressBook, &SyncSettings::setCopyAddressBook,
     &AppleExtractor::generateAddressBookXML, "address.xml", "addressbook.xml", "Contacts"},
    {&SyncSettings::copyCalendar, &SyncSettings::setCopyCalendar, &AppleExtractor::generateCalendarXML,
     "calendar.xml", "calendar.xml", "The calendar"},
    {&SyncSettings::copyNotes, &SyncSettings::setCopyNotes, &AppleExtractor::generateNotesXML, "notes.xml",
     "notes.xml", "Notes"},
};

// Photo folders deeper than this are not followed (a folder of the computer can hold a loop of
// bind mounts; links are never followed at all).
constexpr int kMaxPhotoFolderDepth = 32;

QString devicePath(QString aPath)
{
    return aPath.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

} // namespace

DataTransfer::DataTransfer(MusicSync& aSync, Device& aDevice, SyncSettings& aSettings,
                           const QString& aDeviceId)
    : mSync(aSync), mDevice(aDevice), mSettings(aSettings), mDeviceId(aDeviceId)
{
}

bool DataTransfer::stopped()
{
    return mDeviceLost || mSync.hasBeenCancelled();
}

void DataTransfer::run()
{
    LogScope log("DataTransfer::run");
    const QString backupPath = mSettings.selectedBackupPath(mDeviceId);
    if (backupPath.isEmpty() || stopped())
        return;
    logValue("backup-path", backupPath);
    bool anyWanted = mSettings.copyPhotos(mDeviceId);
    for (const DataFile& file : kDataFiles)
        anyWanted = anyWanted || (mSettings.*file.wanted)(mDeviceId);
    if (!anyWanted) {
        logMessage("Nothing to copy from the backup");
        return;
    }
    RunFolder folder;
    if (!folder.isValid()) {
        mFailures << QStringLiteral(
                         "Nothing was copied from the backup: no working folder could be made in %1")
                         .arg(QDir::toNativeSeparators(QFileInfo(folder.path()).path()));
        return;
    }
    const QString extracted = folder.filePath(QStringLiteral("extracted"));
    QDir().mkpath(extracted);
    const bool photos = mSettings.copyPhotos(mDeviceId);
    if (BlackBerryBackup::isBlackBerryBackup(backupPath))
        runBlackBerry(backupPath, extracted, photos);
    else
        runITunes(backupPath, folder, photos);
    if (mExtractionFailed || stopped()) {
        mSync.ChangeState(SyncState::Preparing);
        return;
    }

    mSync.ChangeState(SyncState::Preparing);
    for (const DataFile& file : kDataFiles) {
        if (!(mSettings.*file.wanted)(mDeviceId) || stopped())
            continue;
        const QString local = extracted + QLatin1Char('/') + QLatin1String(file.fileName);
        if (!QFileInfo(local).isFile()) {
            // The backup has none of it (a BlackBerry backup keeps no calendar or notes): trying
            // again would not change that.
            mFailures << QStringLiteral("%1: the backup holds none").arg(QLatin1String(file.what));
            (mSettings.*file.setWanted)(mDeviceId, false);
            continue;
        }
        copyToLogFolder(local, QLatin1String(file.logName));
        if (copyToDevice(local, QStringLiteral("KORDA\\") + QLatin1String(file.fileName), true,
                         QLatin1String(file.what)))
            (mSettings.*file.setWanted)(mDeviceId, false);
    }
    if (mSettings.save() != SyncSettings::kResultOk)
        logMessage("! Could not save the copy options");
}

void DataTransfer::runITunes(const QString& aBackupPath, RunFolder& aFolder, bool aPhotos)
{
    const QString extracted = aFolder.filePath(QStringLiteral("extracted"));
    AppleExtractor extractor;
    const int result = extractor.extractFromManifest(aBackupPath, extracted);
    if (result == AppleExtractor::kBackupListMissing) {
        mExtractionFailed = true;
        mFailures << QStringLiteral(
            "The iPhone backup could not be read (is it encrypted?): nothing was copied from it");
        return;
    }
    if (result != 0)
        return;
    for (const DataFile& file : kDataFiles) {
        if ((mSettings.*file.wanted)(mDeviceId) && !stopped())
            (extractor.*file.generate)(extracted,
                                       extracted + QLatin1Char('/') + QLatin1String(file.fileName));
    }
    if (aPhotos && !stopped()) {
        mSync.ChangeState(SyncState::Photos);
        if (copyPhotos(extractor.mPhotos, aFolder) && !stopped())
            mSettings.setCopyPhotos(mDeviceId, false);
    }
}

void DataTransfer::runBlackBerry(const QString& aBackupPath, const QString& aExtracted, bool aPhotos)
{
    int mask = 0;
    if (mSettings.copyTextMessages(mDeviceId))
        mask |= BlackBerryBackup::kMessages;
    if (mSettings.copyAddressBook(mDeviceId))
        mask |= BlackBerryBackup::kContacts;
    if (aPhotos) {
        mask |= BlackBerryBackup::kPhotos;
        bool allCopied = true;
        const auto folders = mSettings.getSettingsList(mDeviceId, SyncSettings::kPhotoFolders);
        for (const auto& folder : folders)
            allCopied = copyPhotoFolder(folder.second, QStringLiteral("DCIM\\Blackberry"), 0) && allCopied;
        if (allCopied && !stopped())
            mSettings.setCopyPhotos(mDeviceId, false);
    }
    if (!stopped())
        BlackBerryBackup::readBlackBerryBackup(aBackupPath, aExtracted, mask);
}

bool DataTransfer::copyPhotos(const QList<PhotoToCopy>& aPhotos, RunFolder& aFolder)
{
    int failed = 0;
    for (const PhotoToCopy& photo : aPhotos) {
        if (stopped())
            return false;
        QString destination = QStringLiteral("DCIM") + photo.destPhotoPath;
        logValue("photoPath.mSourceName", photo.mSourceName);
        logValue("destinationOnDevice", destination);
        const QString name = destination.section(QLatin1Char('/'), -1);
        mSync.UpdateProgress(0, 0, name);
        QString source = photo.mSourceName;
        if (destination.size() > 3 && destination.endsWith(QLatin1String("mov"), Qt::CaseInsensitive)) {
            mSync.UpdateProgress(SyncState::ConvertingVideo, name);
            destination = destination.left(destination.size() - 3) + QStringLiteral("mp4");
            const QString converted = aFolder.filePath(QStringLiteral("temp.mp4"));
            const bool remuxed = VideoRemuxer::remux(source, converted);
            mSync.UpdateProgress(SyncState::Photos, name);
            QFile::remove(source);
            if (!remuxed) {
                QFile::remove(converted);
                ++failed;
                logValue("! Video not converted", photo.mSourceName);
                continue;
            }
            source = converted;
        }
        if (!copyToDevice(source, devicePath(destination), false, QString()))
            ++failed;
        QFile::remove(source);
    }
    if (failed > 0)
        mFailures << QStringLiteral("%1 of %2 photos could not be copied to the phone")
                         .arg(failed)
                         .arg(aPhotos.size());
    return failed == 0;
}

bool DataTransfer::copyPhotoFolder(const QString& aSource, const QString& aDestination, int aDepth)
{
    if (aDepth > kMaxPhotoFolderDepth || stopped())
        return false;
    const QFileInfoList entries = QDir(aSource).entryInfoList(
        QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    if (!QFileInfo(aSource).isDir()) {
        mFailures
            << QStringLiteral("The photo folder %1 is not there").arg(QDir::toNativeSeparators(aSource));
        return false;
    }
    bool allCopied = true;
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().startsWith(QLatin1Char('.')) || entry.isSymLink())
            continue;
        const QString destination = aDestination + QLatin1Char('\\') + entry.fileName();
        if (entry.isDir()) {
            allCopied = copyPhotoFolder(entry.filePath(), destination, aDepth + 1) && allCopied;
        } else if (entry.isFile()) {
            mSync.UpdateProgress(0, 0, entry.fileName());
            allCopied = copyToDevice(
                            entry.filePath(), destination, false,
                            QStringLiteral("The photo %1").arg(QDir::toNativeSeparators(entry.filePath()))) &&
                        allCopied;
        }
        if (stopped())
            return false;
    }
    return allCopied;
}

bool DataTransfer::copyToDevice(const QString& aSource, const QString& aDestination, bool aReplace,
                                const QString& aWhat)
{
    const int result = mDevice.CopyFile(aSource, aDestination, aReplace);
    if (result == 0 || result == Device::kCopyKeptExisting)
        return true;
    if (result == Device::kDeviceGone || !mDevice.unusableReason().isEmpty())
        mDeviceLost = true;
    if (!aWhat.isEmpty())
        mFailures << QStringLiteral("%1 could not be copied to the phone: %2")
                         .arg(aWhat, mDevice.describeFailure(result));
    return false;
}
