#pragma once

// The slots of a flat hash table whose entries are kept elsewhere, by index.
#include <QtGlobal>

#include <vector>

// A power of two of 8-byte slots, at most half used, each holding 32 bits of an entry's hash
// and the entry's index (open addressing with linear probing). The owner keeps the entries and
// says which one is wanted (aMatches(index)); it is asked only when the hashes agree. A run's
// indexes of 100,000 tracks touch a slot or two per look-up this way, where a hash of strings
// allocates a node per entry and follows a pointer per comparison.
class HashSlots
{
public:
    // The index of the entry aMatches, -1 when none does.
    template <typename Matches> int find(quint32 aHash, Matches&& aMatches) const
    {
        if (mSlots.empty())
            return -1;
        const std::size_t mask = mSlots.size() - 1;
        for (std::size_t at = aHash & mask;; at = (at + 1) & mask) {
            const quint64 slot = mSlots[at];
            if (slot == kEmpty)
                return -1;
            if (hashIn(slot) == aHash && aMatches(indexIn(slot)))
                return indexIn(slot);
        }
    }
    // The index of the entry aMatches, or, when none does, aNewIndex after taking a slot for it.
    template <typename Matches> int findOrAdd(quint32 aHash, int aNewIndex, Matches&& aMatches)
    {
        if ((mUsed + 1) * 2 > mSlots.size())
            grow(mSlots.empty() ? 16 : mSlots.size() * 2);
        const std::size_t mask = mSlots.size() - 1;
        std::size_t at = aHash & mask;
        for (; mSlots[at] != kEmpty; at = (at + 1) & mask) {
            if (hashIn(mSlots[at]) == aHash && aMatches(indexIn(mSlots[at])))
                return indexIn(mSlots[at]);
        }
        mSlots[at] = (quint64(aHash) << 32) | quint32(aNewIndex + 1);
        ++mUsed;
        return aNewIndex;
    }
    // Frees the slot of the entry aMatches; false when none does.
    template <typename Matches> bool remove(quint32 aHash, Matches&& aMatches)
    {
        if (mSlots.empty())
            return false;
        const std::size_t mask = mSlots.size() - 1;
        for (std::size_t at = aHash & mask; mSlots[at] != kEmpty; at = (at + 1) & mask) {
            if (hashIn(mSlots[at]) == aHash && aMatches(indexIn(mSlots[at]))) {
                close(at);
                return true;
            }
        }
        return false;
    }
    // Room for aCount entries without growing.
    void reserve(std::size_t aCount);

private:
    static constexpr quint64 kEmpty = 0;
    static quint32 hashIn(quint64 aSlot) { return static_cast<quint32>(aSlot >> 32); }
    static int indexIn(quint64 aSlot) { return static_cast<int>(aSlot & 0xFFFFFFFFu) - 1; }
    void grow(std::size_t aSlots);
    // Empties the slot at aAt, moving back the slots after it that would no longer be found.
    void close(std::size_t aAt);

    std::vector<quint64> mSlots;
    std::size_t mUsed = 0;
};
