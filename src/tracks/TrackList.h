#pragma once

#include "tracks/Track.h"

#include <QHash>
#include <QString>

#include <deque>

// The tracks of one sync, merged by unique id: cached tracks first, then library tracks, so a
// merged track keeps the cache's device identity and record positions and takes the library's
// path, date, flags and library id. Positions are stable: tracks are never removed one by one.
// Held in a deque: a list of 100,000 tracks grows without moving or doubling what it holds.
class TrackList
{
public:
    // Adds t, or merges it into the listed track of the same unique id; returns its position.
    int addTrack(const Track& aTrack);
    int addTrack(Track&& aTrack);

    Track& at(int aPosition) { return mTracks[static_cast<std::size_t>(aPosition)]; }
    const Track& at(int aPosition) const { return mTracks[static_cast<std::size_t>(aPosition)]; }
    int count() const { return static_cast<int>(mTracks.size()); }
    std::deque<Track>::iterator begin() { return mTracks.begin(); }
    std::deque<Track>::iterator end() { return mTracks.end(); }
    std::deque<Track>::const_iterator begin() const { return mTracks.begin(); }
    std::deque<Track>::const_iterator end() const { return mTracks.end(); }

    // Room in the indexes for aCount tracks, so that adding that many never rehashes them.
    void reserve(int aCount);

    bool findByLibraryId(const QString& aLibraryId, int& aPosition) const;
    bool findByUniqueId(const QString& aUniqueId, int& aPosition) const;

    int totalTracksToCopy() const { return mTotalTracksToCopy; }
    qint64 totalLocalSize() const { return mTotalLocalSize; }
    qint64 totalSizeOnDevice() const { return mTotalSizeOnDevice; }
    void setTotalSizeOnDevice(qint64 aSize) { mTotalSizeOnDevice = aSize; }

    // The track at aPosition is no longer on the device (its file is another track's): the totals
    // follow, and a chosen track counts as one to copy again.
    void setOffDevice(int aPosition);

private:
    template <typename T> int add(T&& aTrack);
    void merge(int aPosition, const Track& aTrack);
    void indexLibraryId(const QString& aLibraryId, int aPosition);

    std::deque<Track> mTracks;
    QHash<QString, int> mUniqueIdIndex;
    // Library ids by position: those that are plain numbers (every id of an iTunes library) by
    // their value, which hashes and compares faster than their text; any other by its text.
    QHash<int, int> mNumericLibraryIdIndex;
    QHash<QString, int> mLibraryIdIndex;
    int mTotalTracksToCopy = 0;
    qint64 mTotalLocalSize = 0;
    qint64 mTotalSizeOnDevice = 0;
};
