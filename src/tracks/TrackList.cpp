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
    const int position = count();
    // The track next to the last one found, on the side the one before was, is tried first,
    // without making the new track's id: the library lists an album's tracks in the order the
    // cache holds them, or in the opposite order (a first run uploads from the last track).
    const int guess = mLastFound + mStep;
    int found = guess;
    if (!aTrack.hasUniqueId(mUniqueIdIndex.idAt(guess))) {
        Track::IdText uniqueId;
        found = mUniqueIdIndex.findOrAdd(aTrack.writeUniqueId(uniqueId));
    }
    if (logIsOn())
        logValue("trackUniqueId", mUniqueIdIndex.idAt(found).toString());
    if (found == mLastFound - 1 || found == mLastFound + 1)
        mStep = found - mLastFound;
    mLastFound = found;
    if (found != position) {
        logMessage("Track already exists");
        merge(found, aTrack);
        return found;
    }
    Track& added = append(std::forward<T>(aTrack));
    if (added.onLocalSyncPlaylist() && !added.onRemoteDevice())
        ++mTotalTracksToCopy;
    if (added.onRemoteDevice())
        mTotalSizeOnDevice += added.sizeOnDevice();
    if (added.onLocalSyncPlaylist())
        mTotalLocalSize += added.localSize();
    if (added.hasLibraryId())
        indexLibraryId(added, position);
    return position;
}

template <typename T> Track& TrackList::append(T&& aTrack)
{
    // A copied list's last block holds only what it had: it gets its room back first.
    if (mBlocks.empty() || mBlocks.back().size() == kBlock)
        mBlocks.emplace_back();
    std::vector<Track>& block = mBlocks.back();
    if (block.capacity() < kBlock)
        block.reserve(kBlock);
    block.push_back(std::forward<T>(aTrack));
    ++mCount;
    return block.back();
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
        existing.setLibraryIdOf(aTrack);
        indexLibraryId(aTrack, aPosition);
    }
    if (aTrack.inCache())
        existing.setInCache(true);
}

void TrackList::indexLibraryId(const Track& aTrack, int aPosition)
{
    int number = 0;
    if (aTrack.libraryNumber(number))
        mNumericLibraryIdIndex.insert(number, aPosition);
    else
        mLibraryIdIndex.insert(aTrack.getLibraryId(), aPosition);
}

bool TrackList::findByLibraryId(const QString& aLibraryId, int& aPosition) const
{
    int number = 0;
    if (Track::plainNumber(aLibraryId, number)) {
        const auto found = mNumericLibraryIdIndex.constFind(number);
        if (found == mNumericLibraryIdIndex.constEnd())
            return false;
        aPosition = found.value();
        return true;
    }
    const auto found = mLibraryIdIndex.constFind(aLibraryId);
    if (found == mLibraryIdIndex.constEnd())
        return false;
    aPosition = found.value();
    return true;
}

bool TrackList::findByUniqueId(QStringView aUniqueId, int& aPosition) const
{
    const int found = mUniqueIdIndex.find(aUniqueId);
    if (found < 0)
        return false;
    aPosition = found;
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
    mUniqueIdIndex.reserve(aCount);
    if (aCount > mNumericLibraryIdIndex.capacity())
        mNumericLibraryIdIndex.reserve(aCount);
}
