// The track cache and its identifier file (the home folder's, maybe damaged or planted).
#include "fuzz/FuzzSupport.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"
#include "tracks/TrackList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    const auto [cache, ids] = fuzz::split(fuzz::bytes(aData, aSize));
    const QString path = fuzz::file(QStringLiteral("KORDA/mcache0"), cache);
    fuzz::file(QStringLiteral("KORDA/mcache0p"), ids);
    TrackCache reader;
    const int opened = reader.openFiles(path);
    if (opened == TrackCache::kResultOk || opened == TrackCache::kNewCacheFile) {
        TrackList tracks;
        reader.updateTrackList(tracks, -1);
        for (Track& track : tracks)
            reader.removeDeletedTrack(track);
    }
    return 0;
}
