#include "library/itunes/xml/LibraryTexts.h"

#include "tracks/CacheEncoding.h"

#include <QHashFunctions>

LibraryTexts::LibraryTexts(std::shared_ptr<const XmlLibrary> aLibrary) : mLibrary(std::move(aLibrary))
{
    const std::size_t count = mLibrary->tracks.size();
    mSlots.reserve(count);
    QByteArray storage;
    for (std::size_t index = 0; index < count; ++index) {
        const QString& path = pathOf(index);
        if (path.isEmpty())
            continue;
        mSlots.findOrAdd(hashOf(CacheEncoding::utf16BytesView(path, storage)), static_cast<int>(index),
                         [&](int aHeld) { return pathOf(static_cast<std::size_t>(aHeld)) == path; });
    }
}

const QString& LibraryTexts::pathOf(std::size_t aIndex) const
{
    return mLibrary->tracks[aIndex].location;
}

bool LibraryTexts::isAt(int aIndex, QByteArrayView aPath) const
{
    return aIndex >= 0 && static_cast<std::size_t>(aIndex) < mLibrary->tracks.size() && !aPath.isEmpty() &&
           aPath.size() % 2 == 0 &&
           CacheEncoding::equalsUtf16Bytes(pathOf(static_cast<std::size_t>(aIndex)), aPath.data(),
                                           aPath.size() / 2);
}

bool LibraryTexts::find(QByteArrayView aPath, Texts& aTexts, int& aNear) const
{
    int found = -1;
    if (aNear >= 0 && isAt(aNear + 1, aPath))
        found = aNear + 1;
    else if (aNear >= 0 && isAt(aNear - 1, aPath))
        found = aNear - 1;
    else
        found = mSlots.find(hashOf(aPath), [&](int aHeld) { return isAt(aHeld, aPath); });
    if (found < 0)
        return false;
    aNear = found;
    const auto index = static_cast<std::size_t>(found);
    const XmlLibrary::TrackData& track = mLibrary->tracks[index];
    aTexts = Texts{&track.name, &track.album, &track.artist, &pathOf(index)};
    return true;
}

// Seeded per process, as the run's other indexes: no library can be made to collide its paths.
quint32 LibraryTexts::hashOf(QByteArrayView aPath)
{
    return static_cast<quint32>(qHash(aPath, QHashSeed::globalSeed()));
}
