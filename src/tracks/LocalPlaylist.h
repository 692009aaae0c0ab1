#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

// One entry of a scanned playlist: the track's position in the run's TrackList and its date
// added (whole days since 30 December 1899).
struct LocalPlaylistEntry
{
    qint32 trackIndex = 0;
    qint64 dateAdded = 0;
};

// A scanned playlist or podcast: its name and its entries in the order iTunes plays them.
class LocalPlaylist
{
public:
    LocalPlaylist() = default;
    explicit LocalPlaylist(const QString& aName) : mName(aName) {}

    const QString& name() const { return mName; }
    void setName(const QString& aName) { mName = aName; }
    const std::vector<LocalPlaylistEntry>& entries() const { return mEntries; }
    void append(qint32 aTrackIndex, qint64 aDateAdded) { mEntries.push_back({aTrackIndex, aDateAdded}); }
    int count() const { return static_cast<int>(mEntries.size()); }

private:
    QString mName;
    std::vector<LocalPlaylistEntry> mEntries;
};
