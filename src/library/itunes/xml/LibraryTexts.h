#pragma once

// A parsed library's track texts, found by their local paths, for the track cache to share.
#include "library/itunes/xml/XmlLibrary.h"
#include "tracks/HashSlots.h"
#include "tracks/KnownTexts.h"

#include <memory>

// The paths are the tracks' locations as this computer names them (the path map applied), as
// the cache keeps them. Holds the library, so that its texts stay valid while a run reads its
// cache. Made once per library read (a hash of each track's path: some milliseconds for 100,000
// tracks); a path of two tracks finds either.
class LibraryTexts : public KnownTexts
{
public:
    explicit LibraryTexts(std::shared_ptr<const XmlLibrary> aLibrary);

    bool find(QByteArrayView aPath, Texts& aTexts, int& aNear) const override;

private:
    static quint32 hashOf(QByteArrayView aPath);
    const QString& pathOf(std::size_t aIndex) const;
    bool isAt(int aIndex, QByteArrayView aPath) const;

    std::shared_ptr<const XmlLibrary> mLibrary;
    HashSlots mSlots; // by path, of the tracks that have one
};
