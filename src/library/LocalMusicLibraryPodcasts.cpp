// Podcasts and album art: LocalMusicLibrary::refreshPodcasts, getPodcasts and generateArtwork.
#include "library/LocalMusicLibrary.h"

#include "app/ApplicationPaths.h"
#include "app/LogScope.h"
#include "library/LocalMusicLibraryCalls.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

using namespace itunes;

namespace {

const char* artworkFileNameFor(int aFormat)
{
    switch (aFormat) {
    case kArtworkFormatJpeg:
        return "temp_art.jpg";
    case kArtworkFormatPng:
        return "temp_art.png";
    case kArtworkFormatBmp:
        return "temp_art.bmp";
    default:
        return nullptr;
    }
}

} // namespace

void LocalMusicLibrary::refreshPodcasts()
{
    LogScope log("LocalMusicLibrary::refreshPodcasts");
    mPodcasts.clear();
    QSet<QString> seen;
    walkUserPlaylists([&](Playlist& aPlaylist, UserPlaylist&, int aSpecialKind) {
        if (aSpecialKind != kSpecialKindPodcasts)
            return true;
        logMessage("Got podcasts playlist");
        std::shared_ptr<TrackCollection> tracks;
        if (callForObject(
                [&](std::shared_ptr<TrackCollection>& aObject) { return aPlaylist.tracks(aObject); },
                tracks) < 0) {
            logMessage("Failed to get tracks from playlist");
            return false;
        }
        logMessage("Got track collections");
        int trackCount = 0;
        if (callWithRetry([&] { return tracks->count(trackCount); }) < 0) {
            logMessage("Failed to get playlist count");
            return false;
        }
        for (int t = 1; t <= trackCount; ++t) {
            logMessage("Getting track");
            std::shared_ptr<itunes::Track> track;
            if (callForObject(
                    [&](std::shared_ptr<itunes::Track>& aObject) { return tracks->item(t, aObject); },
                    track) < 0) {
                logMessage("Error getting track");
                continue;
            }
            QString album;
            if (callForString([&](QString& aString) { return track->album(aString); }, album) < 0) {
                logMessage("Error getting album");
                continue;
            }
            if (!seen.contains(album)) {
                seen.insert(album);
                mPodcasts.append(album);
            }
        }
        return true;
    });
}

void LocalMusicLibrary::getPodcasts(const QStringList& aPodcastNames, QList<LocalPlaylist>& aPodcasts,
                                    TrackList& aPodcastTracks)
{
    LogScope log("LocalMusicLibrary::getPodcasts");
    walkUserPlaylists([&](Playlist& aPlaylist, UserPlaylist&, int aSpecialKind) {
        if (aSpecialKind != kSpecialKindPodcasts)
            return true;
        QString name;
        callForString([&](QString& aString) { return aPlaylist.name(aString); }, name);

        // Every downloaded, unprotected episode, videos included, in play order.
        TrackList all, protectedTracks, missing;
        LocalPlaylist episodes;
        logMessage("Getting all tracks");
        getAllTracks(name, all, false, protectedTracks, missing, episodes, false, nullptr);
        logMessage("Got all tracks");

        QHash<QString, int> recordOf;
        for (const QString& podcast : aPodcastNames) {
            aPodcasts.append(LocalPlaylist(podcast));
            logValue("Adding podcast to map:", podcast);
            recordOf.insert(podcast, aPodcasts.size() - 1); // a name given twice maps to its later record
        }
        for (const ::Track& episode : all) {
            logMessage("Checking whether to add episode");
            const auto record = recordOf.constFind(episode.albumName());
            if (record == recordOf.constEnd())
                continue;
            const int trackIndex = aPodcastTracks.addTrack(episode);
            aPodcasts[record.value()].append(trackIndex, episode.dateAdded());
        }
        return true;
    });
}

