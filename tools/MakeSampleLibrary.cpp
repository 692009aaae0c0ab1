// Makes a sample home folder for trying Veltrane: an iTunes library in its usual place
// (Music/iTunes/iTunes Music Library.xml) with real audio made by ffmpeg, tags, embedded cover
// art, two playlists, a smart playlist and a podcast; and an empty folder "drive" standing for a
// USB player.
//
//   veltrane-make-sample FOLDER
#include "support/AudioFixtures.h"
#include "support/LibraryXmlWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: veltrane-make-sample FOLDER\n");
        return 2;
    }
    const QString home = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString media = home + "/Music/iTunes/iTunes Media/";
    QDir().mkpath(home + "/drive");

    struct Album
    {
        const char* artist;
        const char* album;
        const char* extension;
        const char* coverFormat;
        unsigned colour;
        QStringList titles;
    };
    const Album albums[] = {
        {"The Sample Band",
         "First Light",
         "mp3",
         "JPG",
         0xd35400,
         {"Dawn", "Morning Road", "Caf\u00e9 at Noon"}},
        {"Quartet Nova", "Blue Hours", "m4a", "PNG", 0x2e86c1, {"Slow Tide", "Night Walk", "Late Train"}},
    };
    LibraryXmlWriter writer;
    writer.musicFolder = LibraryXmlWriter::fileUrl(media);
    int id = 1000;
    QList<int> all;
    for (const Album& album : albums) {
        const QString folder = media + "Music/" + album.artist + "/" + album.album + "/";
        QDir().mkpath(folder);
        const QByteArray cover = fixtures::makeImage(album.coverFormat, 500, album.colour);
        int number = 1;
        for (const QString& title : album.titles) {
            const QString path =
                folder + QString("%1 %2.%3").arg(number, 2, 10, QChar('0')).arg(title, album.extension);
            if (!fixtures::makeAudio(path, title, album.artist, album.album, 3.0) ||
                !fixtures::embedPicture(path, cover)) {
                std::fprintf(stderr, "could not make %s (is ffmpeg installed?)\n", qPrintable(path));
                return 1;
            }
            XmlTrackEntry track{id, title, album.artist, album.album, LibraryXmlWriter::fileUrl(path)};
            track.size = QFileInfo(path).size();
            track.trackNumber = number++;
            writer.tracks.append(track);
            all.append(id++);
        }
    }
    QList<int> episodes;
    for (int episode = 1; episode <= 3; ++episode) {
        const QString folder = media + "Podcasts/Weekly Sample Show/";
        QDir().mkpath(folder);
        const QString path = folder + QString("Episode %1.mp3").arg(episode);
        if (!fixtures::makeAudio(path, QString("Episode %1").arg(episode), "Sample Host",
                                 "Weekly Sample Show", 2.0))
            return 1;
        XmlTrackEntry track{id, QString("Episode %1").arg(episode), "Sample Host", "Weekly Sample Show",
                            LibraryXmlWriter::fileUrl(path)};
        track.size = QFileInfo(path).size();
        track.dateAdded = QString("2026-11-%1T08:00:00Z").arg(episode * 7, 2, 10, QChar('0'));
        writer.tracks.append(track);
        episodes.append(id++);
    }
    XmlPlaylistEntry library{"Library", true, -1, false, false, false, all + episodes};
    XmlPlaylistEntry music{"Music", false, 4, false, false, false, all};
    XmlPlaylistEntry roadTrip{"Road Trip", false, -1, false, false, false, {all[0], all[1], all[3]}};
    XmlPlaylistEntry chill{"Chill", false, -1, false, false, false, {all[4], all[5], all[2]}};
    XmlPlaylistEntry recent{"Recently Added", false, 205, false, false, true, all.mid(3)};
    XmlPlaylistEntry podcasts{"Podcasts", false, 10, true, false, false, episodes};
    writer.playlists = {library, music, roadTrip, chill, recent, podcasts};
    const QString xml = home + "/Music/iTunes/iTunes Music Library.xml";
    if (!writer.writeTo(xml))
        return 1;
    std::printf("Sample library: %s\nSample drive:   %s/drive\n", qPrintable(xml), qPrintable(home));
    return 0;
}
