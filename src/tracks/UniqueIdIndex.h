#pragma once

// The positions of a run's tracks by the unique id each was listed under.
#include "tracks/HashSlots.h"

#include <QString>

#include <vector>

// Tracks are listed once each, in position order, under the unique id they had then (kept as
// it was: a track whose id changes later stays listed under its first). The ids are kept in
// position order and found through hash slots: finding or adding one of 100,000 ids touches a
// slot or two and compares an id's text only when the hashes agree. The hash is seeded per
// process, so no library can be made to collide its ids.
class UniqueIdIndex
{
public:
    // The position listed under aId; -1 when none is.
    int find(const QString& aId) const;
    // The position listed under aId, or, when none is, lists it for the next position (count())
    // and returns that: one search for both.
    int findOrAdd(const QString& aId);
    int count() const { return static_cast<int>(mIds.size()); }
    // The id listed for aPosition; null when there is no such position.
    const QString* idAt(int aPosition) const
    {
        return aPosition >= 0 && aPosition < count() ? &mIds[static_cast<std::size_t>(aPosition)] : nullptr;
    }
    // Room for aCount ids without growing the table.
    void reserve(int aCount);

private:
    static quint32 hashOf(const QString& aId);

    HashSlots mSlots;
    std::vector<QString> mIds; // by position
};
