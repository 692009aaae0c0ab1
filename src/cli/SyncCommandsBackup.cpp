// veltrane-sync's commands for another phone's data: the backups found, and the backup and copy
// switches of a device.
#include "cli/SyncCommands.h"

#include "backup/BackupDiscovery.h"
#include "backup/BlackBerryBackup.h"
#include "devices/Device.h"
#include "settings/SyncSettings.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

const QStringList kKinds = {QStringLiteral("messages"), QStringLiteral("contacts"),
                            QStringLiteral("calendar"), QStringLiteral("notes"), QStringLiteral("photos")};

// When the backup was last written: its manifest's time.
QString backupDate(const DeviceBackup& aBackup)
{
    for (const char* name : {"Manifest.db", "Manifest.mbdb", "Info.plist"}) {
        const QFileInfo file(aBackup.mBackupPath + QLatin1String(name));
        if (file.exists())
            return file.lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    }
    return QStringLiteral("?");
}

} // namespace

int SyncCommands::listBackups()
{
    QList<DeviceBackup> backups;
    BackupDiscovery::findiTunesBackups(backups);
    if (backups.isEmpty()) {
        say(QStringLiteral("No iPhone backup found (looked in %1).")
                .arg(BackupDiscovery::searchRoots().join(QStringLiteral(", "))));
        return kExitComplete;
    }
    for (const DeviceBackup& backup : backups)
        say(QStringLiteral("%1  %2  %3  %4")
                .arg(backup.mBackupName, backup.mBackupId, backupDate(backup),
                     QDir::toNativeSeparators(backup.mBackupPath)));
    return kExitComplete;
}

bool SyncCommands::resolveBackupOptions(const QString& aCurrentPath, QString& aBackupPath, QStringList& aCopy,
                                        const SyncSettings& aSettings, const QString& aId)
{
    aBackupPath = aCurrentPath;
    aCopy.clear();
    const bool current[] = {aSettings.copyTextMessages(aId), aSettings.copyAddressBook(aId),
                            aSettings.copyCalendar(aId), aSettings.copyNotes(aId), aSettings.copyPhotos(aId)};
    for (int i = 0; i < kKinds.size(); ++i)
        if (current[i])
            aCopy << kKinds.at(i);
    const QString& named = mOptions.backup;
    if (named == QLatin1String("none")) {
        aBackupPath.clear();
        aCopy.clear();
        return true;
    }
    if (!named.isEmpty()) {
        const QFileInfo given(named);
        if (given.exists()) {
            aBackupPath = given.absoluteFilePath();
            if (given.isDir() && !aBackupPath.endsWith(QLatin1Char('/')))
                aBackupPath += QLatin1Char('/');
        } else {
            // A backup iTunes made, by its device's name or its folder's name.
            QList<DeviceBackup> backups;
            BackupDiscovery::findiTunesBackups(backups);
            aBackupPath.clear();
            for (const DeviceBackup& backup : backups)
                if (backup.mBackupId == named || backup.mBackupName.compare(named, Qt::CaseInsensitive) == 0)
                    aBackupPath = backup.mBackupPath;
            if (aBackupPath.isEmpty()) {
                complain(QStringLiteral("--backup: no such file or folder, and no iPhone backup named \"%1\" "
                                        "(see veltrane-sync backups)")
                             .arg(named));
                return false;
            }
        }
        const bool blackBerry = BlackBerryBackup::isBlackBerryBackup(aBackupPath);
        const QFileInfo chosen(aBackupPath);
        if (blackBerry
                ? !chosen.isFile()
                : !(chosen.isDir() && (QFileInfo::exists(aBackupPath + QStringLiteral("Manifest.db")) ||
                                       QFileInfo::exists(aBackupPath + QStringLiteral("Manifest.mbdb"))))) {
            complain(
                QStringLiteral("--backup takes an iPhone backup folder (with Manifest.db or Manifest.mbdb), "
                               "a BlackBerry .ipd or .bbb file, or none: ") +
                named);
            return false;
        }
    }
    if (!mOptions.copy.isEmpty()) {
        aCopy.clear();
        if (mOptions.copy != QLatin1String("none")) {
            for (const QString& kind : mOptions.copy.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                if (!kKinds.contains(kind.trimmed())) {
                    complain(QStringLiteral("--copy takes messages, contacts, calendar, notes and photos "
                                            "(separated by commas), or none: ") +
                             kind);
                    return false;
                }
                aCopy << kind.trimmed();
            }
        }
    }
    if (aBackupPath.isEmpty() && !aCopy.isEmpty()) {
        complain(QStringLiteral("--copy needs a backup to copy from: give one with --backup"));
        return false;
    }
    if (BlackBerryBackup::isBlackBerryBackup(aBackupPath) &&
        (aCopy.contains(QStringLiteral("calendar")) || aCopy.contains(QStringLiteral("notes")))) {
        complain(QStringLiteral("a BlackBerry backup holds messages and contacts only (photos come from "
                                "--photo-folder): calendar and notes can't be copied from it"));
        return false;
    }
    for (const QString& folder : mOptions.photoFolders) {
        if (!QFileInfo(folder).isDir()) {
            complain(QStringLiteral("--photo-folder: not a folder: ") + folder);
            return false;
        }
    }
    return true;
}

