#include "backup/BackupDiscovery.h"
#include "app/LogScope.h"
#include "backup/DeviceNameContentHandler.h"
#include "backup/PropertyList.h"

#include <QDir>
#include <QFileInfo>

QStringList BackupDiscovery::searchRoots()
{
    const QString home = QDir::homePath();
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome))
        dataHome = home + QStringLiteral("/.local/share");
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QFileInfo(home).fileName();
    const QString wineUser =
        home + QStringLiteral("/.wine/drive_c/users/") + user + QStringLiteral("/AppData/");
    const QString appleBackups = QStringLiteral("/Apple Computer/MobileSync/Backup/");
    return {dataHome + appleBackups, home + QStringLiteral("/Library/Application Support/MobileSync/Backup/"),
            wineUser + QStringLiteral("Roaming") + appleBackups,
            wineUser + QStringLiteral("Local") + appleBackups};
}

void BackupDiscovery::findiTunesBackups(QList<DeviceBackup>& aBackups)
{
    findBackupsUnder(searchRoots(), aBackups);
}

void BackupDiscovery::findBackupsUnder(const QStringList& aRoots, QList<DeviceBackup>& aBackups)
{
    LogScope log("findiTunesBackups");
    aBackups.clear();
    for (const QString& root : aRoots) {
        logValue("Searching folder", root);
        const QStringList names = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (int index = 0; index < names.size(); ++index) {
            const QString& name = names.at(index);
            const QString path = root + name;
            DeviceBackup backup;
            backup.mBackupName =
                getDeviceNameFromInfoPlist(path + QStringLiteral("/Info.plist"), &backup.mProblem);
            backup.mBackupPath = path + QLatin1Char('/');
            backup.mBackupId = name;
            if (!backup.mProblem.isEmpty()) {
                // Listed with the reason, under its folder's name.
                backup.mBackupName = name;
            } else if (backup.mBackupName.isEmpty()) {
                logMessage("Empty or null device name - skipping");
                continue;
            }
            logValue("index", index);
            logValue("backup.mBackupName", backup.mBackupName);
            logValue("backup.mBackupPath", backup.mBackupPath);
            const bool known =
                std::any_of(aBackups.cbegin(), aBackups.cend(),
                            [&](const DeviceBackup& aKnown) { return aKnown.mBackupId == backup.mBackupId; });
            if (known) {
                logMessage("Backup already in list");
                continue;
            }
            aBackups.append(backup);
        }
    }
}

QString BackupDiscovery::getDeviceNameFromInfoPlist(const QString& aPath, QString* aProblem)
{
    // An Info.plist is kilobytes, a few megabytes with a large library of apps: one far larger is
    // not read (parsing it would take hundreds of megabytes).
    bool tooLarge = false;
    const QByteArray data = PropertyList::readFile(aPath, kMaxInfoPlistBytes, &tooLarge);
    if (tooLarge && aProblem)
        *aProblem = QStringLiteral("its Info.plist is larger than %1 MB and was not read")
                        .arg(kMaxInfoPlistBytes / (1024 * 1024));
    if (data.isEmpty()) {
        logValue("Failed to open", aPath);
        return QString();
    }
    logValue("Opened", aPath);
    DeviceNameContentHandler handler;
    PropertyList::parse(data, handler);
    return handler.deviceName().trimmed();
}
