#include "sync/DataTransfer.h"
#include "app/LogScope.h"
#include "backup/AppleExtractor.h"
#include "backup/BlackBerryBackup.h"
#include "devices/Device.h"
#include "settings/SyncSettings.h"
#include "sync/MusicSync.h"
#include "sync/RunFolder.h"
#include "sync/VideoRemuxer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A kind of the other phone's data: its option, its exporter for an iPhone backup, the file of
// the phone application, the places of its databases in a backup, and its words for the user.
struct Kind
{
    bool (SyncSettings::*wanted)(const QString&) const;
    void (SyncSettings::*setWanted)(const QString&, bool);
    int (AppleExtractor::*generate)(const QString&, const QString&);
    const char* fileName;
    const char* logName;
    QStringList databases; // ends of the places its databases have in the backup's file list
    const char* what;
};

const Kind kKinds[] = {
    {&SyncSettings::copyTextMessages,
     &SyncSettings::setCopyTextMessages,
     &AppleExtractor::generateMessagesXML,
     "messages.xml",
     "messages.xml",
     {QStringLiteral("SMS/sms.db")},
     "Messages"},
    {&SyncSettings::copyAddressBook,
     &SyncSettings::setCopyAddressBook,
     &AppleExtractor::generateAddressBookXML,
     "address.xml",
     "addressbook.xml",
     {QStringLiteral("AddressBook/AddressBook.sqlitedb")},
     "Contacts"},
    {&SyncSettings::copyCalendar,
     &SyncSettings::setCopyCalendar,
     &AppleExtractor::generateCalendarXML,
     "calendar.xml",
     "calendar.xml",
     {QStringLiteral("Calendar/Calendar.sqlitedb")},
     "The calendar"},
    {&SyncSettings::copyNotes,
     &SyncSettings::setCopyNotes,
     &AppleExtractor::generateNotesXML,
     "notes.xml",
     "notes.xml",
     {QStringLiteral("Notes/notes.sqlite"), QStringLiteral("Notes/notes.db"),
      QStringLiteral("NoteStore.sqlite")},
     "Notes"},
};
constexpr int kDataKinds = 4;

QString kindName(int aKind)
{
    return aKind == DataTransfer::kPhotos ? QStringLiteral("Photos") : QLatin1String(kKinds[aKind].what);
}

// Photo folders deeper than this are not followed (a folder of the computer can hold a loop of
// bind mounts; links are never followed at all).
constexpr int kMaxPhotoFolderDepth = 32;

