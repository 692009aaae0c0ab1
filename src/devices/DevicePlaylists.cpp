// The playlist file format shared by every device: writing it to a local file and comparing a
// playlist with one already written.
#include "devices/Device.h"

#include "app/LogScope.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QFile>

namespace {

// Writes one line with its CR LF; returns the bytes written.
qint64 writeLine(QFile& aFile, const QByteArray& aLine)
{
    return aFile.write(aLine + "\r\n");
}

} // namespace

int Device::createPlaylist(const LocalPlaylist& aPlaylist, const TrackList& aTracks,
                           const QString& aLocalFilePath, bool aIncludeName)
{
    LogScope log("Device::createPlaylist");
    QFile file(aLocalFilePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        logMessage("Error opening playlist file");
    logValue("Writing: #EXTM3U, bytes written", static_cast<int>(writeLine(file, "#EXTM3U")));
    if (aIncludeName)
        writeLine(file, "#NAME:" + aPlaylist.name().toUtf8());
    for (const LocalPlaylistEntry& entry : aPlaylist.entries()) {
        const Track& track = aTracks.at(entry.trackIndex);
        const QByteArray info = "#EXTINF:0," + track.trackName().toUtf8();
        logValue("Writing track: ", QString::fromUtf8(info));
        logValue("bytesWritten", static_cast<int>(writeLine(file, info)));
        const QByteArray path = ".." + deviceDataPath(track.deviceId()).toUtf8();
        logValue("Writing track data: ", QString::fromUtf8(path));
        logValue("bytesWritten", static_cast<int>(writeLine(file, path)));
    }
    file.close();
    return log.ret(0);
}

bool Device::identicalPlaylistAlreadyExists(const QString& aPlaylistPath, const LocalPlaylist& aPlaylist,
                                            const TrackList& aTracks)
{
    LogScope log("Device::identicalPlaylistAlreadyExists");
    logValue("aRemotePlaylistPath", aPlaylistPath);
    QFile file(aPlaylistPath);
    if (!file.open(QIODevice::ReadOnly)) {
        logMessage("Can't open playlist file.");
        return log.ret(false);
    }
    auto readLine = [&file] {
        QString line = QString::fromUtf8(file.readLine());
        if (line.endsWith(QLatin1String("\r\n")))
            line.chop(2);
        return line;
    };
    file.readLine();
    bool identical = true;
    for (auto entry = aPlaylist.entries().begin(); entry != aPlaylist.entries().end() && identical; ++entry) {
        file.readLine();
        const QString remote = readLine();
        logValue("remoteFilePathFromDevice", remote);
        const QString expected =
            QStringLiteral("..") + deviceDataPath(aTracks.at(entry->trackIndex).deviceId());
        logValue("expectedPath", expected);
        if (remote != expected) {
            logMessage("Playlist is not identical");
            identical = false;
        }
    }
    if (!readLine().isEmpty()) {
        logMessage("PLaylist is not identical because the existing one has extra stuff at the end");
        identical = false;
    }
    logValue("playlistIsIdentical returns:", identical);
    return log.ret(identical);
}
