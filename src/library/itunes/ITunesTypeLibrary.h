#pragma once

// The iTunes object model as the library code sees it: the application, its sources, playlists,
// tracks and artwork, and library events. It mirrors the calls iTunes' automation interface
// offers, so every call answers with an HRESULT-style code (negative: failure) and hands its
// value back through an out argument. An object is a shared pointer: released when the last
// holder lets it go. A backend (the library XML file, a test fake) implements these interfaces;
// the library code never sees which one it talks to. Objects are used on the thread that
// created them.

#include "tracks/KnownTexts.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

namespace itunes {

// Result codes, as the automation interface reports them.
constexpr qint32 kOk = 0;
constexpr qint32 kFalse = 1;
constexpr qint32 kCallRejected = static_cast<qint32>(0x80010001);      // busy: retried without limit
constexpr qint32 kServerExecFailure = static_cast<qint32>(0x80080005); // not running: retried without limit
constexpr qint32 kNoInterface = static_cast<qint32>(0x80004002);
constexpr qint32 kFail = static_cast<qint32>(0x80004005);
constexpr qint32 kInvalidArgument = static_cast<qint32>(0x80070057);

// Enumeration values of the object model.
constexpr int kSourceKindLibrary = 1;
constexpr int kPlaylistKindLibrary = 1;
constexpr int kPlaylistKindUser = 2;
constexpr int kSpecialKindNone = 0;
constexpr int kSpecialKindPurchased = 1;
constexpr int kSpecialKindPodcasts = 3;
constexpr int kSpecialKindFolder = 4;
constexpr int kSpecialKindMusic = 6;
constexpr int kSpecialKindMovies = 7;
constexpr int kSpecialKindTvShows = 8;
constexpr int kSpecialKindAudiobooks = 9;
constexpr int kTrackKindFile = 1;
constexpr int kTrackKindSharedLibrary = 5;
constexpr int kArtworkFormatUnknown = 0;
constexpr int kArtworkFormatJpeg = 1;
constexpr int kArtworkFormatPng = 2;
constexpr int kArtworkFormatBmp = 3;
constexpr int kSearchFieldAll = 0;

class Artwork
{
public:
    virtual ~Artwork() = default;
    virtual qint32 format(int& aFormat) = 0;
    virtual qint32 saveArtworkToFile(const QString& aPath) = 0;
};

class ArtworkCollection
{
public:
    virtual ~ArtworkCollection() = default;
    virtual qint32 count(int& aCount) = 0;
    virtual qint32 item(int aIndex, std::shared_ptr<Artwork>& aArtwork) = 0; // 1-based
};

// The file side of a track (a track with no local file has none).
class FileTrack
{
public:
    virtual ~FileTrack() = default;
    virtual qint32 dateAdded(double& aOleDate) = 0; // days since 30 December 1899, local time
    virtual qint32 location(QString& aPath) = 0;
};

// Strings: a null QString stands for "no string returned" with a success code.
class Track
{
public:
    virtual ~Track() = default;
    virtual qint32 trackDatabaseId(int& aId) = 0;
    virtual qint32 name(QString& aName) = 0;
    virtual qint32 artist(QString& aArtist) = 0;
    virtual qint32 album(QString& aAlbum) = 0;
    virtual qint32 kind(int& aKind) = 0;
    virtual qint32 size(qint64& aBytes) = 0;
    virtual qint32 compilation(bool& aIsCompilation) = 0;
    virtual qint32 trackNumber(int& aNumber) = 0;
    virtual qint32 discNumber(int& aNumber) = 0; // 0 when the track has none
    virtual qint32 artwork(std::shared_ptr<ArtworkCollection>& aArtwork) = 0;
    // The file-track interface; kNoInterface when the track has no local file.
    virtual qint32 fileTrack(std::shared_ptr<FileTrack>& aFileTrack) = 0;
};

class TrackCollection
{
public:
    virtual ~TrackCollection() = default;
    virtual qint32 count(int& aCount) = 0;
    virtual qint32 item(int aIndex, std::shared_ptr<Track>& aTrack) = 0;            // 1-based
    virtual qint32 itemByPlayOrder(int aIndex, std::shared_ptr<Track>& aTrack) = 0; // 1-based
};

class UserPlaylist
{
public:
    virtual ~UserPlaylist() = default;
    virtual qint32 specialKind(int& aKind) = 0;
    virtual qint32 smart(bool& aIsSmart) = 0;
};

class Playlist
{
public:
    virtual ~Playlist() = default;
    virtual qint32 kind(int& aKind) = 0;
    virtual qint32 name(QString& aName) = 0;
    virtual qint32 size(qint64& aBytes) = 0;
    virtual qint32 tracks(std::shared_ptr<TrackCollection>& aTracks) = 0;
    virtual qint32 search(const QString& aText, int aSearchField,
                          std::shared_ptr<TrackCollection>& aResults) = 0;
    // The user-playlist interface; kNoInterface for playlists that are not user playlists.
    virtual qint32 userPlaylist(std::shared_ptr<UserPlaylist>& aUserPlaylist) = 0;
};

class PlaylistCollection
{
public:
    virtual ~PlaylistCollection() = default;
    virtual qint32 count(int& aCount) = 0;
    virtual qint32 item(int aIndex, std::shared_ptr<Playlist>& aPlaylist) = 0; // 1-based
};

class Source
{
public:
    virtual ~Source() = default;
    virtual qint32 kind(int& aKind) = 0;
    virtual qint32 playlists(std::shared_ptr<PlaylistCollection>& aPlaylists) = 0;
};

class SourceCollection
{
public:
    virtual ~SourceCollection() = default;
    virtual qint32 count(int& aCount) = 0;
    virtual qint32 item(int aIndex, std::shared_ptr<Source>& aSource) = 0; // 1-based
};

// An advised event connection: events stop when the last holder releases it.
class EventConnection
{
public:
    virtual ~EventConnection() = default;
};

class Application
{
public:
    virtual ~Application() = default;
    virtual qint32 sources(std::shared_ptr<SourceCollection>& aSources) = 0;
    // Calls aHandler for every library event (on the thread that advised) while the connection
    // lives.
    virtual qint32 advise(std::function<void()> aHandler, std::shared_ptr<EventConnection>& aConnection) = 0;
};

// What a library file holds, as its chooser shows it.
struct LibrarySummary
{
    QString path;
    int tracks = 0;
    int playlists = 0; // the user's playlists, folders and the library itself not counted
};

// Makes application objects: the counterpart of creating the automation server. Shared by every
// library object of the program; safe to call from any thread.
class Backend
{
public:
    virtual ~Backend() = default;
    virtual qint32 createApplication(std::shared_ptr<Application>& aApplication) = 0;
    // Why the library can't be reached now, in words for the user; empty when it can. It may
    // read the library: not on the GUI thread.
    virtual QString unavailableReason() { return QString(); }
    // Why the last attempt to reach the library failed, as unavailableReason says it; empty after
    // a success. Reads nothing: any thread, at any time.
    virtual QString lastFailure() const { return QString(); }
    // Whether giving a track's location may take a look at the file system or a slow call, so
    // that a caller may look locations up ahead, on a thread of its own. Waits for the library
    // while it is being read.
    virtual bool locationsNeedLooking() { return true; }
    // The texts of the library as last read, for a run's track cache to share rather than copy;
    // null when none has been read. While the library is being read, waits for it up to aWaitMs.
    virtual std::shared_ptr<const KnownTexts> knownTexts(int aWaitMs)
    {
        Q_UNUSED(aWaitMs);
        return nullptr;
    }
    // Reads the library file aPath (the one in use when empty) to say what it holds; false, with
    // the reason in aError, when it is no library this backend reads. It reads the whole file:
    // not on the GUI thread.
    virtual bool inspect(const QString& aPath, LibrarySummary& aSummary, QString& aError)
    {
        Q_UNUSED(aPath);
        Q_UNUSED(aSummary);
        aError = QStringLiteral("this library can't be chosen by its file");
        return false;
    }
};

} // namespace itunes
