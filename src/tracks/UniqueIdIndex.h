#pragma once

// The positions of a run's tracks by the unique id each was listed under.
#include <QString>
#include <QtGlobal>

#include <vector>

// Tracks are listed once each, in position order, under the unique id they had then (kept as
// it was: a track whose id changes later stays listed under its first). Held in one flat table
// of 8-byte slots (part of the id's hash and its position, open addressing with linear probing)
// beside the ids in position order: finding or adding one of 100,000 ids touches a slot or two
// and compares an id's text only when the hashes agree. The hash is seeded per process, so no
// library can be made to collide its ids.
class UniqueIdIndex
{
public:
    // The position listed under aId; -1 when none is. aGuess, a position that may be it, is
    // tried first: the library lists an album's tracks in the order the cache does, so the track
    // after the last one found is often the next one asked for.
    int find(const QString& aId, int aGuess = -1) const;
    // The position listed under aId, or, when none is, lists it for the next position (count())
    // and returns that: one search for both.
    int findOrAdd(const QString& aId, int aGuess = -1);
    int count() const { return static_cast<int>(mIds.size()); }
    // Room for aCount ids without growing the table.
    void reserve(int aCount);

private:
    static constexpr quint64 kEmpty = 0;
    static quint64 slotFor(quint64 aHash, int aPosition) { return (aHash << 32) | quint32(aPosition + 1); }
    static int positionIn(quint64 aSlot) { return static_cast<int>(aSlot & 0xFFFFFFFFu) - 1; }
    quint64 hashOf(const QString& aId) const;
    bool isAt(const QString& aId, int aPosition) const
    {
        return aPosition >= 0 && aPosition < count() && mIds[static_cast<std::size_t>(aPosition)] == aId;
    }
    void grow(std::size_t aSlots);

    std::vector<quint64> mSlots; // a power of two of them, at most half used
    std::vector<QString> mIds;   // by position
};
