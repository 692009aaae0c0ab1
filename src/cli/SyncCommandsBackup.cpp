// veltrane-sync's commands for another phone's data: the backups found, and the backup and copy
// switches of a device.
#include "cli/SyncCommands.h"

#include "backup/BackupDiscovery.h"
#include "backup/BlackBerryBackup.h"
#include "settings/DeviceConfiguration.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

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
        say(QStringLiteral("%1  %2  %3  %4%5")
                .arg(backup.mBackupName, backup.mBackupId, backupDate(backup),
                     QDir::toNativeSeparators(backup.mBackupPath),
                     backup.mProblem.isEmpty() ? QString()
                                               : QStringLiteral("  (") + backup.mProblem + QLatin1Char(')')));
    return kExitComplete;
}

bool SyncCommands::applyBackupOptions(DeviceConfiguration& aConfiguration)
{
    const QString& named = mOptions.backup;
    if (named == QLatin1String("none")) {
        aConfiguration.backupPath.clear();
        aConfiguration.copy = {};
        aConfiguration.photoFolders.clear();
        return true;
    }
    if (!named.isEmpty()) {
        const QString path = backupNamed(named);
        if (path.isEmpty())
            return false;
        aConfiguration.backupPath = path;
    }
    if (!mOptions.copy.isEmpty()) {
        const QStringList names = mOptions.copy == QLatin1String("none")
                                      ? QStringList()
                                      : mOptions.copy.split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (!DeviceConfiguration::DataToCopy::fromNames(names, aConfiguration.copy)) {
            complain(QStringLiteral("--copy takes messages, contacts, calendar, notes and photos "
                                    "(separated by commas), or none: ") +
                     mOptions.copy);
            return false;
        }
    }
    if (aConfiguration.backupPath.isEmpty() && aConfiguration.copy.any()) {
        complain(QStringLiteral("--copy needs a backup to copy from: give one with --backup"));
        return false;
    }
    if (BlackBerryBackup::isBlackBerryBackup(aConfiguration.backupPath) &&
        (aConfiguration.copy.calendar || aConfiguration.copy.notes)) {
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
    if (!mOptions.photoFolders.isEmpty()) {
        aConfiguration.photoFolders.clear();
        for (const QString& folder : mOptions.photoFolders)
            aConfiguration.photoFolders << QFileInfo(folder).absoluteFilePath();
    }
    // Photo folders go with a backup.
    if (aConfiguration.backupPath.isEmpty())
        aConfiguration.photoFolders.clear();
    return true;
}

QString SyncCommands::backupNamed(const QString& aName)
{
    QString path;
    const QFileInfo given(aName);
    if (given.exists()) {
        path = given.absoluteFilePath();
        if (given.isDir() && !path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
    } else {
        // A backup iTunes made, by its device's name or its folder's name.
        QList<DeviceBackup> backups;
        BackupDiscovery::findiTunesBackups(backups);
        for (const DeviceBackup& backup : backups)
            if (backup.mBackupId == aName || backup.mBackupName.compare(aName, Qt::CaseInsensitive) == 0)
                path = backup.mBackupPath;
        if (path.isEmpty()) {
            complain(QStringLiteral("--backup: no such file or folder, and no iPhone backup named \"%1\" "
                                    "(see veltrane-sync backups)")
                         .arg(aName));
            return QString();
        }
    }
    const bool blackBerry = BlackBerryBackup::isBlackBerryBackup(path);
    const QFileInfo chosen(path);
    if (blackBerry ? !chosen.isFile()
                   : !(chosen.isDir() && (QFileInfo::exists(path + QStringLiteral("Manifest.db")) ||
                                          QFileInfo::exists(path + QStringLiteral("Manifest.mbdb"))))) {
        complain(QStringLiteral("--backup takes an iPhone backup folder (with Manifest.db or Manifest.mbdb), "
                                "a BlackBerry .ipd or .bbb file, or none: ") +
                 aName);
        return QString();
    }
    return path;
}

void SyncCommands::sayBackup(const DeviceConfiguration& aConfiguration)
{
    if (aConfiguration.backupPath.isEmpty()) {
        say(QStringLiteral("  data from another phone: none"));
        return;
    }
    const QStringList copy = aConfiguration.copy.names();
    say(QStringLiteral("  data from another phone: %1 from %2 (copied by the next run)")
            .arg(copy.isEmpty() ? QStringLiteral("nothing chosen yet (--copy)")
                                : copy.join(QStringLiteral(", ")),
                 QDir::toNativeSeparators(aConfiguration.backupPath)));
}
