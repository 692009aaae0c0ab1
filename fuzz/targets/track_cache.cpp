// The track cache and its identifier file (the home folder's, maybe damaged or planted), read
// as a run reads it: alone, and found first then read with texts a library lends.
#include "fuzz/FuzzSupport.h"
#include "tracks/CacheEncoding.h"
#include "tracks/KnownTexts.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"
#include "tracks/TrackList.h"

#include <array>
#include <deque>

namespace {

// A library that holds every path it is asked for (with a title, album and artist of its own).
class EveryPath : public KnownTexts
{
public:
    bool find(QByteArrayView aPath, Texts& aTexts, int& aNear) const override
    {
        if (aPath.size() % 2 != 0)
            return false;
        const QString path = CacheEncoding::fromUtf16Bytes(aPath.data(), aPath.size() / 2);
        mHeld.push_back({QStringLiteral("Title"), QStringLiteral("Album"), QStringLiteral("Artist"), path});
        const auto& held = mHeld.back();
        aTexts = Texts{&held[0], &held[1], &held[2], &held[3]};
        aNear = static_cast<int>(mHeld.size()) - 1;
        return true;
    }

private:
    mutable std::deque<std::array<QString, 4>> mHeld;
};

void read(const QString& aPath, const TrackCache::KnownTextsSource& aTexts)
{
    TrackCache reader;
    const int opened = reader.openFiles(aPath);
    if (opened != TrackCache::kResultOk && opened != TrackCache::kNewCacheFile)
        return;
    TrackList tracks;
    reader.updateTrackList(tracks, -1, aTexts);
    for (Track& track : tracks)
        reader.removeDeletedTrack(track);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    const auto [cache, ids] = fuzz::split(fuzz::bytes(aData, aSize));
    const QString path = fuzz::file(QStringLiteral("KORDA/mcache0"), cache);
    fuzz::file(QStringLiteral("KORDA/mcache0p"), ids);
    read(path, nullptr);
    // The files again, as the first read may have changed them.
    fuzz::file(QStringLiteral("KORDA/mcache0"), cache);
    fuzz::file(QStringLiteral("KORDA/mcache0p"), ids);
    const auto library = std::make_shared<EveryPath>();
    read(path, [library](bool aWait) { return aWait ? library : nullptr; });
    return 0;
}
