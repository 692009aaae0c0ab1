#include "tracks/UniqueIdIndex.h"

#include <QHashFunctions>

quint32 UniqueIdIndex::hashOf(QStringView aId)
{
    return static_cast<quint32>(qHash(aId, QHashSeed::globalSeed()));
}

int UniqueIdIndex::find(QStringView aId) const
{
    return mSlots.find(hashOf(aId), [&](int aPosition) { return idAt(aPosition) == aId; });
}

int UniqueIdIndex::findOrAdd(QStringView aId)
{
    const int position =
        mSlots.findOrAdd(hashOf(aId), count(), [&](int aListed) { return idAt(aListed) == aId; });
    if (position == count()) {
        mText.append(aId);
        mEnds.push_back(mText.size());
    }
    return position;
}

void UniqueIdIndex::reserve(int aCount, qsizetype aUnits)
{
    mSlots.reserve(static_cast<std::size_t>(aCount));
    mEnds.reserve(static_cast<std::size_t>(aCount));
    if (aUnits > mText.capacity())
        mText.reserve(aUnits);
}
