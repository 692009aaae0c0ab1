#include "tracks/TrackList.h"

#include "app/DiagnosticLog.h"

#include "tracks/SourceFile.h"

#include <utility>

int TrackList::addTrack(const Track& aTrack)
{
    return add(aTrack);
}

int TrackList::addTrack(Track&& aTrack)
{
    return add(std::move(aTrack));
}

template <typename T> int TrackList::add(T&& aTrack)
{
    const QString uniqueId = aTrack.uniqueId();
    logValue("trackUniqueId", uniqueId);
    const auto found = mUniqueIdIndex.constFind(uniqueId);
    if (found != mUniqueIdIndex.constEnd()) {
        logMessage("Track already exists");
        merge(found.value(), aTrack);
        return found.value();
    }
    const int position = count();
    mTracks.push_back(std::forward<T>(aTrack));
    Track& added = mTracks.back();
    added.rememberUniqueId(uniqueId);
    if (added.onLocalSyncPlaylist() && !added.onRemoteDevice())
        ++mTotalTracksToCopy;
    if (added.onRemoteDevice())
        mTotalSizeOnDevice += added.sizeOnDevice();
    if (added.onLocalSyncPlaylist())
        mTotalLocalSize += added.localSize();
    mUniqueIdIndex.insert(uniqueId, position);
    if (added.hasLibraryId())
        mLibraryIdIndex.insert(added.getLibraryId(), position);
    return position;
}

void TrackList::merge(int aPosition, const Track& aTrack)
{
    Track& existing = at(aPosition);
    // The cached track's texts are the library's: one copy of them is kept.
    existing.shareTextsWith(aTrack);
    // The same path needs no look: the cached and the library track of a run mostly agree.
    if (existing.path() != aTrack.path() && !SourceFile::isPresent(existing.path())) {
        logValue("Current file doesn't exist:", existing.path());
        logValue("Replacing with new path:", aTrack.path());
        existing.setPath(aTrack.path());
    }
    if (existing.dateAdded() == 0)
        existing.setDateAdded(aTrack.dateAdded());
    const bool arrivesOnDevice = aTrack.onRemoteDevice() && !existing.onRemoteDevice();
    if (arrivesOnDevice)
        mTotalSizeOnDevice += aTrack.sizeOnDevice();
    if (aTrack.onLocalSyncPlaylist() && !existing.onLocalSyncPlaylist()) {
        mTotalLocalSize += aTrack.localSize();
        if (!existing.onRemoteDevice()) {
            logMessage("mTotalTracksToCopy++");
            ++mTotalTracksToCopy;
        }
    }
    // Counted as to copy until now, and found to be on the device after all.
    if (arrivesOnDevice && (existing.onLocalSyncPlaylist() || aTrack.onLocalSyncPlaylist())) {
        logMessage("mTotalTracksToCopy--");
        --mTotalTracksToCopy;
    }
    // Flags are only ever added by a merge.
    if (aTrack.onLocalSyncPlaylist())
        existing.setOnLocalSyncPlaylist(true);
    if (aTrack.onRemoteDevice())
        existing.setOnRemoteDevice(true);
    if (aTrack.needsConversion())
        existing.setConvertToMp3(true);
    if (aTrack.isCompilation())
        existing.setIsCompilation(true);
    if (aTrack.hasLibraryId()) {
        existing.setLibraryId(aTrack.getLibraryId());
        mLibraryIdIndex.insert(aTrack.getLibraryId(), aPosition);
    }
    if (aTrack.inCache())
        existing.setInCache(true);
}

bool TrackList::findByLibraryId(const QString& aLibraryId, int& aPosition) const
{
    const auto found = mLibraryIdIndex.constFind(aLibraryId);
    if (found == mLibraryIdIndex.constEnd())
        return false;
    aPosition = found.value();
    return true;
}

bool TrackList::findByUniqueId(const QString& aUniqueId, int& aPosition) const
{
    const auto found = mUniqueIdIndex.constFind(aUniqueId);
    if (found == mUniqueIdIndex.constEnd())
        return false;
    aPosition = found.value();
    return true;
}

void TrackList::setOffDevice(int aPosition)
{
    Track& track = at(aPosition);
    if (!track.onRemoteDevice())
        return;
    mTotalSizeOnDevice -= track.sizeOnDevice();
    track.setOnRemoteDevice(false);
    if (track.onLocalSyncPlaylist())
        ++mTotalTracksToCopy;
}

void TrackList::reserve(int aCount)
{
    if (aCount > mUniqueIdIndex.capacity())
        mUniqueIdIndex.reserve(aCount);
    if (aCount > mLibraryIdIndex.capacity())
        mLibraryIdIndex.reserve(aCount);
}
