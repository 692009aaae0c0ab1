#include "support/LibraryXmlWriter.h"

#include <QBuffer>
#include <QFile>
#include <QUrl>

namespace {

QByteArray escaped(const QString& aText)
{
    return aText.toHtmlEscaped().toUtf8();
}

} // namespace

QString LibraryXmlWriter::fileUrl(const QString& aPath)
{
    return QStringLiteral("file://") + QString::fromLatin1(QUrl::toPercentEncoding(aPath, "/"));
}

void LibraryXmlWriter::write(QIODevice& aDevice) const
{
    QByteArray out;
    out.reserve(1 << 20);
    auto flush = [&] {
        aDevice.write(out);
        out.clear();
    };
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n<dict>\n"
           "\t<key>Major Version</key><integer>1</integer>\n\t<key>Minor Version</key><integer>1</integer>\n"
           "\t<key>Application Version</key><string>12.1.2.27</string>\n";
    out += "\t<key>Music Folder</key><string>" + escaped(musicFolder) + "</string>\n";
    out += "\t<key>Library Persistent "
           "ID</key><string>B4C9F3EE26EFAF78</string>\n\t<key>Tracks</key>\n\t<dict>\n";
    for (const XmlTrackEntry& track : tracks) {
        const QByteArray id = QByteArray::number(track.id);
        out +=
            "\t\t<key>" + id + "</key>\n\t\t<dict>\n\t\t\t<key>Track ID</key><integer>" + id + "</integer>\n";
        out += "\t\t\t<key>Name</key><string>" + escaped(track.name) + "</string>\n";
        out += "\t\t\t<key>Artist</key><string>" + escaped(track.artist) + "</string>\n";
        out += "\t\t\t<key>Album Artist</key><string>" + escaped(track.artist) + "</string>\n";
        out += "\t\t\t<key>Album</key><string>" + escaped(track.album) + "</string>\n";
        out += "\t\t\t<key>Genre</key><string>Alternative</string>\n\t\t\t<key>Kind</key><string>MPEG audio "
               "file</string>\n";
        out += "\t\t\t<key>Size</key><integer>" + QByteArray::number(track.size) + "</integer>\n";
        out += "\t\t\t<key>Total Time</key><integer>182674</integer>\n";
        out +=
            "\t\t\t<key>Track Number</key><integer>" + QByteArray::number(track.trackNumber) + "</integer>\n";
        if (track.discNumber > 0)
            out += "\t\t\t<key>Disc Number</key><integer>" + QByteArray::number(track.discNumber) +
                   "</integer>\n";
        out += "\t\t\t<key>Year</key><integer>2012</integer>\n";
        out += "\t\t\t<key>Date Modified</key><date>2015-02-02T15:23:08Z</date>\n";
        out += "\t\t\t<key>Date Added</key><date>" + track.dateAdded.toLatin1() + "</date>\n";
        out += "\t\t\t<key>Bit Rate</key><integer>238</integer>\n\t\t\t<key>Sample "
               "Rate</key><integer>44100</integer>\n";
        out += "\t\t\t<key>Play Count</key><integer>3</integer>\n";
        out += "\t\t\t<key>Persistent ID</key><string>20E89D1580C31363</string>\n";
        if (track.compilation)
            out += "\t\t\t<key>Compilation</key><true/>\n";
        if (track.isProtected)
            out += "\t\t\t<key>Protected</key><true/>\n";
        out += "\t\t\t<key>Track Type</key><string>" + escaped(track.trackType) + "</string>\n";
        if (!track.location.isEmpty())
            out += "\t\t\t<key>Location</key><string>" + escaped(track.location) + "</string>\n";
        out += "\t\t\t<key>File Folder Count</key><integer>-1</integer>\n\t\t</dict>\n";
        if (out.size() > (1 << 20) - 4096)
            flush();
    }
    out += "\t</dict>\n\t<key>Playlists</key>\n\t<array>\n";
    for (const XmlPlaylistEntry& playlist : playlists) {
        out += "\t\t<dict>\n\t\t\t<key>Name</key><string>" + escaped(playlist.name) + "</string>\n";
        if (playlist.master)
            out += "\t\t\t<key>Master</key><true/>\n\t\t\t<key>Visible</key><false/>\n";
        out += "\t\t\t<key>Playlist ID</key><integer>74</integer>\n";
        if (playlist.distinguishedKind >= 0)
            out += "\t\t\t<key>Distinguished Kind</key><integer>" +
                   QByteArray::number(playlist.distinguishedKind) + "</integer>\n";
        if (playlist.podcasts)
            out += "\t\t\t<key>Podcasts</key><true/>\n";
        if (playlist.folder)
            out += "\t\t\t<key>Folder</key><true/>\n";
        out += "\t\t\t<key>All Items</key><true/>\n";
        if (playlist.smart)
            out += "\t\t\t<key>Smart Info</key>\n\t\t\t<data>\n\t\t\tAQEAAwAAAAIAAAAZ\n\t\t\t</data>\n";
        if (!playlist.trackIds.isEmpty()) {
            out += "\t\t\t<key>Playlist Items</key>\n\t\t\t<array>\n";
            for (int id : playlist.trackIds) {
                out += "\t\t\t\t<dict>\n\t\t\t\t\t<key>Track ID</key><integer>" + QByteArray::number(id) +
                       "</integer>\n\t\t\t\t</dict>\n";
                if (out.size() > (1 << 20) - 4096)
                    flush();
            }
            out += "\t\t\t</array>\n";
        }
        out += "\t\t</dict>\n";
    }
    out += "\t</array>\n</dict>\n</plist>\n";
    flush();
}

QByteArray LibraryXmlWriter::toXml() const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return buffer.data();
}

bool LibraryXmlWriter::writeTo(const QString& aPath) const
{
    QFile file(aPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    write(file);
    return true;
}
