#include "library/itunes/xml/XmlLibrary.h"

#include "library/itunes/xml/LibraryLocation.h"

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

bool XmlLibrary::locationsNeedLooking() const
{
    const std::shared_ptr<const MappedLocations> mapped = mappedLocations();
    {
        QMutexLocker lock(&mLazyMutex);
        if (mNeedLooking >= 0 && mNeedLookingOf == mapped)
            return mNeedLooking != 0;
    }
    const QString& folder = mapped ? mapped->musicFolder : musicFolder;
    bool any = false;
    for (std::size_t index = 0; index < tracks.size() && !any; ++index)
        any = LibraryLocation::needsLooking(mapped ? mapped->locations[index] : tracks[index].location,
                                            folder, xmlFolder);
    QMutexLocker lock(&mLazyMutex);
    mNeedLooking = any ? 1 : 0;
    mNeedLookingOf = mapped;
    return any;
}
