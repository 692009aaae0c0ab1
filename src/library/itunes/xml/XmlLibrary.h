#pragma once

#include "library/LibraryPathMap.h"
#include "library/itunes/xml/TrackSearchIndex.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

// What Veltrane keeps of an iTunes library XML file: only the values the library code asks for,
// so that a 100,000-track library stays small in memory. Immutable once parsed and shared by
// every object made from it.
struct XmlLibrary
{
    // Its members in the order that packs them: a library holds 100,000 of these.
    struct TrackData
    {
        QString name;
        QString artist;
        QString album;
        QString location; // local path as written (percent-decoded), empty when none
        qint64 size = 0;
        double dateAdded = 0; // OLE date, local time
        int id = 0;
        int trackNumber = 0;
        int discNumber = 0;
        bool compilation = false;
        bool hasFile = false;
    };

    struct PlaylistData
    {
        QString name;
        int kind = 0;
        int specialKind = 0;
        bool smart = false;
        std::vector<int> tracks; // indexes into XmlLibrary::tracks, in play order
    };

    std::vector<TrackData> tracks;
    std::vector<PlaylistData> playlists;
    QString musicFolder; // the library's "Music Folder" as a local path, ending in '/'
    QString xmlFolder;   // the folder that holds the XML file

    // The search index and each playlist's track positions, made when first asked for.
    const TrackSearchIndex& searchIndex() const;
    const QHash<int, int>& positionsIn(std::size_t aPlaylist) const;
    // The bytes of a playlist's tracks (asked for on every search for album art: added up once).
    qint64 sizeOf(std::size_t aPlaylist) const;

    // Names the tracks' locations and the music folder as this computer names them, the user's
    // path map applied, once, before the library is shared (the map changing, the library is
    // read again: one copy of each location serves every use, the look-up of a run's files and
    // the track cache's reading alike).
    void applyPathMap(const LibraryPathMap& aMap);
    // The map the locations were named with (empty: as the file wrote them).
    const QList<QPair<QString, QString>>& mappedWith() const { return mMappedWith; }
    // Whether some track's location could name its file by another path, so that giving it
    // looks at the file system; worked out once. A library in its usual place with plain ASCII
    // paths has none: its locations cost nothing to give.
    bool locationsNeedLooking() const;

private:
    mutable QMutex mLazyMutex;
    QList<QPair<QString, QString>> mMappedWith;
    mutable int mNeedLooking = -1; // what locationsNeedLooking found; -1: not worked out yet
    mutable std::unique_ptr<TrackSearchIndex> mSearchIndex;
    mutable std::vector<std::unique_ptr<QHash<int, int>>> mPositions;
    mutable std::vector<qint64> mSizes; // -1: not added up yet
};

inline qint64 XmlLibrary::sizeOf(std::size_t aPlaylist) const
{
    QMutexLocker lock(&mLazyMutex);
    if (mSizes.size() < playlists.size())
        mSizes.resize(playlists.size(), -1);
    qint64& size = mSizes[aPlaylist];
    if (size < 0) {
        size = 0;
        for (int track : playlists[aPlaylist].tracks)
            size += tracks[static_cast<std::size_t>(track)].size;
    }
    return size;
}

inline const TrackSearchIndex& XmlLibrary::searchIndex() const
{
    QMutexLocker lock(&mLazyMutex);
    if (!mSearchIndex)
        mSearchIndex = std::make_unique<TrackSearchIndex>(*this);
    return *mSearchIndex;
}

inline const QHash<int, int>& XmlLibrary::positionsIn(std::size_t aPlaylist) const
{
    QMutexLocker lock(&mLazyMutex);
    if (mPositions.size() < playlists.size())
        mPositions.resize(playlists.size());
    std::unique_ptr<QHash<int, int>>& positions = mPositions[aPlaylist];
    if (!positions) {
        positions = std::make_unique<QHash<int, int>>();
        const std::vector<int>& members = playlists[aPlaylist].tracks;
        for (std::size_t i = members.size(); i-- > 0;)
            positions->insert(members[i], static_cast<int>(i)); // a track listed twice: its first place
    }
    return *positions;
}
