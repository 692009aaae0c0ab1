// Playlist files on a USB drive: Playlists_VLT\<name>.m3u and the hint file KORDA\playlisthint
// that tells the phone application which playlists to read again.
#include "devices/usbms/UsbMSDevice.h"

#include "app/LogScope.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {

const QByteArray kEmptyPlaylist = "#EXTM3U\r\n";

} // namespace

bool UsbMSDevice::hasContent(const QString& aPath, const QByteArray& aContent)
{
    QFile file(aPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() != aContent.size())
        return false;
    return file.readAll() == aContent;
}

bool UsbMSDevice::writeWholeFile(const QString& aPath, const QByteArray& aContent)
{
    QFile file(aPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(aContent) == aContent.size() &&
           file.flush();
}

QString UsbMSDevice::playlistFileName(const QString& aPlaylistName)
{
    // The iTunes name as it stands when the drive can store it, so existing playlists keep
    // their files; a name with separators or other unstorable characters is made safe.
    return safeFileName(aPlaylistName) + QStringLiteral(".m3u");
}

int UsbMSDevice::createPlaylist(const LocalPlaylist& aPlaylist, const TrackList& aTracks, bool aForce)
{
    LogScope log("UsbMSDevice::createPlaylist");
    int result = 0;
    const QString folder = mRoot + QStringLiteral("Playlists_VLT");
    if (!QDir().mkpath(folder)) {
        result = kFolderFailed;
        logValue("Error making playlist remote path", folder);
    }
    const QString fileName = playlistFileName(aPlaylist.name());
    const QString path = folder + QLatin1Char('/') + fileName;
    mPlaylistsThisRun.insert(fileName, aForce);
    // What is there is compared with what would be written: an unchanged playlist is neither
    // written again nor hinted to the phone.
    const QByteArray content = playlistContent(aPlaylist, aTracks, QByteArray(), false);
    if (!aForce && hasContent(path, content))
        return log.ret(result);
    logValue("Identical playlist does not already exist", path);
    if (!writeWholeFile(path, content))
        logMessage("Error opening playlist file");
    if (logIsOn()) {
        QFile written(path);
        if (written.open(QIODevice::ReadOnly))
            logValue("File contents:", QString::fromUtf8(written.readAll()));
        else
            logValue("Error opening file: ", path);
    }
    appendLine(QStringLiteral("playlisthint"), fileName.toUtf8() + "\n");
    return log.ret(result);
}

void UsbMSDevice::removeOldPlaylists()
{
    LogScope log("UsbMSDevice::removeOldPlaylists");
    const QString folder = mRoot + QStringLiteral("Playlists_VLT");
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.m3u")}, QDir::Files | QDir::Hidden, QDir::Unsorted);
    QFile hint(mRoot + QStringLiteral("KORDA/playlisthint"));
    QSet<QString> hintNames;
    if (hint.open(QIODevice::ReadWrite)) {
        for (;;) {
            const QByteArray line = hint.readLine();
            if (line.size() <= 1)
                break;
            hintNames.insert(QString::fromUtf8(line.left(line.size() - 1)));
        }
        hint.seek(hint.size());
    }
    for (const QString& name : files) {
        logValue("*playlistFilesIterator", name);
        const QString path = folder + QLatin1Char('/') + name;
        if (!mPlaylistsThisRun.contains(name) && !hasContent(path, kEmptyPlaylist)) {
            logMessage("Playlist has not been created this time, so create an empty playlist.");
            if (!writeWholeFile(path, kEmptyPlaylist))
                logValue("Could not open playlist", path);
        }
        if (hint.isOpen() && !hintNames.contains(name)) {
            hint.write(name.toUtf8() + "\n");
            hintNames.insert(name);
        }
    }
}
