#include "devices/usbms/PlayerFolderProber.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

PlayerFolderProber::PlayerFolderProber(std::shared_ptr<DriveProber> aSystem, const QStringList& aFolders)
    : mSystem(std::move(aSystem))
{
    for (const QString& folder : aFolders)
        mFolders.append(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

QStringList PlayerFolderProber::foldersOf(const QString& aList)
{
    QStringList folders;
    for (const QString& entry : aList.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        folders.append(QFileInfo(entry).absoluteFilePath());
    return folders;
}

QList<DriveProber::Volume> PlayerFolderProber::removableVolumes()
{
    QList<Volume> volumes = mSystem->removableVolumes();
    for (const QString& folder : mFolders) {
        if (QFileInfo(folder).isDir())
            volumes.append({folder, QFileInfo(folder.chopped(1)).fileName()});
    }
    return volumes;
}

bool PlayerFolderProber::volumeSize(const QString& aRoot, qint64& aTotalBytes, qint64& aFreeBytes)
{
    if (!mFolders.contains(aRoot))
        return mSystem->volumeSize(aRoot, aTotalBytes, aFreeBytes);
    const QStorageInfo storage(aRoot);
    if (!storage.isValid() || !storage.isReady())
        return false;
    aTotalBytes = storage.bytesTotal();
    aFreeBytes = storage.bytesAvailable();
    return true;
}
