#include "library/SelectionSize.h"

#include "library/LocalMusicLibrary.h"
#include "settings/SyncSettings.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/TrackList.h"

#include <algorithm>

qint64 SelectionSize::music(LocalMusicLibrary& aLibrary, bool aEntireLibrary, const QStringList& aPlaylists)
{
    // The whole library is its Music playlist (videos left out, as a run leaves them).
    const QStringList names = aEntireLibrary ? QStringList{QString()} : aPlaylists;
    TrackList tracks, protectedTracks, notDownloaded;
    for (const QString& name : names) {
        LocalPlaylist playlist;
        aLibrary.getAllTracks(name, tracks, false, protectedTracks, notDownloaded, playlist, aEntireLibrary,
                              nullptr);
    }
    return tracks.totalLocalSize();
}

qint64 SelectionSize::podcasts(LocalMusicLibrary& aLibrary, int aSetting, const QStringList& aPodcasts,
                               int aEpisodes)
{
    if (aSetting == SyncSettings::PodcastsNone)
        return 0;
    aLibrary.refreshPodcasts();
    const QStringList names = aSetting == SyncSettings::PodcastsAll ? aLibrary.podcasts() : aPodcasts;
    if (names.isEmpty())
        return 0;
    QList<LocalPlaylist> shows;
    TrackList episodes;
    aLibrary.getPodcasts(names, shows, episodes);
    qint64 bytes = 0;
    for (const LocalPlaylist& show : shows) {
        std::vector<LocalPlaylistEntry> entries = show.entries();
        std::stable_sort(entries.begin(), entries.end(), [](const auto& aLeft, const auto& aRight) {
            return aLeft.dateAdded > aRight.dateAdded;
        });
        if (aEpisodes > 0 && static_cast<int>(entries.size()) > aEpisodes)
            entries.resize(static_cast<std::size_t>(aEpisodes));
        for (const LocalPlaylistEntry& entry : entries)
            bytes += episodes.at(entry.trackIndex).localSize();
    }
    return bytes;
}
