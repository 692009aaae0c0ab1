#include "tracks/UniqueIdIndex.h"

#include <QHashFunctions>

quint64 UniqueIdIndex::hashOf(const QString& aId) const
{
    // The upper half of the slot holds 32 bits of the hash; the lower bits pick the slot.
    const size_t hash = qHash(aId, QHashSeed::globalSeed());
    return static_cast<quint64>(hash) & 0xFFFFFFFFu;
}

int UniqueIdIndex::find(const QString& aId, int aGuess) const
{
    if (isAt(aId, aGuess))
        return aGuess;
    if (mSlots.empty())
        return -1;
    const quint64 hash = hashOf(aId);
    const std::size_t mask = mSlots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const quint64 slot = mSlots[at];
        if (slot == kEmpty)
            return -1;
        if ((slot >> 32) == hash && mIds[static_cast<std::size_t>(positionIn(slot))] == aId)
            return positionIn(slot);
    }
}

int UniqueIdIndex::findOrAdd(const QString& aId, int aGuess)
{
    if (isAt(aId, aGuess))
        return aGuess;
    if ((mIds.size() + 1) * 2 > mSlots.size())
        grow(std::max<std::size_t>(16, mSlots.size() * 2));
    const quint64 hash = hashOf(aId);
    const std::size_t mask = mSlots.size() - 1;
    std::size_t at = hash & mask;
    for (; mSlots[at] != kEmpty; at = (at + 1) & mask) {
        const quint64 slot = mSlots[at];
        if ((slot >> 32) == hash && mIds[static_cast<std::size_t>(positionIn(slot))] == aId)
            return positionIn(slot);
    }
    mSlots[at] = slotFor(hash, count());
    mIds.push_back(aId);
    return count() - 1;
}

void UniqueIdIndex::reserve(int aCount)
{
    std::size_t wanted = 16;
    while (wanted < static_cast<std::size_t>(aCount) * 2)
        wanted *= 2;
    if (wanted > mSlots.size())
        grow(wanted);
    mIds.reserve(static_cast<std::size_t>(aCount));
}

void UniqueIdIndex::grow(std::size_t aSlots)
{
    std::vector<quint64> table(aSlots, kEmpty);
    const std::size_t mask = aSlots - 1;
    for (const quint64 slot : mSlots) {
        if (slot == kEmpty)
            continue;
        std::size_t at = (slot >> 32) & mask;
        while (table[at] != kEmpty)
            at = (at + 1) & mask;
        table[at] = slot;
    }
    mSlots.swap(table);
}
