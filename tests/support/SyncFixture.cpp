#include "support/SyncFixture.h"

#include "support/AudioFixtures.h"
#include "tracks/TrackCache.h"
#include "tracks/TrackList.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QThread>

#include <gtest/gtest.h>

namespace {

XmlTrackEntry entry(int aId, const QString& aName, const QString& aArtist, const QString& aAlbum,
                    const QString& aPath, int aNumber)
{
    XmlTrackEntry track{aId, aName, aArtist, aAlbum,
                        aPath.isEmpty() ? QString() : LibraryXmlWriter::fileUrl(aPath)};
    track.size = aPath.isEmpty() ? 0 : QFileInfo(aPath).size();
    track.trackNumber = aNumber;
    return track;
}

} // namespace

SyncFixture::SyncFixture(Target aTarget) : TestTarget(aTarget)
{
    const QString media = home.path() + "/Music/iTunes/iTunes Media/";
    const QString rockFolder = media + "Music/Stone Band/Heavy/";
    const QString jazzFolder = media + "Music/Cool Trio/Blue/";
    const QString podcastFolder = media + "Podcasts/Weekly/";
    for (const QString& folder : {rockFolder, jazzFolder, podcastFolder})
        QDir().mkpath(folder);
    const QByteArray rockCover = fixtures::makeImage("JPG", 400, 0x884422);
    for (int i = 1; i <= 3; ++i) {
        const QString path = rockFolder + QString("%1 Rock Song.mp3").arg(i);
        EXPECT_TRUE(fixtures::makeAudio(path, QString("Rock Song %1").arg(i), "Stone Band", "Heavy"));
        EXPECT_TRUE(fixtures::embedPicture(path, rockCover));
        writer.tracks.append(entry(100 + i, QString("Rock Song %1").arg(i), "Stone Band", "Heavy", path, i));
    }
    // The jazz cover is 600 x 300 and half transparent.
    QImage wide(600, 300, QImage::Format_ARGB32);
    wide.fill(Qt::transparent);
    for (int y = 0; y < 300; ++y)
        for (int x = 300; x < 600; ++x)
            wide.setPixelColor(x, y, QColor(20, 40, 200));
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    wide.save(&png, "PNG");
    for (int i = 1; i <= 2; ++i) {
        const QString path = jazzFolder + QString("%1 Jazz Tune.m4a").arg(i);
        EXPECT_TRUE(fixtures::makeAudio(path, QString("Jazz Tune %1").arg(i), "Cool Trio", "Blue"));
        EXPECT_TRUE(fixtures::embedPicture(path, png.data()));
        writer.tracks.append(entry(200 + i, QString("Jazz Tune %1").arg(i), "Cool Trio", "Blue", path, i));
    }
    const QString locked = media + "Music/Stone Band/Heavy/Locked.m4p";
    EXPECT_TRUE(fixtures::makeAudio(locked));
    writer.tracks.append(entry(301, "Locked Song", "Stone Band", "Heavy", locked, 9));
    XmlTrackEntry cloud = entry(302, "Cloud Song", "Stone Band", "Heavy", QString(), 10);
    cloud.trackType = "Remote";
    writer.tracks.append(cloud);
    for (int i = 1; i <= 5; ++i) {
        const QString path = podcastFolder + QString("Episode %1.mp3").arg(i);
        EXPECT_TRUE(fixtures::makeAudio(path, QString("Episode %1").arg(i), "Host", "Weekly", 0.5));
        XmlTrackEntry episode = entry(400 + i, QString("Episode %1").arg(i), "Host", "Weekly", path, i);
        episode.dateAdded = QString("2026-0%1-01T10:00:00Z").arg(i);
        writer.tracks.append(episode);
    }
    writer.musicFolder = LibraryXmlWriter::fileUrl(media);
    writer.playlists = {
        {"Library",
         true,
         -1,
         false,
         false,
         false,
         {101, 102, 103, 201, 202, 301, 302, 401, 402, 403, 404, 405}},
        {"Music", false, 4, false, false, false, {101, 102, 103, 201, 202, 301, 302}},
        {"Rock", false, -1, false, false, false, {101, 102, 103}},
        {"Jazz", false, -1, false, false, false, {201, 202}},
        {"Locked", false, -1, false, false, false, {301, 302}},
        {"Podcasts", false, 10, true, false, false, {401, 402, 403, 404, 405}},
    };
    xmlPath = home.path() + "/Music/iTunes/iTunes Music Library.xml";
    EXPECT_TRUE(writer.writeTo(xmlPath));

    device->SetConfigured();
    library = std::make_unique<LocalMusicLibrary>(std::make_shared<ITunesXmlBackend>(xmlPath));
    // The library file is always there: a run never waits for it as for an iTunes not started.
    library->stopRetrying();
}

namespace {

// A drive as slow as a real one, so that a cancel from the front end arrives during the copy.
class SlowDrive : public UsbMSDevice
{
public:
    using UsbMSDevice::UsbMSDevice;
    int UploadTrack(Track& aTrack) override
    {
        QThread::msleep(150);
        return UsbMSDevice::UploadTrack(aTrack);
    }
};

} // namespace

void SyncFixture::slowDown()
{
    if (onPhone())
        phone->setBlockDelay(150);
    else
        replaceDrive(std::make_unique<SlowDrive>(root, "Player", true, prober));
}