QString devicePath(QString aPath)
{
    return aPath.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

const QString kNewBackup =
    QStringLiteral("make a new backup of the iPhone with iTunes or Finder and choose it");

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

QString DataTransfer::signature(const QString& aBackupPath) const
{
    // The backup's own record of its last change: its manifest (an iTunes backup) or the file.
    QString changed = aBackupPath;
    for (const char* manifest : {"/Manifest.db", "/Manifest.mbdb"}) {
        if (QFileInfo(aBackupPath + QLatin1String(manifest)).isFile()) {
            changed = aBackupPath + QLatin1String(manifest);
            break;
        }
    }
    const QFileInfo info(changed);
    // The choice of kinds made again clears what waits (DeviceConfiguration).
    return aBackupPath + QLatin1Char('|') + QString::number(info.lastModified().toMSecsSinceEpoch()) +
           QLatin1Char('|') + QString::number(info.size()) + QLatin1Char('|') +
           QStringLiteral(VELTRANE_VERSION);
}

void DataTransfer::chooseKinds(const QString& aBackupPath)
{
    mSignature = signature(aBackupPath);
    QList<QPair<QString, QString>> waiting =
        mSettings.getSettingsList(mDeviceId, SyncSettings::kTransferWaiting);
    for (int kind = 0; kind <= kPhotos; ++kind) {
        const bool on =
            kind == kPhotos ? mSettings.copyPhotos(mDeviceId) : (mSettings.*kKinds[kind].wanted)(mDeviceId);
        if (!on)
            continue;
        const auto stuck = std::find_if(waiting.cbegin(), waiting.cend(),
                                        [&](const auto& aEntry) { return aEntry.first == kindName(kind); });
        if (stuck != waiting.cend() && stuck->second.section(QLatin1Char('\n'), 0, 0) == mSignature) {
            // Said when it was found; quiet until something changes.
            logValue("Waiting for the backup, Veltrane or the choice to change", kindName(kind));
            mFailed.insert(kind);
            continue;
        }
        mWanted.insert(kind);
    }
    // Waits that no longer hold are forgotten.
    waiting.erase(std::remove_if(waiting.begin(), waiting.end(),
                                 [&](const auto& aEntry) {
                                     return aEntry.second.section(QLatin1Char('\n'), 0, 0) != mSignature;
                                 }),
                  waiting.end());
    mSettings.setSettingsList(mDeviceId, SyncSettings::kTransferWaiting, waiting);
}

void DataTransfer::failKind(int aKind, const QString& aReason, bool aLasting, bool aSay)
{
    mFailed.insert(aKind);
    if (aSay)
        mFailures << QStringLiteral("%1 not carried: %2%3")
                         .arg(kindName(aKind), aReason,
                              aLasting ? QStringLiteral(" (not tried again until the backup, Veltrane or the "
                                                        "choice of what to copy changes)")
                                       : QString());
    if (!aLasting)
        return;
    QList<QPair<QString, QString>> waiting =
        mSettings.getSettingsList(mDeviceId, SyncSettings::kTransferWaiting);
    waiting.append({kindName(aKind), mSignature + QLatin1Char('\n') + aReason});
    mSettings.setSettingsList(mDeviceId, SyncSettings::kTransferWaiting, waiting);
}

void DataTransfer::run()
{
    LogScope log("DataTransfer::run");
    const QString backupPath = mSettings.selectedBackupPath(mDeviceId);
    if (backupPath.isEmpty() || stopped())
        return;
    logValue("backup-path", backupPath);
    chooseKinds(backupPath);
    if (mWanted.isEmpty()) {
        logMessage("Nothing to copy from the backup");
        mSettings.save();
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
    if (BlackBerryBackup::isBlackBerryBackup(backupPath))
        runBlackBerry(backupPath, extracted);
    else
        runITunes(backupPath, folder);
    if (mExtractionFailed || stopped()) {
        mSync.ChangeState(SyncState::Preparing);
        mSettings.save();
        return;
    }

    mSync.ChangeState(SyncState::Preparing);
    for (int kind = 0; kind < kDataKinds; ++kind) {
        if (!wanted(kind) || mFailed.contains(kind) || stopped())
            continue;
        const Kind& file = kKinds[kind];
        const QString local = extracted + QLatin1Char('/') + QLatin1String(file.fileName);
        if (!QFileInfo(local).isFile()) {
            // The backup has none of it (a BlackBerry backup keeps no calendar or notes): trying
            // again would not change that.
            mFailures << QStringLiteral("%1: the backup holds none").arg(QLatin1String(file.what));
            (mSettings.*file.setWanted)(mDeviceId, false);
            continue;
        }
        mSync.UpdateProgress(SyncState::Preparing, QLatin1String(file.what));
        copyToLogFolder(local, QLatin1String(file.logName));
        if (copyToDevice(local, QStringLiteral("KORDA\\") + QLatin1String(file.fileName), true,
                         QLatin1String(file.what)))
            (mSettings.*file.setWanted)(mDeviceId, false);
    }
    if (mSettings.save() != SyncSettings::kResultOk)
        logMessage("! Could not save the copy options");
}

void DataTransfer::runITunes(const QString& aBackupPath, RunFolder& aFolder)
{
    const QString extracted = aFolder.filePath(QStringLiteral("extracted"));
    AppleExtractor extractor;
    // The camera roll is restored only when photos are to be carried this time.
    const int result = extractor.extractFromManifest(aBackupPath, extracted, wanted(kPhotos));
    if (result == AppleExtractor::kBackupListMissing) {
        // Said once for this backup: an encrypted backup stays so until another is made.
        mExtractionFailed = true;
        mFailures << QStringLiteral(
            "The iPhone backup could not be read (is it encrypted?): nothing was copied "
            "from it. Make an unencrypted backup with iTunes or Finder and choose it; "
            "until then Veltrane doesn't try this one again");
        for (int kind = 0; kind <= kPhotos; ++kind) {
            if (wanted(kind))
                failKind(kind, QStringLiteral("the backup could not be read (is it encrypted?)"), true,
                         false);
        }
        return;
    }
    if (result != 0)
        return;
    for (int kind = 0; kind < kDataKinds && !stopped(); ++kind) {
        if (!wanted(kind))
            continue;
        const Kind& file = kKinds[kind];
        mSync.UpdateProgress(SyncState::Preparing, QLatin1String(file.what));
        const int generated = (extractor.*file.generate)(extracted, extracted + QLatin1Char('/') +
                                                                        QLatin1String(file.fileName));
        // A database the extractor could not restore is no proof that the backup has none.
        QString unrestored;
        for (auto it = extractor.unrestored().cbegin(); it != extractor.unrestored().cend(); ++it) {
            for (const QString& database : file.databases) {
                if (it.key().endsWith(database))
                    unrestored = it.value();
            }
        }
        if (!unrestored.isEmpty()) {
            QFile::remove(extracted + QLatin1Char('/') + QLatin1String(file.fileName));
            failKind(kind,
                     QStringLiteral("the backup's database could not be restored (%1); %2")
                         .arg(unrestored, kNewBackup),
                     true);
        } else if (generated == AppleExtractor::kDatabaseFailed) {
            failKind(kind, QStringLiteral("%1; %2").arg(extractor.lastExportError(), kNewBackup), true);
        } else if (generated == AppleExtractor::kFileUnwritable) {
            failKind(kind, extractor.lastExportError(), false);
        }
    }
    if (wanted(kPhotos) && !stopped()) {
        mSync.ChangeState(SyncState::Photos);
        int lost = 0;
        for (auto it = extractor.unrestored().cbegin(); it != extractor.unrestored().cend(); ++it)
            lost += it.key().startsWith(QLatin1String("Media/DCIM/")) ? 1 : 0;
        const bool copied = copyPhotos(extractor.mPhotos, aFolder);
        if (lost > 0)
            failKind(kPhotos,
                     QStringLiteral("%1 photo(s) could not be restored from the backup; %2")
                         .arg(lost)
                         .arg(kNewBackup),
                     true);
        else if (copied && !stopped() && !mFailed.contains(kPhotos))
            mSettings.setCopyPhotos(mDeviceId, false);
    }
}

void DataTransfer::runBlackBerry(const QString& aBackupPath, const QString& aExtracted)
{
    int mask = 0;
    if (wanted(0))
        mask |= BlackBerryBackup::kMessages;
    if (wanted(1))
        mask |= BlackBerryBackup::kContacts;
    if (wanted(kPhotos)) {
        mask |= BlackBerryBackup::kPhotos;
        bool allCopied = true;
        const auto folders = mSettings.getSettingsList(mDeviceId, SyncSettings::kPhotoFolders);
        for (const auto& folder : folders)
            allCopied = copyPhotoFolder(folder.second, QStringLiteral("DCIM\\Blackberry"), 0) && allCopied;
        if (allCopied && !stopped())
            mSettings.setCopyPhotos(mDeviceId, false);
        else if (!stopped())
            mFailed.insert(kPhotos);
    }
    if (stopped() || (mask & (BlackBerryBackup::kMessages | BlackBerryBackup::kContacts)) == 0)
        return;
    mSync.UpdateProgress(SyncState::Preparing, QStringLiteral("BlackBerry"));
    const BlackBerryBackup::Result read =
        BlackBerryBackup::readBlackBerryBackup(aBackupPath, aExtracted, mask);
    if (!read.problem.isEmpty()) {
        // Nothing could be read: whatever was asked for waits for the next run (a backup that is
        // back, 7z installed), the switches kept.
        mExtractionFailed = true;
        mFailures << QStringLiteral("The BlackBerry backup could not be read: %1; the next run tries again")
                         .arg(read.problem);
    }
}

bool DataTransfer::copyPhotos(const QList<PhotoToCopy>& aPhotos, RunFolder& aFolder)
{
    int failed = 0;
    int notConverted = 0;
    const int total = static_cast<int>(aPhotos.size());
    for (int index = 0; index < total; ++index) {
        const PhotoToCopy& photo = aPhotos.at(index);
        if (stopped())
            return false;
        QString destination = QStringLiteral("DCIM") + photo.destPhotoPath;
        logValue("photoPath.mSourceName", photo.mSourceName);
        logValue("destinationOnDevice", destination);
        const QString name = destination.section(QLatin1Char('/'), -1);
        // Which photo of how many: what the front ends show while they go.
        const QString progress = QStringLiteral("%1 (%2 of %3)").arg(name).arg(index + 1).arg(total);
        mSync.UpdateProgress(total, index, progress);
        QString source = photo.mSourceName;
        if (destination.size() > 3 && destination.endsWith(QLatin1String("mov"), Qt::CaseInsensitive)) {
            mSync.UpdateProgress(SyncState::ConvertingVideo, progress);
            destination = destination.left(destination.size() - 3) + QStringLiteral("mp4");
            const QString converted = aFolder.filePath(QStringLiteral("temp.mp4"));
            const bool remuxed = VideoRemuxer::remux(source, converted);
            mSync.UpdateProgress(SyncState::Photos, progress);
            QFile::remove(source);
            if (!remuxed) {
                QFile::remove(converted);
                ++notConverted;
                logValue("! Video not converted", photo.mSourceName);
                continue;
            }
            source = converted;
        }
        if (!copyToDevice(source, devicePath(destination), false, QString()))
            ++failed;
        QFile::remove(source);
    }
    if (notConverted > 0)
        failKind(kPhotos,
                 VideoRemuxer::available()
                     ? QStringLiteral("%1 video(s) could not be put into MP4").arg(notConverted)
                     : QStringLiteral("%1 video(s) need ffmpeg, which is not installed (install it: sudo apt "
                                      "install ffmpeg)")
                           .arg(notConverted),
                 true);
    if (failed > 0)
        failKind(kPhotos,
                 QStringLiteral("%1 of %2 photos could not be copied to the phone").arg(failed).arg(total),
                 false);
    return failed == 0 && notConverted == 0;
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
