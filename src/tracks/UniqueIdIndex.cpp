#include "tracks/UniqueIdIndex.h"

#include <QHashFunctions>

quint32 UniqueIdIndex::hashOf(const QString& aId)
{
    return static_cast<quint32>(qHash(aId, QHashSeed::globalSeed()));
}

int UniqueIdIndex::find(const QString& aId) const
{
    return mSlots.find(hashOf(aId),
                       [&](int aPosition) { return mIds[static_cast<std::size_t>(aPosition)] == aId; });
}

int UniqueIdIndex::findOrAdd(const QString& aId)
{
    const int position = mSlots.findOrAdd(
        hashOf(aId), count(), [&](int aListed) { return mIds[static_cast<std::size_t>(aListed)] == aId; });
    if (position == count())
        mIds.push_back(aId);
    return position;
}

void UniqueIdIndex::reserve(int aCount)
{
    mSlots.reserve(static_cast<std::size_t>(aCount));
    mIds.reserve(static_cast<std::size_t>(aCount));
}
