#pragma once

#include "tracks/Track.h"
#include "tracks/UniqueIdIndex.h"

#include <QHash>
#include <QString>

#include <vector>

// The tracks of one sync, merged by unique id: cached tracks first, then library tracks, so a
// merged track keeps the cache's device identity and record positions and takes the library's
// path, date, flags and library id. Positions are stable: tracks are never removed one by one.
// Held in blocks of 64 tracks: a list of 100,000 tracks grows without moving what it holds, in
// a few thousand allocations rather than one per track or two.
class TrackList
{
public:
    // Visits the tracks in position order.
    template <typename List, typename Value> class Iterator
    {
    public:
        Iterator(List* aList, int aPosition) : mList(aList), mPosition(aPosition) {}
        Value& operator*() const { return mList->at(mPosition); }
        Value* operator->() const { return &mList->at(mPosition); }
        Iterator& operator++()
        {
            ++mPosition;
            return *this;
        }
        bool operator==(const Iterator& aOther) const { return mPosition == aOther.mPosition; }
        bool operator!=(const Iterator& aOther) const { return mPosition != aOther.mPosition; }

    private:
        List* mList;
        int mPosition;
    };
    using iterator = Iterator<TrackList, Track>;
    using const_iterator = Iterator<const TrackList, const Track>;

    // Adds t, or merges it into the listed track of the same unique id; returns its position.
    int addTrack(const Track& aTrack);
    int addTrack(Track&& aTrack);

    Track& at(int aPosition)
    {
        return mBlocks[static_cast<std::size_t>(aPosition) / kBlock]
                      [static_cast<std::size_t>(aPosition) % kBlock];
    }
    const Track& at(int aPosition) const
    {
        return mBlocks[static_cast<std::size_t>(aPosition) / kBlock]
                      [static_cast<std::size_t>(aPosition) % kBlock];
    }
    int count() const { return mCount; }
    iterator begin() { return iterator(this, 0); }
    iterator end() { return iterator(this, mCount); }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, mCount); }

    // Room in the indexes for aCount tracks, so that adding that many never rehashes them.
    void reserve(int aCount);
    // The same for tracks without library ids (the cache's): the unique id index alone, with
    // room for about aUnits UTF-16 units of ids.
    void reserveUniqueIds(int aCount, qsizetype aUnits) { mUniqueIdIndex.reserve(aCount, aUnits); }

    bool findByLibraryId(const QString& aLibraryId, int& aPosition) const;
    bool findByUniqueId(QStringView aUniqueId, int& aPosition) const;

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
    void indexLibraryId(const Track& aTrack, int aPosition);

    static constexpr std::size_t kBlock = 64;
    // Appends aTrack in place; a block is reserved whole when started, so adding never moves.
    template <typename T> Track& append(T&& aTrack);

    std::vector<std::vector<Track>> mBlocks;
    int mCount = 0;
    UniqueIdIndex mUniqueIdIndex;
    int mLastFound = -1; // the position the last track added went to or merged into
    int mStep = 1;       // and the side of it the one before was
    // Library ids by position: those that are plain numbers (every id of an iTunes library) by
    // their value, which hashes and compares faster than their text; any other by its text.
    QHash<int, int> mNumericLibraryIdIndex;
    QHash<QString, int> mLibraryIdIndex;
    int mTotalTracksToCopy = 0;
    qint64 mTotalLocalSize = 0;
    qint64 mTotalSizeOnDevice = 0;
};
