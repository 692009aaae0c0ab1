#pragma once

// A whole synchronisation on real files: an iTunes library of real audio made by ffmpeg (with
// cover art, a protected track, a cloud track and a podcast of five episodes), a target device,
// and a run of MusicSync answered the way a front end would. The target is a folder standing for
// a USB player, or a simulated Android phone over MTP: the same tests run on both.
#include "devices/DeviceParentMs.h"
#include "devices/usbms/UsbMSDevice.h"
#include "library/LocalMusicLibrary.h"
#include "library/itunes/xml/ITunesXmlBackend.h"
#include "settings/SyncSettings.h"
#include "support/FakeDriveProber.h"
#include "support/LibraryXmlWriter.h"
#include "support/TestTarget.h"
#include "sync/MusicSync.h"
#include "sync/SyncFrontEnd.h"
#include "sync/SyncRun.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

struct SyncOutcome
{
    int state = 0;
    QList<int> states;              // every state reported, in order
    QList<int> copyingPercentages;  // the percentage reported before each upload
    QList<int> transferPercentages; // the percentages reported while files are copied
    int deleteQuestions = 0;
    int drmReports = 0;
    int notDownloadedReports = 0;
    qint64 spaceShortfall = -1; // -1: no warning
    QStringList nonCopied;
    QStringList nonCopiedReasons;
    QStringList missingPlaylists;
    QString failureReason;
    QStringList dataFailures; // what of another phone's data was not carried
    bool extractionFailed = false;
};

class SyncFixture : public TestTarget
{
public:
    using Target = TestTarget::Kind;
    explicit SyncFixture(Target aTarget = Target::Drive);

    // The library's playlists: "Rock" (3 tracks), "Jazz" (2 tracks, m4a), "Locked" (a protected
    // and a cloud track), "Everything" (all music); the podcast "Weekly" of 5 episodes.
    void configure(const QStringList& aPlaylists, int aPodcastSetting = SyncSettings::PodcastsNone,
                   int aEpisodes = 0, bool aConvertToMp3 = false);
    // Adds a playlist with a new track, and rewrites the library file.
    void addPlaylistWithNewTrack(const QString& aName, const QString& aTitle);
    // Adds a track of real audio at aLocalPath (under the home folder); returns its library id.
    // The library file is written by writeLibrary().
    int addTrack(const QString& aTitle, const QString& aArtist, const QString& aAlbum,
                 const QString& aLocalPath, int aNumber = 1, int aDisc = 0, double aSeconds = 0.5);
    void addPlaylist(const QString& aName, const QList<int>& aIds);
    void removePlaylist(const QString& aName);
    void writeLibrary();

    struct RunOptions
    {
        bool force = false;
        bool confirmDelete = true;
        bool cancelOnSpaceWarning = true;
        // Called on the front end's thread at every report of state 13 (copying).
        std::function<void(SyncRun&, int aPercent)> whileCopying;
        // Called on the front end's thread at every state reported.
        std::function<void(SyncRun&, int aState)> onState;
    };
    SyncOutcome run(const RunOptions& aOptions);
    SyncOutcome run() { return run(RunOptions()); }

    // Files under the target's Music folder, relative to its root.
    QStringList musicOnDrive() const { return files("Music"); }
    QByteArray readOnDevice(const QString& aPath) const { return read(aPath); }
    bool existsOnDevice(const QString& aPath) const { return exists(aPath); }
    void writeOnDevice(const QString& aPath, const QByteArray& aContent) { write(aPath, aContent); }
    // Copies become slow enough for a cancel to arrive during them.
    void slowDown();
    // The tracks the drive's cache says are on it: device path -> recorded size.
    QMap<QString, qint64> cachedOnDevice() const;

    QString xmlPath;
    LibraryXmlWriter writer;
    std::unique_ptr<LocalMusicLibrary> library;

private:
    int mNextId = 500;
};
