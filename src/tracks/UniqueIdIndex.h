#pragma once

// The positions of a run's tracks by the unique id each was listed under.
#include "tracks/HashSlots.h"

#include <QString>
#include <QStringView>

#include <vector>

// Tracks are listed once each, in position order, under the unique id they had then (kept as
// it was: a track whose id changes later stays listed under its first). The ids are kept one
// after the other in one text, in position order, and found through hash slots: finding or
// adding one of 100,000 ids touches a slot or two and compares an id's text only when the
// hashes agree, and listing one allocates nothing of its own. The hash is seeded per process,
// so no library can be made to collide its ids.
class UniqueIdIndex
{
public:
    // The position listed under aId; -1 when none is.
    int find(QStringView aId) const;
    // The position listed under aId, or, when none is, lists it for the next position (count())
    // and returns that: one search for both.
    int findOrAdd(QStringView aId);
    int count() const { return static_cast<int>(mEnds.size()); }
    // The id listed for aPosition; empty when there is no such position (a listed id never is:
    // it holds the track number).
    QStringView idAt(int aPosition) const
    {
        if (aPosition < 0 || aPosition >= count())
            return QStringView();
        const qsizetype start = aPosition == 0 ? 0 : mEnds[static_cast<std::size_t>(aPosition) - 1];
        return QStringView(mText).sliced(start, mEnds[static_cast<std::size_t>(aPosition)] - start);
    }
    // Room for aCount ids of about aUnits UTF-16 units in all, without growing the table.
    void reserve(int aCount, qsizetype aUnits = 0);

private:
    static quint32 hashOf(QStringView aId);

    HashSlots mSlots;
    QString mText;                // the listed ids one after the other
    std::vector<qsizetype> mEnds; // where each position's id ends in mText
};
