// Playlist files on a USB drive: Playlists_VLT\<name>.m3u and the hint file KORDA\playlisthint
// that tells the phone application which playlists to read again.
#include "devices/usbms/UsbMSDevice.h"

#include "app/LogScope.h"
#include "tracks/DevicePaths.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QSet>

namespace {

const QByteArray kEmptyPlaylist = "#EXTM3U\r\n";
const QStringList kPlaylistFolder{QStringLiteral("Playlists_VLT")};
const QStringList kPlaylistHint{QStringLiteral("KORDA"), QStringLiteral("playlisthint")};
// Hints are a line per playlist: a larger file is no hint file.
constexpr qint64 kMaxHintBytes = 16 * 1024 * 1024;

QStringList playlistPath(const QString& aFileName)
{
    return kPlaylistFolder + QStringList{aFileName};
}

} // namespace

QString UsbMSDevice::playlistFileName(const QString& aPlaylistName)
{
    // The iTunes name as it stands when the drive can store it, so existing playlists keep
    // their files; a name with separators or other unstorable characters is made safe, and one
    // too long for the drive is cut (names hold 255 bytes).
    const QString extension = QStringLiteral(".m3u");
    QString name = DevicePaths::cutToUtf8Bytes(safeFileName(aPlaylistName), 255 - extension.size());
    return (name.isEmpty() ? QStringLiteral("_") : name) + extension;
}

QString UsbMSDevice::freePlaylistFileName(const QString& aPlaylistName)
{
    // Two playlists never share one file ("." and "/" both become "_.m3u"): the second one this
    // run gets a number.
    QString fileName = playlistFileName(aPlaylistName);
    const QString stem = fileName.chopped(4);
    for (int n = 2;; ++n) {
        const QString folded = fileName.toCaseFolded();
        const auto owner = mPlaylistOwners.constFind(folded);
        if (owner == mPlaylistOwners.constEnd() || owner.value() == aPlaylistName) {
            mPlaylistOwners.insert(folded, aPlaylistName);
            return fileName;
        }
        const QString number = QStringLiteral(" (%1).m3u").arg(n);
        fileName = DevicePaths::cutToUtf8Bytes(stem, 255 - static_cast<int>(number.toUtf8().size())) + number;
    }
}

int UsbMSDevice::createPlaylist(const LocalPlaylist& aPlaylist, const TrackList& aTracks, bool aForce)
{
    LogScope log("UsbMSDevice::createPlaylist");
    // The copies the playlist names must have their names first.
    commitCopies();
    int result = 0;
    if (!mDrive.makeFolder(kPlaylistFolder)) {
        result = failureCode(kFolderFailed);
        logValue("Error making playlist remote path", root() + QStringLiteral("Playlists_VLT"));
    }
    const QString fileName = freePlaylistFileName(aPlaylist.name());
    const QStringList path = playlistPath(fileName);
    mPlaylistsThisRun.insert(fileName, aForce);
    // What is there is compared with what would be written: an unchanged playlist is neither
    // written again nor hinted to the phone.
    const QByteArray content = playlistContent(aPlaylist, aTracks, QByteArray(), false);
    qint64 size = -1;
    if (!aForce && mDrive.isFile(path, &size) && size == content.size() && mDrive.holds(path, content))
        return log.ret(result);
    logValue("Identical playlist does not already exist", root() + path.join(QLatin1Char('/')));
    if (!mDrive.writeFile(path, content)) {
        logMessage("Error opening playlist file");
        return log.ret(failureCode(result));
    }
    logValue("File contents:", QString::fromUtf8(content));
    appendLine(QStringLiteral("playlisthint"), fileName.toUtf8() + "\n");
    return log.ret(result);
}

void UsbMSDevice::removeOldPlaylists()
{
    LogScope log("UsbMSDevice::removeOldPlaylists");
    commitCopies();
    QStringList files = mDrive.fileNames(kPlaylistFolder);
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const QString& aName) { return !aName.endsWith(QLatin1String(".m3u")); }),
                files.end());
    QSet<QString> hintNames;
    QByteArray hints;
    const bool hintsRead =
        mDrive.readFile(kPlaylistHint, kMaxHintBytes, hints) || mDrive.lastStatus() == DriveFiles::Missing;
    for (const QByteArray& line : hints.split('\n')) {
        if (line.isEmpty())
            break;
        hintNames.insert(QString::fromUtf8(line));
    }
    QByteArray newHints;
    for (const QString& name : files) {
        logValue("*playlistFilesIterator", name);
        const QStringList path = playlistPath(name);
        qint64 size = -1;
        QByteArray existing;
        const bool empty = mDrive.isFile(path, &size) && size == kEmptyPlaylist.size() &&
                           mDrive.readFile(path, size, existing) && existing == kEmptyPlaylist;
        if (!mPlaylistsThisRun.contains(name) && !empty) {
            logMessage("Playlist has not been created this time, so create an empty playlist.");
            if (!mDrive.writeFile(path, kEmptyPlaylist))
                logValue("Could not open playlist", root() + path.join(QLatin1Char('/')));
        }
        if (hintsRead && !hintNames.contains(name)) {
            newHints += name.toUtf8() + "\n";
            hintNames.insert(name);
        }
    }
    if (!newHints.isEmpty())
        mDrive.appendToFile(kPlaylistHint, newHints);
}
