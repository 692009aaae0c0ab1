#pragma once

#include "devices/usbms/DriveProber.h"

#include <QStringList>

#include <memory>

// The removable volumes another prober finds, and folders the user names as players besides:
// a player or phone the system mounts somewhere the prober doesn't look (an MTP file system
// mounted as a folder, a card reader the kernel doesn't call removable), or a folder to try the
// program out on. Each folder is listed under its own name while it exists.
class PlayerFolderProber : public DriveProber
{
public:
    PlayerFolderProber(std::shared_ptr<DriveProber> aSystem, const QStringList& aFolders);

    QList<Volume> removableVolumes() override;
    bool volumeSize(const QString& aRoot, qint64& aTotalBytes, qint64& aFreeBytes) override;

    // The folders of a list separated by colons (as PATH is), made absolute.
    static QStringList foldersOf(const QString& aList);

private:
    std::shared_ptr<DriveProber> mSystem;
    QStringList mFolders; // each ending in "/"
};