void SyncFixture::configure(const QStringList& aPlaylists, int aPodcastSetting, int aEpisodes,
                            bool aConvertToMp3)
{
    SyncSettings settings;
    settings.load();
    const QString id = device->UniqueDeviceId();
    const bool entire = aPlaylists == QStringList{"*"};
    settings.setConfig(id, entire, aPodcastSetting, entire ? QStringList() : aPlaylists, {"Weekly"},
                       "Player");
    settings.setNumberOfEpisodesToSync(id, aEpisodes);
    settings.setConvertAacToMp3(id, aConvertToMp3);
    settings.save();
}

void SyncFixture::addPlaylistWithNewTrack(const QString& aName, const QString& aTitle)
{
    const QString path = home.path() + "/Music/iTunes/iTunes Media/Music/Stone Band/Heavy/" + aTitle + ".mp3";
    EXPECT_TRUE(fixtures::makeAudio(path, aTitle, "Stone Band", "Heavy"));
    const int id = mNextId++;
    writer.tracks.append(entry(id, aTitle, "Stone Band", "Heavy", path, 20));
    writer.playlists.append({aName, false, -1, false, false, false, {101, id}});
    EXPECT_TRUE(writer.writeTo(xmlPath));
}

namespace {

// The front end of the whole-run tests: it records what the run reports and answers as told.
class RecordingFrontEnd : public SyncFrontEnd
{
public:
    RecordingFrontEnd(const SyncFixture::RunOptions& aOptions, SyncOutcome& aOutcome)
        : mOptions(aOptions), mOutcome(aOutcome)
    {
    }
    SyncRun* run = nullptr;
    bool finished = false;

    void UpdateProgress(int aState, int aPercent) override
    {
        mOutcome.states.append(aState);
        if (aState == SyncState::Copying)
            mOutcome.transferPercentages.append(aPercent);
        if (mOptions.onState)
            mOptions.onState(*run, aState);
    }
    void UpdateProgress(int aState, int aPercent, const QString&) override
    {
        if (aState != SyncState::Copying)
            return;
        mOutcome.copyingPercentages.append(aPercent);
        if (mOptions.whileCopying)
            mOptions.whileCopying(*run, aPercent);
    }
    bool ConfirmDeleteTracks(const TrackList&) override
    {
        ++mOutcome.deleteQuestions;
        return mOptions.confirmDelete;
    }
    void displayDrmTracksWarning(const TrackList&) override { ++mOutcome.drmReports; }
    void displayTracksNotDownloadedWarning(const TrackList&) override { ++mOutcome.notDownloadedReports; }
    bool notEnoughSpace(qint64 aShortfall) override
    {
        mOutcome.spaceShortfall = aShortfall;
        return !mOptions.cancelOnSpaceWarning;
    }
    void syncFinished(const MusicSync& aSync) override
    {
        finished = true;
        mOutcome.state = aSync.state();
        for (const Track& track : aSync.GetNonCopiedTracks())
            mOutcome.nonCopied.append(track.trackName());
        mOutcome.nonCopiedReasons = aSync.nonCopiedReasons();
        mOutcome.missingPlaylists = aSync.missingPlaylists();
        mOutcome.failureReason = aSync.failureReason();
        mOutcome.dataFailures = aSync.dataTransferFailures();
        mOutcome.extractionFailed = aSync.backupExtractionFailed();
    }

private:
    const SyncFixture::RunOptions& mOptions;
    SyncOutcome& mOutcome;
};

} // namespace

int SyncFixture::addTrack(const QString& aTitle, const QString& aArtist, const QString& aAlbum,
                          const QString& aLocalPath, int aNumber, int aDisc, double aSeconds)
{
    const QString path = home.path() + '/' + aLocalPath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(fixtures::makeAudio(path, aTitle, aArtist, aAlbum, aSeconds));
    const int id = mNextId++;
    XmlTrackEntry track = entry(id, aTitle, aArtist, aAlbum, path, aNumber);
    track.discNumber = aDisc;
    writer.tracks.append(track);
    return id;
}

void SyncFixture::addPlaylist(const QString& aName, const QList<int>& aIds)
{
    writer.playlists.append({aName, false, -1, false, false, false, aIds});
}

void SyncFixture::removePlaylist(const QString& aName)
{
    for (qsizetype i = 0; i < writer.playlists.size(); ++i) {
        if (writer.playlists[i].name == aName)
            writer.playlists.removeAt(i--);
    }
}

void SyncFixture::writeLibrary()
{
    EXPECT_TRUE(writer.writeTo(xmlPath));
}

SyncOutcome SyncFixture::run(const RunOptions& aOptions)
{
    SyncOutcome outcome;
    RecordingFrontEnd frontEnd(aOptions, outcome);
    SyncRun run(*library, *device, parent.get(), frontEnd, KeepAwake::Factory());
    frontEnd.run = &run;
    run.start(aOptions.force);
    while (!frontEnd.finished)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return outcome;
}

QMap<QString, qint64> SyncFixture::cachedOnDevice() const
{
    QMap<QString, qint64> cached;
    TrackCache cache;
    if (cache.open(device->UniqueDeviceId()) != 0)
        return cached;
    TrackList tracks;
    cache.updateTrackList(tracks, -1);
    for (const Track& track : tracks) {
        if (track.onRemoteDevice())
            cached.insert(track.deviceId(), track.recordedSizeOnDevice());
    }
    return cached;
}
