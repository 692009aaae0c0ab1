#include "tracks/HashSlots.h"

void HashSlots::reserve(std::size_t aCount)
{
    std::size_t wanted = 16;
    while (wanted < aCount * 2)
        wanted *= 2;
    if (wanted > mSlots.size())
        grow(wanted);
}

void HashSlots::grow(std::size_t aSlots)
{
    std::vector<quint64> table(aSlots, kEmpty);
    const std::size_t mask = aSlots - 1;
    for (const quint64 slot : mSlots) {
        if (slot == kEmpty)
            continue;
        std::size_t at = hashIn(slot) & mask;
        while (table[at] != kEmpty)
            at = (at + 1) & mask;
        table[at] = slot;
    }
    mSlots.swap(table);
}

void HashSlots::close(std::size_t aAt)
{
    const std::size_t mask = mSlots.size() - 1;
    std::size_t hole = aAt;
    for (std::size_t next = (hole + 1) & mask; mSlots[next] != kEmpty; next = (next + 1) & mask) {
        // A slot may fill the hole when its home is not between the hole and itself (cyclically).
        const std::size_t home = hashIn(mSlots[next]) & mask;
        const bool homeAfterHole =
            hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
        if (!homeAfterHole) {
            mSlots[hole] = mSlots[next];
            hole = next;
        }
    }
    mSlots[hole] = kEmpty;
    --mUsed;
}
