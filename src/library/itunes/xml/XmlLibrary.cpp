#include "library/itunes/xml/XmlLibrary.h"

#include "library/itunes/xml/LibraryLocation.h"

void XmlLibrary::applyPathMap(const LibraryPathMap& aMap)
{
    mMappedWith = aMap.mappings();
    if (aMap.isEmpty())
        return;
    for (TrackData& track : tracks)
        track.location = aMap.apply(track.location);
    musicFolder = aMap.apply(musicFolder);
}

bool XmlLibrary::locationsNeedLooking() const
{
    {
        QMutexLocker lock(&mLazyMutex);
        if (mNeedLooking >= 0)
            return mNeedLooking != 0;
    }
    bool any = false;
    for (std::size_t index = 0; index < tracks.size() && !any; ++index)
        any = LibraryLocation::needsLooking(tracks[index].location, musicFolder, xmlFolder);
    QMutexLocker lock(&mLazyMutex);
    mNeedLooking = any ? 1 : 0;
    return any;
}
