// Reading a playlist's tracks: LocalMusicLibrary::getAllTracks.
#include "library/LocalMusicLibrary.h"

#include "app/LogScope.h"
#include "library/LocalMusicLibraryCalls.h"
#include "library/LocalMusicLibraryTaskObserver.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

using namespace itunes;

namespace {

// A track that is in the library but has no file here: a cloud track not downloaded, or a
// podcast episode not downloaded.
::Track trackWithoutLocalFile(const QString& aName, const QString& aAlbum, const QString& aArtist,
                              const QString& aLibraryId)
{
    ::Track track(aName, aAlbum, aArtist, 0, QString(), true, false, false);
    track.setLibraryId(aLibraryId);
    return track;
}

bool endsWithOneOf(const QString& aLocation, std::initializer_list<const char*> aExtensions)
{
    if (aLocation.size() <= 3)
        return false;
    const QStringView extension = QStringView(aLocation).last(3);
    for (const char* candidate : aExtensions) {
        if (extension.compare(QLatin1String(candidate), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

int LocalMusicLibrary::getTrackLocations(const QString& aName, std::vector<TrackLocation>& aLocations)
{
    aLocations.clear();
    std::shared_ptr<Playlist> playlist;
    if (getPlaylist(aName, playlist) != 0)
        return kLibraryFailure;
    std::shared_ptr<TrackCollection> tracks;
    int count = 0;
    if (callWithRetry([&] { return playlist->tracks(tracks); }) < 0 || !tracks ||
        callWithRetry([&] { return tracks->count(count); }) < 0)
        return kLibraryFailure;
    aLocations.resize(static_cast<std::size_t>(qMax(count, 0)));
    for (int position = 1; position <= count && !stopRequested(); ++position) {
        TrackLocation& place = aLocations[static_cast<std::size_t>(position - 1)];
        std::shared_ptr<itunes::Track> item;
        std::shared_ptr<FileTrack> file;
        int kind = 0;
        if (callForObject(
                [&](std::shared_ptr<itunes::Track>& aObject) {
                    return tracks->itemByPlayOrder(position, aObject);
                },
                item) < 0 ||
            callWithRetry([&] { return item->trackDatabaseId(place.libraryId); }) < 0 ||
            callWithRetry([&] { return item->kind(kind); }) < 0 || kind == kTrackKindSharedLibrary ||
            item->fileTrack(file) < 0 || !file)
            continue; // getAllTracks finds out for itself
        place.known =
            callForString([&](QString& aString) { return file->location(aString); }, place.location) >= 0;
    }
    return 0;
}

int LocalMusicLibrary::getAllTracks(const QString& aName, TrackList& aTrackList, bool aConvertAacToMp3,
                                    TrackList& aDrmTracks, TrackList& aMissingFileTracks,
                                    LocalPlaylist& aPlaylist, bool aIgnoreVideos,
                                    LocalMusicLibraryTaskObserver* aObserver,
                                    const std::vector<TrackLocation>* aKnownLocations)
{
    LogScope log("LocalMusicLibrary::getAllTracks");
    logValue("Playlist name:", aName);
    aPlaylist.setName(aName);
    std::shared_ptr<Playlist> playlist;
    const int found = getPlaylist(aName, playlist);
    if (found != 0) {
        logValue("Failed to get playlist", found);
        return log.ret(kLibraryFailure);
    }
    std::shared_ptr<TrackCollection> tracks;
    if (callWithRetry([&] { return playlist->tracks(tracks); }) < 0 || !tracks) {
        logMessage("Failed to get tracks from playlist");
        return log.ret(kLibraryFailure);
    }
    int count = 0;
    if (callWithRetry([&] { return tracks->count(count); }) < 0) {
        logMessage("Failed to get playlist count");
        return log.ret(kLibraryFailure);
    }
    qint64 playlistSize = 0;
    if (callWithRetry([&] { return playlist->size(playlistSize); }) < 0) {
        logMessage("Failed to get playlist size");
        return log.ret(kLibraryFailure);
    }

    // Most of a playlist's tracks are listed already (from the cache or another playlist).
    aTrackList.reserve(qMax(aTrackList.count(), count));
    for (int position = 1; position <= count; ++position) {
        std::shared_ptr<itunes::Track> item;
        if (callForObject(
                [&](std::shared_ptr<itunes::Track>& aObject) {
                    return tracks->itemByPlayOrder(position, aObject);
                },
                item) < 0) {
            logMessage("Error getting track");
            continue;
        }
        QString libraryId;
        int databaseId = 0;
        if (callWithRetry([&] { return item->trackDatabaseId(databaseId); }) < 0)
            logMessage("Error getting iTunes track IDs");
        else
            libraryId = QString::number(databaseId);
        logValue("libraryId", libraryId);

        // A track met in an earlier playlist of this sync is known by its library id.
        int known = -1;
        if (!libraryId.isEmpty()) {
            if (aTrackList.findByLibraryId(libraryId, known)) {
                logValue("Found match in aTrackList", aTrackList.at(known).trackName());
                aPlaylist.append(known, aTrackList.at(known).dateAdded());
                continue;
            }
            if (aDrmTracks.findByLibraryId(libraryId, known)) {
                logMessage("Found match in aDrmTracks");
                continue;
            }
            if (aMissingFileTracks.findByLibraryId(libraryId, known)) {
                logMessage("Found match in aMissingFileTracks");
                continue;
            }
        }

        QString name, artist, album;
        if (callForString([&](QString& aString) { return item->name(aString); }, name) < 0)
            logMessage("Error getting name");
        else if (aObserver)
            aObserver->trackNameChanged(name);
        if (callForString([&](QString& aString) { return item->artist(aString); }, artist) < 0)
            logMessage("Error getting artist");
        if (callForString([&](QString& aString) { return item->album(aString); }, album) < 0)
            logMessage("Error getting album");

        int kind = 0;
        callWithRetry([&] { return item->kind(kind); });
        if (kind == kTrackKindSharedLibrary) {
            logMessage(
                "Shared track found - maybe a non-downloaded cloud track, or non-downloaded podcast episode");
            aMissingFileTracks.addTrack(trackWithoutLocalFile(name, album, artist, libraryId));
            continue;
        }
        std::shared_ptr<FileTrack> file;
        if (item->fileTrack(file) < 0 || !file) {
            logMessage("Error getting file info - maybe a non-downloaded cloud track, or non-downloaded "
                       "podcast episode");
            aMissingFileTracks.addTrack(trackWithoutLocalFile(name, album, artist, libraryId));
            continue;
        }

        qint64 size = 0;
        if (callWithRetry([&] { return item->size(size); }) < 0)
            logMessage("Error getting size");
        bool compilation = false;
        if (callWithRetry([&] { return item->compilation(compilation); }) < 0)
            logMessage("Error getting compilation flag");
        double oleDate = 0;
        if (callWithRetry([&] { return file->dateAdded(oleDate); }) < 0)
            logMessage("Error getting date added");
        QString location;
        const TrackLocation* lookedUp =
            aKnownLocations && position <= static_cast<int>(aKnownLocations->size())
                ? &(*aKnownLocations)[static_cast<std::size_t>(position - 1)]
                : nullptr;
        if (lookedUp && lookedUp->known && lookedUp->libraryId == databaseId && !libraryId.isEmpty()) {
            location = lookedUp->location;
        } else if (callForString([&](QString& aString) { return file->location(aString); }, location) < 0) {
            logMessage("Error getting location");
            continue;
        }
        int trackNumber = 0;
        if (callWithRetry([&] { return item->trackNumber(trackNumber); }) < 0) {
            logMessage("Error getting track number");
            trackNumber = 0;
        }
        int discNumber = 0;
        if (callWithRetry([&] { return item->discNumber(discNumber); }) < 0) {
            logMessage("Error getting disc number");
            discNumber = 0;
        }
        // Whole days since 30 December 1899, truncated toward zero.
        const qint64 dateAdded = static_cast<qint64>(oleDate);

        ::Track track(name, album, artist, trackNumber, location, true, false, false);
        track.setLibraryId(libraryId);
        track.setDiscNumber(discNumber);
        track.setLocalSize(size);
        track.setDateAdded(dateAdded);
        track.setIsCompilation(compilation);
        if (aConvertAacToMp3)
            track.setConvertToMp3(true);

        if (endsWithOneOf(location, {"m4p", "m4b"})) {
            logMessage("Track added to DRM list");
            aDrmTracks.addTrack(track);
        } else if (aIgnoreVideos && endsWithOneOf(location, {"mov", "m4v"})) {
            logMessage("Ignoring video file");
        } else {
            logMessage("Track added");
            aPlaylist.append(aTrackList.addTrack(track), dateAdded);
        }
        track.dump();
    }
    return log.ret(0);
}
