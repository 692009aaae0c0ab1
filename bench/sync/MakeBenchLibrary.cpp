// Makes a library for the sync benchmarks: N tracks of S bytes each (12 to an album, 10 albums
// to an artist) in a home folder's iTunes media folder, the library XML in its usual place, one
// playlist holding every track.
//
//   bench_make_library HOME TRACKS BYTES
#include "support/LibraryXmlWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_make_library HOME TRACKS BYTES\n");
        return 2;
    }
    const QString home = QString::fromLocal8Bit(argv[1]);
    const int tracks = QByteArray(argv[2]).toInt();
    const int bytes = QByteArray(argv[3]).toInt();
    const QString media = home + "/Music/iTunes/iTunes Media/Music/";
    QByteArray content(bytes, Qt::Uninitialized);
    QRandomGenerator random(42);
    LibraryXmlWriter writer;
    writer.musicFolder = LibraryXmlWriter::fileUrl(home + "/Music/iTunes/iTunes Media/");
    XmlPlaylistEntry everything{"Everything", false, -1, false, false, false, {}};
    for (int i = 0; i < tracks; ++i) {
        const QString artist = QString("Artist %1").arg(i / 120);
        const QString album = QString("Album %1").arg(i / 12);
        const QString folder = media + artist + "/" + album + "/";
        if (i % 12 == 0)
            QDir().mkpath(folder);
        const QString path = folder + QString("%1 Track %2.mp3").arg(i % 12 + 1, 2, 10, QChar('0')).arg(i);
        for (qsizetype b = 0; b + 4 <= content.size(); b += 4)
            *reinterpret_cast<quint32*>(content.data() + b) = random.generate();
        // Like a real MP3 file, it begins with its (here empty) ID3v2 tag.
        std::memcpy(content.data(), "ID3\x03\x00\x00\x00\x00\x00\x00",
                    std::min<qsizetype>(10, content.size()));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return 1;
        XmlTrackEntry track{i + 1, QString("Track %1").arg(i), artist, album,
                            LibraryXmlWriter::fileUrl(path)};
        track.size = bytes;
        track.trackNumber = i % 12 + 1;
        writer.tracks.append(track);
        everything.trackIds.append(i + 1);
    }
    XmlPlaylistEntry master{"Library", true, -1, false, false, false, everything.trackIds};
    writer.playlists = {master, everything};
    return writer.writeTo(home + "/Music/iTunes/iTunes Music Library.xml") ? 0 : 1;
}
