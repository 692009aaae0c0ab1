// The library side of a run: the chosen playlists and podcasts scanned into the run's tracks.
#include "sync/MusicSync.h"

#include "app/LogScope.h"
#include "library/LocalMusicLibrary.h"
#include "settings/SyncSettings.h"

#include <algorithm>

void MusicSync::startLocationLookup(const QStringList& aPlaylists)
{
    mKnownLocations.clear();
    // With the diagnostics log on, the run keeps to one thread, so that its log reads in order.
    if (logIsOn() || aPlaylists.isEmpty())
        return;
    mLocationLookup = makeThread(QStringLiteral("LocationLookupThread"), [this, aPlaylists] {
        try {
            // Locations that cost nothing to give are left to the scan: looking them up ahead
            // would only ask for every track twice.
            const std::shared_ptr<itunes::Backend> backend = mLibrary->backend();
            if (backend && !backend->locationsNeedLooking())
                return;
            for (const QString& name : aPlaylists) {
                if (stopRequested())
                    return;
                if (mKnownLocations.count(name) == 0)
                    mLibrary->getTrackLocations(name, mKnownLocations[name]);
            }
        } catch (...) {
            // Out of memory, say: the scan looks up what is missing itself.
        }
    });
    mLocationLookup->start();
}

void MusicSync::scanPlaylists(bool aSyncEntireLibrary, QStringList aPlaylists)
{
    // What the look-up found is the scan's once it has finished; a run told to stop stops it.
    while (mLocationLookup && !mLocationLookup->wait(50) && !cancelRequested()) {
    }
    mLocationLookup.reset();
    if (aSyncEntireLibrary) {
        mLibrary->refreshPlaylists();
        logMessage("Synchronizing to entire library");
        for (const QString& name : mLibrary->playlists(true)) {
            if (!name.isEmpty()) {
                logValue("Adding playlist", name);
                aPlaylists.append(name);
            }
        }
    }
    for (const QString& name : aPlaylists) {
        if (hasBeenCancelled())
            return;
        logMessage("Scanning local playlist");
        logValue("wSyncPlaylistName", name);
        LocalPlaylist playlist;
        const auto known = mKnownLocations.find(name);
        const int scanned = mLibrary->getAllTracks(name, mTracks, mConvertToMp3, mDrmTracks,
                                                   mNotDownloadedTracks, playlist, aSyncEntireLibrary, this,
                                                   known == mKnownLocations.end() ? nullptr : &known->second);
        if (scanned != 0) {
            // Renamed or deleted in iTunes, or unreadable: its tracks are not known this run.
            logValue("! Could not read the playlist", name);
            mMissingPlaylists.append(name.isEmpty() ? QStringLiteral("Music") : name);
            continue;
        }
        mPlaylists.push_back(std::move(playlist));
    }
    mKnownLocations.clear();
}

void MusicSync::scanPodcasts(SyncSettings& aSettings, const QString& aDeviceId, int aPodcastSyncSetting,
                             const QStringList& aPodcasts)
{
    QStringList names;
    if (aPodcastSyncSetting == SyncSettings::PodcastsAll) {
        mLibrary->refreshPodcasts();
        logMessage("Synchronizing all podcasts");
        names = mLibrary->podcasts();
    } else if (aPodcastSyncSetting == SyncSettings::PodcastsSelected) {
        names = aPodcasts;
        mLibrary->refreshPodcasts();
        for (const QString& name : aPodcasts) {
            if (!name.isEmpty() && !mLibrary->podcasts().contains(name)) {
                logValue("! Chosen podcast is not in the library", name);
                mMissingPlaylists.append(name);
            }
        }
    }
    // With podcasts off there is nothing to read (an empty name would match episodes without an album).
    names.removeAll(QString());
    if (names.isEmpty())
        return;
    const int episodes = aSettings.numberOfEpisodesToSync(aDeviceId);
    QList<LocalPlaylist> shows;
    TrackList episodeTracks;
    mLibrary->getPodcasts(names, shows, episodeTracks);
    for (const LocalPlaylist& show : shows) {
        std::vector<LocalPlaylistEntry> entries = show.entries();
        std::stable_sort(entries.begin(), entries.end(),
                         [](const LocalPlaylistEntry& aLeft, const LocalPlaylistEntry& aRight) {
                             return aLeft.dateAdded > aRight.dateAdded;
                         });
        if (episodes != 0 && static_cast<int>(entries.size()) > episodes)
            entries.resize(static_cast<std::size_t>(episodes));
        LocalPlaylist kept(show.name());
        for (const LocalPlaylistEntry& entry : entries)
            kept.append(mTracks.addTrack(episodeTracks.at(entry.trackIndex)), entry.dateAdded);
        mPlaylists.push_back(std::move(kept));
    }
}
