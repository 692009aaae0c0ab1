// The track cache and the track list at the sizes of a large library: reading a 100,000-record
// cache into a TrackList (target under 0.3 s with logging off), appending 10,000 records, and
// merging 100,000 library tracks into 100,000 cached ones.
#include "app/ApplicationPaths.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

Track makeTrack(int aIndex)
{
    const QString artist = QString("Artist %1").arg(aIndex / 120);
    const QString album = QString("Album %1").arg(aIndex / 12);
    const QString name = QString("Track number %1 of the library").arg(aIndex);
    Track track(name, album, artist, aIndex % 12 + 1,
                QString("/home/user/Music/iTunes/iTunes Media/Music/%1/%2/%3.m4a").arg(artist, album, name),
                true, true, false, QString("\\Music\\%1\\%2\\%3.m4a").arg(artist, album, name));
    track.setSizeOnDevice(4'000'000 + aIndex);
    track.setLocalSize(4'000'000 + aIndex);
    return track;
}

// A cache of aCount records in a temporary folder, made once per benchmark.
QString buildCache(const QTemporaryDir& aFolder, int aCount)
{
    const QString path = aFolder.path() + "/mcache0";
    TrackCache cache;
    cache.openFiles(path);
    cache.readHeader();
    for (int i = 0; i < aCount; ++i) {
        Track track = makeTrack(i);
        cache.addTrack(track);
    }
    return path;
}

void readCache(benchmark::State& aState)
{
    QTemporaryDir folder;
    const QString path = buildCache(folder, static_cast<int>(aState.range(0)));
    for (auto _ : aState) {
        TrackCache cache;
        cache.openFiles(path);
        TrackList list;
        cache.updateTrackList(list, -1);
        if (list.count() != aState.range(0))
            aState.SkipWithError("not every record was read");
        benchmark::DoNotOptimize(list.count());
    }
    aState.SetItemsProcessed(aState.iterations() * aState.range(0));
}
BENCHMARK(readCache)->Arg(100000)->Unit(benchmark::kMillisecond);

void appendRecords(benchmark::State& aState)
{
    for (auto _ : aState) {
        aState.PauseTiming();
        QTemporaryDir folder;
        TrackCache cache;
        cache.openFiles(folder.path() + "/mcache0");
        cache.readHeader();
        std::vector<Track> tracks;
        for (int i = 0; i < aState.range(0); ++i)
            tracks.push_back(makeTrack(i));
        aState.ResumeTiming();
        for (Track& track : tracks)
            cache.addTrack(track);
    }
    aState.SetItemsProcessed(aState.iterations() * aState.range(0));
}
BENCHMARK(appendRecords)->Arg(10000)->Unit(benchmark::kMillisecond);

void mergeLibraryIntoCache(benchmark::State& aState)
{
    const int count = static_cast<int>(aState.range(0));
    std::vector<Track> cached, library;
    for (int i = 0; i < count; ++i) {
        Track track = makeTrack(i);
        track.setOnLocalSyncPlaylist(false);
        track.setInCache(true);
        cached.push_back(track);
        Track local = makeTrack(i);
        local.setOnRemoteDevice(false);
        local.setDeviceId(QString());
        local.setLibraryId(QString::number(i));
        library.push_back(local);
    }
    for (auto _ : aState) {
        aState.PauseTiming();
        TrackList list;
        for (const Track& track : cached)
            list.addTrack(track);
        aState.ResumeTiming();
        for (const Track& track : library)
            list.addTrack(track);
        if (list.totalTracksToCopy() != 0)
            aState.SkipWithError("merge counted tracks to copy");
    }
    aState.SetItemsProcessed(aState.iterations() * count);
}
BENCHMARK(mergeLibraryIntoCache)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
