// The playlist file format shared by every device: its bytes, writing it to a local file and
// comparing a playlist with one already written.
#include "devices/Device.h"

#include "app/LogScope.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QFile>
#include <QStringEncoder>

#include <algorithm>

namespace {

// Appends aText as UTF-8 without a converted copy of it on the way.
void appendUtf8(QByteArray& aOut, const QString& aText)
{
    QStringEncoder encoder(QStringConverter::Utf8);
    const qsizetype start = aOut.size();
    const qsizetype room = start + encoder.requiredSpace(aText.size());
    // Room for the worst case (three bytes a unit) is made by doubling: growing to each exact
    // size would move a playlist of 100,000 tracks thousands of times.
    if (room > aOut.capacity())
        aOut.reserve(std::max(room, 2 * aOut.capacity()));
    aOut.resize(room);
    char* const end = encoder.appendToBuffer(aOut.data() + start, aText);
    aOut.resize(end - aOut.constData());
}

} // namespace

QByteArray Device::playlistContent(const LocalPlaylist& aPlaylist, const TrackList& aTracks,
                                   const QByteArray& aPathPrefix, bool aIncludeName)
{
    QByteArray content = "#EXTM3U\r\n";
    if (aIncludeName)
        content += "#NAME:" + aPlaylist.name().toUtf8() + "\r\n";
    // Appended in place: a playlist of the whole library has 100,000 entries.
    content.reserve(content.size() + static_cast<qsizetype>(aPlaylist.entries().size()) * 96);
    for (const LocalPlaylistEntry& entry : aPlaylist.entries()) {
        const Track& track = aTracks.at(entry.trackIndex);
        // A track that is not on the device (its copy failed) would be a line naming nothing.
        if (track.deviceId().isEmpty() || !track.onRemoteDevice())
            continue;
        const qsizetype infoStart = content.size();
        content += "#EXTINF:0,";
        appendUtf8(content, track.trackName());
        content += "\r\n";
        const qsizetype pathStart = content.size();
        content += aPathPrefix;
        appendUtf8(content, deviceDataPath(track.deviceId()));
        content += "\r\n";
        if (logIsOn()) {
            logValue("Writing track: ", QString::fromUtf8(content.mid(infoStart, pathStart - infoStart)));
            logValue("Writing track data: ", QString::fromUtf8(content.mid(pathStart)));
        }
    }
    return content;
}

int Device::createPlaylist(const LocalPlaylist& aPlaylist, const TrackList& aTracks,
                           const QString& aLocalFilePath, bool aIncludeName)
{
    LogScope log("Device::createPlaylist");
    QFile file(aLocalFilePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        logMessage("Error opening playlist file");
    const QByteArray content = playlistContent(aPlaylist, aTracks, "..", aIncludeName);
    logValue("bytesWritten", static_cast<int>(file.write(content)));
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
        QString line = QString::fromUtf8(file.readLine(64 * 1024));
        if (line.endsWith(QLatin1String("\r\n")))
            line.chop(2);
        return line;
    };
    file.readLine(64 * 1024);
    bool identical = true;
    for (auto entry = aPlaylist.entries().begin(); entry != aPlaylist.entries().end() && identical; ++entry) {
        const Track& track = aTracks.at(entry->trackIndex);
        if (track.deviceId().isEmpty() || !track.onRemoteDevice())
            continue; // written without a line
        file.readLine(64 * 1024);
        const QString remote = readLine();
        logValue("remoteFilePathFromDevice", remote);
        const QString expected = QStringLiteral("..") + deviceDataPath(track.deviceId());
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
