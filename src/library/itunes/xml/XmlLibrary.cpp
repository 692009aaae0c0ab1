#include "library/itunes/xml/XmlLibrary.h"

std::shared_ptr<const XmlLibrary::MappedLocations> XmlLibrary::mappedLocations() const
{
    QMutexLocker lock(&mLazyMutex);
    if (!mPathMap || mPathMap->isEmpty())
        return nullptr;
    if (mMapped && mMapped->mappings == mPathMap->mappings())
        return mMapped;
    auto mapped = std::make_shared<MappedLocations>();
    mapped->mappings = mPathMap->mappings();
    mapped->locations.reserve(tracks.size());
    for (const TrackData& track : tracks)
        mapped->locations.push_back(mPathMap->apply(track.location));
    mapped->musicFolder = mPathMap->apply(musicFolder);
    mMapped = std::move(mapped);
    return mMapped;
}
