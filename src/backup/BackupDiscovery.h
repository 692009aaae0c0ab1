#pragma once

#include "backup/DeviceBackup.h"

#include <QList>
#include <QString>
#include <QStringList>

// Finding the iTunes backups of iPhones on this computer.
//
// The search roots, in order: iTunes for Linux-style data ($XDG_DATA_HOME, else ~/.local/share),
// a Mac home's Library, and the roaming and local application-data folders of a Wine prefix
// (~/.wine), each followed by "Apple Computer/MobileSync/Backup/" (on a Mac "MobileSync/Backup/").
// A backup folder name met under an earlier root is listed once, from that root.
class BackupDiscovery
{
public:
    static QStringList searchRoots();
    // Clears aBackups and fills it with the backups found under the search roots.
    static void findiTunesBackups(QList<DeviceBackup>& aBackups);
    // Same, under the given roots (each ending with a separator).
    static void findBackupsUnder(const QStringList& aRoots, QList<DeviceBackup>& aBackups);
    // The device's name in one Info.plist (XML or binary); empty when absent or unreadable, with
    // the reason in aProblem when it is there but refused (larger than a few megabytes).
    static QString getDeviceNameFromInfoPlist(const QString& aPath, QString* aProblem = nullptr);
    static constexpr qint64 kMaxInfoPlistBytes = 8 * 1024 * 1024;
};
