#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

class LocalMusicLibrary;

// The bytes a device's choice of music and podcasts takes on it, as a run would copy them:
// each chosen track once, only those whose file is here and can be copied, and of each chosen
// podcast only the newest episodes asked for. It reads the library: not on the GUI thread.
class SelectionSize
{
public:
    // The music: the whole library (aEntireLibrary), the named playlists, or none.
    static qint64 music(LocalMusicLibrary& aLibrary, bool aEntireLibrary, const QStringList& aPlaylists);
    // The podcasts: aSetting as SyncSettings::PodcastSyncSetting, the named podcasts for "selected",
    // aEpisodes newest episodes of each (0: all).
    static qint64 podcasts(LocalMusicLibrary& aLibrary, int aSetting, const QStringList& aPodcasts,
                           int aEpisodes);
};
