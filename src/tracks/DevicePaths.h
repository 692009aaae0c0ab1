#pragma once

#include "tracks/HashSlots.h"
#include "tracks/Track.h"

#include <QString>
#include <QStringView>

#include <vector>

// Which track holds which file on the device during one run, so that two different tracks never
// share one file (two albums both tagged "Unknown" with a "01 Intro.mp3" each, say). Paths are
// compared as a phone's or a FAT drive's file system compares names: without regard to case or
// to Unicode composition.
class DevicePaths
{
public:
    // Room for aCount paths.
    void reserve(int aCount)
    {
        mHolders.reserve(static_cast<std::size_t>(aCount));
        mSlots.reserve(static_cast<std::size_t>(aCount));
    }
    // Records that the track aUniqueId holds aDevicePath; false (and nothing recorded) when
    // another track holds it already.
    bool claim(const QString& aDevicePath, QStringView aUniqueId);
    // The same for aTrack, a track of the run's list that outlives these paths: its unique id is
    // made only when another track claims its path, so claiming every track of a drive touches
    // no title, album or artist.
    bool claim(const QString& aDevicePath, const Track& aTrack);
    // Forgets aDevicePath when aUniqueId holds it (the file was deleted).
    void release(const QString& aDevicePath, QStringView aUniqueId);
    // The track holding aDevicePath; empty when none does.
    QString holder(const QString& aDevicePath) const;
    // aDevicePath when it is free or held by aUniqueId; otherwise the first free path with a
    // number before the extension: "\Music\A\B\01 Intro (2).mp3", then (3) and so on (the name
    // shortened where the number would take it past 255 bytes).
    QString freePathFor(const QString& aDevicePath, QStringView aUniqueId) const;

    // The longest start of aText that takes at most aBytes bytes in UTF-8, cut between
    // characters: file systems count a name's bytes, not its characters.
    static QString cutToUtf8Bytes(const QString& aText, int aBytes);

private:
    // A path as the device compares it: a plain ASCII path (nearly all) as it is, sharing the
    // track's string, compared and hashed without regard to ASCII case; any other composed and
    // case folded.
    static QString keyOf(const QString& aDevicePath);
    static bool sameKey(const QString& aLeft, const QString& aRight);
    static quint32 hashOf(const QString& aKey);
    // The index of the holder of aKey in mHolders; -1 when none.
    int find(const QString& aKey) const;

    struct Holder
    {
        QString key;                  // the path as keyOf gives it; null once released
        QString uniqueId;             // of the track holding it, when claimed by id
        const Track* track = nullptr; // the track holding it, when claimed by track
    };
    static bool heldAs(const Holder& aHolder, QStringView aUniqueId);
    // The index of the holder of aDevicePath; -1 when there was none and aNew now holds it.
    int findOrAdd(const QString& aDevicePath, Holder&& aNew);
    std::vector<Holder> mHolders;
    HashSlots mSlots; // finds a path's holder
};
