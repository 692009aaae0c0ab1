#pragma once

// Texts held for tracks, as a library lends them to the track cache's reading.
#include "tracks/CacheEncoding.h"
#include "tracks/KnownTexts.h"
#include "tracks/TrackCache.h"

#include <QString>

#include <deque>
#include <memory>

// Found by path, as the library's own finds them: exactly, by the path's UTF-16 bytes.
class ListedTexts : public KnownTexts
{
public:
    struct Held
    {
        QString name, album, artist, path;
    };

    void add(const QString& aName, const QString& aAlbum, const QString& aArtist, const QString& aPath)
    {
        mHeld.push_back(Held{aName, aAlbum, aArtist, aPath});
    }
    const Held& at(int aIndex) const { return mHeld.at(static_cast<std::size_t>(aIndex)); }

    bool find(QByteArrayView aPath, Texts& aTexts, int& aNear) const override
    {
        for (std::size_t index = 0; index < mHeld.size(); ++index) {
            const Held& held = mHeld[index];
            if (aPath.size() % 2 == 0 &&
                CacheEncoding::equalsUtf16Bytes(held.path, aPath.data(), aPath.size() / 2)) {
                aTexts = Texts{&held.name, &held.album, &held.artist, &held.path};
                aNear = static_cast<int>(index);
                return true;
            }
        }
        return false;
    }

private:
    std::deque<Held> mHeld; // never moved: the texts found point into it
};

// How a library lends its texts to the cache's reading: not at all (no library), from the start
// (read already), only once the records are found (read beside the cache), or never (none read).
enum class Lending
{
    NoLibrary,
    FromTheStart,
    Late,
    Never,
};

inline TrackCache::KnownTextsSource lendingSource(Lending aLending,
                                                  const std::shared_ptr<const KnownTexts>& aTexts)
{
    switch (aLending) {
    case Lending::NoLibrary:
        return nullptr;
    case Lending::FromTheStart:
        return [aTexts](bool) { return aTexts; };
    case Lending::Late:
        return [aTexts](bool aWait) { return aWait ? aTexts : nullptr; };
    case Lending::Never:
        break;
    }
    return [](bool) { return std::shared_ptr<const KnownTexts>(); };
}