QString LocalMusicLibrary::generateArtwork(const ::Track& aTrack)
{
    LogScope log("LocalMusicLibrary::generateArtwork");
    logValue("aTrack.trackName()", aTrack.trackName());
    logValue("aTrack.albumName()", aTrack.albumName());
    logValue("aTrack.artistName()", aTrack.artistName());
    // The folder of the track's file (worked out from the path: this runs for every track copied).
    const QString folder = QFileInfo(aTrack.path()).path();
    const QString localFilePath = folder.isEmpty() || folder == QLatin1String(".") ? aTrack.path() : folder;
    if (mFoldersWithoutArt.contains(localFilePath)) {
        logValue("Exiting becuase localFilePath is already known not to have album art", localFilePath);
        return QString();
    }
    std::shared_ptr<Playlist> music;
    const int found = getPlaylist(QString(), music);
    if (found != 0) {
        logValue("Failed to get playlist", found);
        return QString();
    }
    logValue("aTrack.trackName", aTrack.trackName());
    std::shared_ptr<TrackCollection> results;
    if (callForObject(
            [&](std::shared_ptr<TrackCollection>& aObject) {
                return music->search(aTrack.trackName(), kSearchFieldAll, aObject);
            },
            results) < 0) {
        logMessage("Failed to get tracks from playlist");
        return QString();
    }
    int count = 0;
    if (callWithRetry([&] { return results->count(count); }) < 0) {
        logMessage("Failed to get playlist count");
        return QString();
    }
    if (count == 0) {
        logMessage("Couldn't find track");
        return QString();
    }

    QString artworkFileName;
    bool saved = false;
    for (int i = 1; i <= count; ++i) {
        logValue("countTracklist", count);
        std::shared_ptr<itunes::Track> result;
        if (callForObject([&](std::shared_ptr<itunes::Track>& aObject) { return results->item(i, aObject); },
                          result) < 0) {
            logMessage("Error getting track");
            continue;
        }
        QString name, artist, album;
        if (callForString([&](QString& aString) { return result->name(aString); }, name) < 0)
            logMessage("Error getting name");
        if (callForString([&](QString& aString) { return result->artist(aString); }, artist) < 0)
            logMessage("Error getting artist");
        if (callForString([&](QString& aString) { return result->album(aString); }, album) < 0)
            logMessage("Error getting album");
        if (name != aTrack.trackName() || album != aTrack.albumName() || artist != aTrack.artistName())
            continue;
        logMessage("Matching track found");
        if (saved)
            continue;
        std::shared_ptr<ArtworkCollection> artworks;
        if (callForObject(
                [&](std::shared_ptr<ArtworkCollection>& aObject) { return result->artwork(aObject); },
                artworks) < 0) {
            logMessage("Error getting artwork collection");
            continue;
        }
        int artworkCount = 0;
        if (callWithRetry([&] { return artworks->count(artworkCount); }) < 0) {
            logMessage("Could not get artwork collection.");
            continue;
        }
        for (int j = 1; j <= artworkCount && !saved; ++j) {
            logValue("Getting artwork item", j);
            std::shared_ptr<Artwork> artwork;
            if (callForObject([&](std::shared_ptr<Artwork>& aObject) { return artworks->item(j, aObject); },
                              artwork) < 0)
                continue;
            artworkFileName =
                ApplicationPaths::applicationDataPath() + QDir::separator() + QStringLiteral("KORDA");
            logValue("artworkFileName", artworkFileName);
            int format = 0;
            if (callWithRetry([&] { return artwork->format(format); }) < 0) {
                logMessage("get_Format failure");
                logValue("Non-supported artwork type found type:", format);
                continue;
            }
            const char* fileName = artworkFileNameFor(format);
            if (!fileName) {
                logMessage("Unknown format");
                logValue("Non-supported artwork type found type:", format);
                continue;
            }
            QDir().mkpath(artworkFileName);
            artworkFileName += QDir::separator() + QLatin1String(fileName);
            const int saveResult = callWithRetry([&] { return artwork->saveArtworkToFile(artworkFileName); });
            if (saveResult < 0) {
                logValue("Failed to save artwork", saveResult);
                continue;
            }
            saved = true;
        }
    }
    if (!saved) {
        artworkFileName.clear();
        logMessage("No supported artwork found - resetting artworkFileName");
    }
    if (artworkFileName.isEmpty())
        mFoldersWithoutArt.insert(localFilePath);
    return artworkFileName;
}
