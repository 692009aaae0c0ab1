#pragma once

// Texts the program holds already, that a track read from the track cache shares instead of
// keeping a copy of its own.
#include <QByteArrayView>
#include <QString>

// A library keeps each of its tracks' title, album, artist and local path, and the cache's
// record of the same track repeats them: 100,000 tracks read from both would hold each text
// twice. Found by the track's local path. The holder doesn't change while it is used, and any
// thread may read it.
class KnownTexts
{
public:
    // One held track's texts: the holder's own, valid while it is.
    struct Texts
    {
        const QString* name = nullptr;
        const QString* album = nullptr;
        const QString* artist = nullptr;
        const QString* path = nullptr;
    };

    virtual ~KnownTexts() = default;
    // The texts held for the track whose local path is aPath, given as UTF-16 little-endian
    // bytes (as the cache keeps it); false when none is held. aNear: where the last track was
    // found (-1 at first), and where this one was: the cache mostly lists a library's tracks in
    // its order, or in the opposite order, so the next is mostly found beside the last.
    virtual bool find(QByteArrayView aPath, Texts& aTexts, int& aNear) const = 0;
};
