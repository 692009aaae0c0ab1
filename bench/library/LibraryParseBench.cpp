// Reading a large iTunes library: a generated 100,000-track, 200-playlist library XML file
// (about 95 MB) is parsed, its playlists listed and the Music playlist read in full, as one sync
// does. Prints the time of each step and the process's peak memory.
//
//   bench_library_parse [FILE]   (made when missing; default /tmp/veltrane-bench-library.xml)
//   bench_library_parse --generate FILE
#include "library/LocalMusicLibrary.h"
#include "library/itunes/xml/ITunesXmlBackend.h"
#include "support/LibraryXmlWriter.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/TrackList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kTracks = 100000;
constexpr int kPlaylists = 200;

void generate(const QString& aPath)
{
    LibraryXmlWriter writer;
    writer.tracks.reserve(kTracks);
    for (int i = 0; i < kTracks; ++i) {
        const QString artist = QString("Artist %1").arg(i / 120);
        const QString album = QString("Album %1").arg(i / 12);
        const QString name = QString("Track %1").arg(i);
        writer.tracks.append(
            {i + 1, name, artist, album,
             LibraryXmlWriter::fileUrl(
                 QString("/home/user/Music/iTunes/iTunes Media/Music/%1/%2/%3.m4a").arg(artist, album, name)),
             4000000 + i});
    }
    XmlPlaylistEntry master{"Library", true, -1, false, false, false, {}};
    XmlPlaylistEntry music{"Music", false, 4, false, false, false, {}};
    for (int i = 0; i < kTracks; ++i) {
        master.trackIds.append(i + 1);
        music.trackIds.append(i + 1);
    }
    writer.playlists = {master, music};
    for (int p = 2; p < kPlaylists; ++p) {
        XmlPlaylistEntry playlist{QString("Playlist %1").arg(p), false, -1, false, false, p % 10 == 0, {}};
        for (int t = 0; t < 120; ++t)
            playlist.trackIds.append((p * 7919 + t * 104729) % kTracks + 1);
        writer.playlists.append(playlist);
    }
    writer.writeTo(aPath);
}

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 2 && arguments[1] == "--generate") {
        generate(arguments[2]);
        return 0;
    }
    const QString path = arguments.size() > 1 ? arguments[1] : QString("/tmp/veltrane-bench-library.xml");
    if (!QFileInfo::exists(path)) {
        // Made by a child process, so that its memory doesn't count in this one's peak.
        std::printf("generating %s\n", qPrintable(path));
        QProcess::execute(QCoreApplication::applicationFilePath(), {"--generate", path});
    }
    std::printf("library file: %.1f MB\n", QFileInfo(path).size() / 1e6);
    const long baseline = peakMegabytes();

    QElapsedTimer total;
    total.start();
    auto backend = std::make_shared<ITunesXmlBackend>(path);
    LocalMusicLibrary library(backend);
    QElapsedTimer step;
    step.start();
    QString where;
    const bool parsed = backend->library(where) != nullptr;
    std::printf("parse:              %6lld ms%s\n", step.restart(), parsed ? "" : " (FAILED)");
    library.refreshPlaylists();
    std::printf("refreshPlaylists:   %6lld ms (%lld playlists)\n", step.restart(),
                static_cast<long long>(library.playlists(true).size()));
    TrackList tracks, drm, missing;
    LocalPlaylist music;
    library.getAllTracks(QString(), tracks, false, drm, missing, music, true, nullptr);
    std::printf("getAllTracks Music: %6lld ms (%d tracks)\n", step.restart(), tracks.count());
    std::printf("total:              %6lld ms (target under 1500 ms)\n", total.elapsed());
    std::printf("peak memory:        %6ld MB (before reading %ld MB; target under 200 MB)\n", peakMegabytes(),
                baseline);
    return parsed && tracks.count() == kTracks ? 0 : 1;
}
