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
    if (identicalPlaylistAlreadyExists(path, aPlaylist, aTracks) && !aForce)
        return log.ret(result);
    logValue("Identical playlist does not already exist", path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        logMessage("Error opening playlist file");
    file.write("#EXTM3U\r\n");
    for (const LocalPlaylistEntry& entry : aPlaylist.entries()) {
        const Track& track = aTracks.at(entry.trackIndex);
        const QByteArray info = "#EXTINF:0," + track.trackName().toUtf8() + "\r\n";
        logValue("Writing track: ", QString::fromUtf8(info));
        logValue("bytesWritten", static_cast<int>(file.write(info)));
        const QByteArray devicePath = deviceDataPath(track.deviceId()).toUtf8() + "\r\n";
        logValue("Writing track data: ", QString::fromUtf8(devicePath));
        logValue("bytesWritten", static_cast<int>(file.write(devicePath)));
    }
    file.close();
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
        if (!mPlaylistsThisRun.contains(name)) {
            logMessage("Playlist has not been created this time, so create an empty playlist.");
            QFile playlist(folder + QLatin1Char('/') + name);
            if (playlist.open(QIODevice::WriteOnly | QIODevice::Truncate))
                playlist.write("#EXTM3U\r\n");
            else
                logValue("Could not open playlist", playlist.fileName());
        }
        if (hint.isOpen() && !hintNames.contains(name)) {
            hint.write(name.toUtf8() + "\n");
            hintNames.insert(name);
        }
    }
}
