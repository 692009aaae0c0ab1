// Finding backups: roots in order, XML and binary Info.plist, folders without a usable name.
#include "backup/BackupDiscovery.h"
#include "support/BackupBuilder.h"
#include "support/TestHome.h"

#include <QDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

TEST(BackupDiscovery, BackupsUnderEveryRootAreListedOnceWithTheEarlierRootWinning)
{
    TestHome home;
    const QStringList roots = BackupDiscovery::searchRoots();
    ASSERT_EQ(roots.size(), 4);
    EXPECT_EQ(roots.at(0), home.path() + "/.local/share/Apple Computer/MobileSync/Backup/");

    BackupBuilder first(roots.at(0), "00008030-001A", BackupBuilder::ManifestDb);
    first.setInfoPlist("Anna’s iPhone", false);
    BackupBuilder binary(roots.at(2), "1234567890abcdef1234567890abcdef12345678",
                         BackupBuilder::ManifestMbdb);
    binary.setInfoPlist("Old <iPhone> & Co", true);
    // The same backup folder under a later root: listed once, from the first.
    BackupBuilder duplicate(roots.at(3), "00008030-001A");
    duplicate.setInfoPlist("Copy of Anna's iPhone");
    // Folders that are no usable backup: no Info.plist, one without "Display Name", one whose
    // Info.plist is a FIFO (never opened for reading, so nothing hangs), one that is damaged.
    QDir().mkpath(roots.at(0) + "no-info");
    home.writeFile(".local/share/Apple Computer/MobileSync/Backup/no-name/Info.plist",
                   "<plist><dict><key>Device Name</key><string>x</string></dict></plist>");
    QDir().mkpath(roots.at(0) + "fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(roots.at(0) + "fifo/Info.plist").constData(), 0600), 0);
    home.writeFile(".local/share/Apple Computer/MobileSync/Backup/damaged/Info.plist",
                   "bplist00\x01\x02garbage");
    // One whose Info.plist is 50 MB: not read, listed with the reason under its folder's name.
    QFile huge(roots.at(0) + "zz-huge/Info.plist");
    QDir().mkpath(roots.at(0) + "zz-huge");
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(50LL * 1024 * 1024));
    huge.close();

    QList<DeviceBackup> backups{DeviceBackup{"stale", "/stale/", "stale", {}}};
    BackupDiscovery::findiTunesBackups(backups);
    ASSERT_EQ(backups.size(), 3);
    EXPECT_EQ(backups.at(1).mBackupName, "zz-huge");
    EXPECT_TRUE(backups.at(1).mProblem.contains("larger than 8 MB"));
    backups.removeAt(1);
    EXPECT_EQ(backups.at(0).mBackupName, "Anna’s iPhone");
    EXPECT_EQ(backups.at(0).mBackupId, "00008030-001A");
    EXPECT_EQ(backups.at(0).mBackupPath, roots.at(0) + "00008030-001A/");
    EXPECT_EQ(backups.at(1).mBackupName, "Old <iPhone> & Co");
    EXPECT_EQ(backups.at(1).mBackupPath, roots.at(2) + "1234567890abcdef1234567890abcdef12345678/");
}

TEST(BackupDiscovery, NoBackupFolderAtAllIsAnEmptyList)
{
    TestHome home;
    QList<DeviceBackup> backups;
    BackupDiscovery::findiTunesBackups(backups);
    EXPECT_TRUE(backups.isEmpty());
    EXPECT_TRUE(BackupDiscovery::getDeviceNameFromInfoPlist(home.path() + "/missing/Info.plist").isEmpty());
}