void SyncCommands::writeBackupSettings(SyncSettings& aSettings, const QString& aId,
                                       const QString& aBackupPath, const QStringList& aCopy,
                                       const QStringList& aPhotoFolders)
{
    aSettings.setSelectedBackupPath(aId, aBackupPath);
    aSettings.setCopyTextMessages(aId, aCopy.contains(QStringLiteral("messages")));
    aSettings.setCopyAddressBook(aId, aCopy.contains(QStringLiteral("contacts")));
    aSettings.setCopyCalendar(aId, aCopy.contains(QStringLiteral("calendar")));
    aSettings.setCopyNotes(aId, aCopy.contains(QStringLiteral("notes")));
    aSettings.setCopyPhotos(aId, aCopy.contains(QStringLiteral("photos")));
    if (!aPhotoFolders.isEmpty() || aBackupPath.isEmpty()) {
        QList<QPair<QString, QString>> folders;
        for (const QString& folder : aPhotoFolders)
            folders.append({QStringLiteral("folder"), QFileInfo(folder).absoluteFilePath()});
        aSettings.removeSettingsList(aId, QStringLiteral("photo_folders"));
        if (!folders.isEmpty())
            aSettings.setSettingsList(aId, QStringLiteral("photo_folders"), folders);
    }
}

int SyncCommands::configureBackupOnly()
{
    Device* device = findDevice();
    if (!device)
        return kExitUsage;
    SyncSettings settings;
    settings.load();
    const QString id = device->UniqueDeviceId();
    bool entireLibrary = false;
    int podcasts = 0;
    QStringList playlistNames, podcastNames;
    if (!device->IsConfigured() ||
        settings.getConfig(id, entireLibrary, podcasts, playlistNames, podcastNames) != 0) {
        complain(QStringLiteral(
                     "%1 is not configured yet: choose its music first (veltrane-sync configure --music ...)")
                     .arg(device->FriendlyName()));
        return kExitUsage;
    }
    QString backupPath;
    QStringList copy;
    if (!resolveBackupOptions(settings.selectedBackupPath(id), backupPath, copy, settings, id))
        return kExitUsage;
    QStringList folders = mOptions.photoFolders;
    writeBackupSettings(settings, id, backupPath, copy, folders);
    if (settings.save() != 0) {
        complain(QStringLiteral("can't write the settings file ") + SyncSettings::filePath());
        return kExitUsage;
    }
    say(QStringLiteral("Configured %1 (%2)").arg(device->FriendlyName(), id));
    sayBackup(backupPath, copy);
    return kExitComplete;
}

void SyncCommands::sayBackup(const QString& aBackupPath, const QStringList& aCopy)
{
    if (aBackupPath.isEmpty()) {
        say(QStringLiteral("  data from another phone: none"));
        return;
    }
    say(QStringLiteral("  data from another phone: %1 from %2 (copied by the next run)")
            .arg(aCopy.isEmpty() ? QStringLiteral("nothing chosen yet (--copy)")
                                 : aCopy.join(QStringLiteral(", ")),
                 QDir::toNativeSeparators(aBackupPath)));
}
