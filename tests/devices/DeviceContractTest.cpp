// What every kind of device does the same way, on a folder standing for a USB drive and on a
// simulated phone: tracks copied into their folders and recorded, MP3 names, sources that are
// not there, a full device, deletions, album art, copies cut short, playlists and file copies.
#include "devices/mtp/DeviceMtpMac.h"
#include "devices/usbms/DriveFiles.h"
#include "devices/usbms/UsbMSDevice.h"
#include "settings/SyncSettings.h"
#include "support/FileSizeLimit.h"
#include "support/TestTarget.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"
#include "tracks/TrackList.h"

#include <QDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class DeviceContract : public ::testing::TestWithParam<TestTarget::Kind>
{
protected:
    // An upload as a run makes it: named on the device once the run ends.
    int upload(Track& aTrack)
    {
        const int result = target.device->UploadTrack(aTrack);
        target.device->FinalizeSync();
        return result;
    }
    TrackCache& openCache()
    {
        SyncSettings settings;
        settings.load();
        settings.setConfig(target.device->UniqueDeviceId(), true, 0, {}, {}, "Player");
        EXPECT_EQ(mCache.open(target.device->UniqueDeviceId()), TrackCache::kNewCacheFile);
        mCache.readHeader();
        return mCache;
    }
    static LocalPlaylist playlist(const QString& aName, const QList<int>& aTracks)
    {
        LocalPlaylist list(aName);
        for (int index : aTracks)
            list.append(index, 0);
        return list;
    }

    TestTarget target{GetParam()};
    TrackCache mCache;
};

} // namespace

TEST_P(DeviceContract, AnUploadMakesItsFoldersAndRecordsTheTrack)
{
    target.device->PrepareForSync();
    Track track = target.home.libraryTrack("a.mp3", "Band", "Album", QByteArray(200000, 'a'));
    ASSERT_EQ(upload(track), 0);
    Track unknown = target.home.libraryTrack("b.mp3", "", "");
    ASSERT_EQ(upload(unknown), 0);
    Track compilation = target.home.libraryTrack("c.mp3", "Various", "Hits");
    compilation.setIsCompilation(true);
    ASSERT_EQ(upload(compilation), 0);
    EXPECT_EQ(target.files("Music"), (QStringList{"Music/Band/Album/a.mp3", "Music/Compilation/Hits/c.mp3",
                                                  "Music/Unknown/Unknown/b.mp3"}));
    EXPECT_EQ(target.read("Music/Band/Album/a.mp3"), QByteArray(200000, 'a'));
    EXPECT_EQ(track.deviceId(), "\\Music\\Band\\Album\\a.mp3");
    EXPECT_TRUE(track.onRemoteDevice());
    EXPECT_EQ(track.recordedSizeOnDevice(), 200000);
    EXPECT_TRUE(target.device->trackIsOnDevice(track));
    if (target.onPhone()) { // cut short by another program, a recorded copy no longer counts
        target.write("Music/Band/Album/a.mp3", QByteArray(1200, 'a'));
        target.reconnect();
        EXPECT_FALSE(target.device->trackIsOnDevice(track));
    }
}

TEST_P(DeviceContract, AConvertedTrackIsStoredUnderItsMp3Name)
{
    Track track = target.home.libraryTrack("02 Tune.m4a");
    track.setConvertToMp3(true);
    ASSERT_TRUE(track.needsConversion());
    target.home.writeFile("KORDA/temp.mp3", "converted mp3 data"); // what the converter left
    ASSERT_EQ(upload(track), 0);
    EXPECT_EQ(track.deviceId(), "\\Music\\Band\\Album\\02 Tune.mp3");
    EXPECT_EQ(target.files("Music"), QStringList{"Music/Band/Album/02 Tune.mp3"});
    EXPECT_EQ(target.read("Music/Band/Album/02 Tune.mp3"), "converted mp3 data");
    if (target.onPhone()) { // a lookup by the track alone (no device path yet) finds it too
        Track fresh = target.home.libraryTrack("02 Tune.m4a");
        fresh.setConvertToMp3(true);
        auto* phone = static_cast<DeviceMtpMac*>(target.device);
        QString byPath, byTrack;
        EXPECT_EQ(phone->GetIdFromTrack(track, byPath), 0);
        EXPECT_EQ(phone->GetIdFromTrack(fresh, byTrack), 0);
        EXPECT_EQ(byPath, byTrack);
    }
}

TEST_P(DeviceContract, ASourceThatIsNotThereIsAFailedUploadThatLeavesTheTrackAlone)
{
    // Missing, of another computer (never looked for in the working folder), or no regular file.
    const QString home = target.home.path();
    target.home.writeFile("Z:/Music/a.mp3", "not this one");
    QDir::setCurrent(home);
    const QString fifo = home + "/library/pipe.mp3";
    QDir().mkpath(home + "/library");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path :
         {home + "/library/gone.mp3", QString("Z:/Music/a.mp3"), fifo, home + "/library"}) {
        Track track("Gone", "Album", "Band", 1, path, true, false, false);
        EXPECT_EQ(upload(track), Device::kSourceFileMissing) << path.toStdString();
        EXPECT_EQ(track.deviceId(), QString());
        EXPECT_FALSE(track.onRemoteDevice());
    }
    QDir::setCurrent(QDir::rootPath());
    EXPECT_TRUE(target.files("Music").isEmpty());
}

TEST_P(DeviceContract, AFullDeviceIsACleanCopyFailure)
{
    Track track = target.home.libraryTrack("big.mp3", "Band", "Album", QByteArray(64 * 1024, 'x'));
    int result = 0;
    if (target.onPhone()) {
        target.setFreeSpace(1000);
        result = upload(track);
    } else {
        FileSizeLimit full(4096);
        ASSERT_TRUE(full.active());
        result = upload(track);
    }
    EXPECT_EQ(result, Device::kDeviceFull);
    EXPECT_FALSE(track.onRemoteDevice());
    EXPECT_EQ(track.deviceId(), QString());
    EXPECT_TRUE(target.files("Music").isEmpty()); // no partial file, visible or not
}

TEST_P(DeviceContract, DeletingTwiceRemovesTheTrackAndItsRecordBothTimes)
{
    TrackCache& cache = openCache();
    Track track = target.home.libraryTrack("a.mp3");
    ASSERT_EQ(upload(track), 0);
    ASSERT_EQ(cache.addTrack(track), 0);
    ASSERT_EQ(target.device->DeleteTrack(cache, track), 0);
    EXPECT_FALSE(target.exists("Music/Band/Album/a.mp3"));
    EXPECT_FALSE(track.onRemoteDevice());
    EXPECT_EQ(cache.totalSizeOfUploadedFiles(), 0);
    // Already gone: still a success, and the cache is marked again.
    EXPECT_EQ(target.device->DeleteTrack(cache, track), 0);
    EXPECT_FALSE(target.device->trackIsOnDevice(track));
    cache.close();
    TrackCache reader;
    reader.open(target.device->UniqueDeviceId());
    TrackList list;
    reader.updateTrackList(list, -1);
    ASSERT_EQ(list.count(), 1);
    EXPECT_FALSE(list.at(0).onRemoteDevice());
}

TEST_P(DeviceContract, AlbumArtTwiceLeavesOneArtFile)
{
    Track track = target.home.libraryTrack("a.mp3");
    ASSERT_EQ(upload(track), 0);
    target.device->uploadAlbumArt(track, target.home.writeFile("art1.jpg", "first picture"));
    target.device->uploadAlbumArt(track, target.home.writeFile("art2.jpg", "second picture"));
    const QString art = "Music/Band/Album/" + target.artFile();
    QStringList expected{art, "Music/Band/Album/a.mp3"};
    expected.sort();
    EXPECT_EQ(target.files("Music"), expected);
    if (target.onPhone()) {
        EXPECT_EQ(target.read(art), "second picture");
    } else { // a drive's art is never replaced; the phone application is told to look again
        EXPECT_EQ(target.read(art), "first picture");
        EXPECT_EQ(target.read("KORDA/refreshhint"),
                  QByteArray("\\Music\\Band\\Album\\a.mp3\r\n\\Music\\Band\\Album\\a.mp3\r\n"));
    }
}

TEST_P(DeviceContract, ACopyCutShortIsRepairedNeverTrusted)
{
    Track track = target.home.libraryTrack("a.mp3", "Band", "Album", QByteArray(300000, 'p'));
    if (target.onPhone()) {
        // The cable goes during the send: the phone keeps part of the file under its name.
        SyncSettings settings;
        settings.load();
        settings.setConfig(target.device->UniqueDeviceId(), true, 0, {}, {}, "Phone");
        target.phone->unplugAfterBytes(100000);
        EXPECT_EQ(target.device->UploadTrack(track), Device::kDeviceGone);
        EXPECT_FALSE(target.device->unusableReason().isEmpty());
        EXPECT_EQ(target.read("Music/Band/Album/a.mp3").size(), 100000);
        target.reconnect();
        EXPECT_TRUE(target.device->unusableReason().isEmpty());
        target.device->PrepareForSync(); // the next run's start removes it
        EXPECT_TRUE(target.files("Music").isEmpty());
    } else {
        // A killed run leaves a partial file under the temporary name.
        target.write("Music/Band/Album/" + DriveFiles::partialName("a.mp3"), "aud");
        target.device->PrepareForSync();
    }
    ASSERT_EQ(upload(track), 0);
    EXPECT_EQ(target.files("Music"), QStringList{"Music/Band/Album/a.mp3"});
    EXPECT_EQ(target.read("Music/Band/Album/a.mp3").size(), 300000);
}

TEST_P(DeviceContract, PlaylistsAreWrittenWhenTheyChangeAndOldOnesRetired)
{
    TrackList tracks;
    for (int i = 0; i < 3; ++i) {
        Track track = target.home.libraryTrack(QString("%1.mp3").arg(i), "Band", "Album", "audio",
                                               QString("Song %1").arg(i));
        ASSERT_EQ(upload(track), 0);
        tracks.addTrack(track);
    }
    target.write("Playlists_VLT/Old.m3u", "#EXTM3U\r\n#EXTINF:0,x\r\n\\Music\\x.mp3\r\n");
    target.write("Playlists_VLT/notes.txt", "mine");
    target.reconnect();
    const auto run = [&](const LocalPlaylist& aPlaylist, bool aForce) {
        target.device->PrepareForSync();
        EXPECT_EQ(target.device->createPlaylist(aPlaylist, tracks, aForce), 0);
        target.device->removeOldPlaylists();
        target.device->FinalizeSync();
    };
    run(playlist("Road Trip", {2, 0}), false);
    const QByteArray prefix = target.playlistPathPrefix();
    EXPECT_EQ(target.read("Playlists_VLT/Road Trip.m3u"),
              "#EXTM3U\r\n#EXTINF:0,Song 2\r\n" + prefix +
                  "\\Music\\Band\\Album\\2.mp3\r\n#EXTINF:0,Song 0\r\n" + prefix +
                  "\\Music\\Band\\Album\\0.mp3\r\n");
    // A playlist of an earlier run: deleted on a phone, emptied on a drive. Other files stay.
    if (target.onPhone())
        EXPECT_FALSE(target.exists("Playlists_VLT/Old.m3u"));
    else
        EXPECT_EQ(target.read("Playlists_VLT/Old.m3u"), "#EXTM3U\r\n");
    EXPECT_EQ(target.read("Playlists_VLT/notes.txt"), "mine");

    // The same again is not written; forced or in another order, it is.
    const auto version = [&] {
        return target.onPhone() ? target.phone->objectId(target.phoneStorage, "Playlists_VLT/Road Trip.m3u")
                                : QString::number(target.read("KORDA/playlisthint").count("Road Trip.m3u"));
    };
    const QString first = version();
    run(playlist("Road Trip", {2, 0}), false);
    EXPECT_EQ(version(), first);
    run(playlist("Road Trip", {2, 0}), true);
    const QString forced = version();
    EXPECT_NE(forced, first);
    run(playlist("Road Trip", {0, 2}), false);
    EXPECT_NE(version(), forced);
    EXPECT_TRUE(target.read("Playlists_VLT/Road Trip.m3u").endsWith("\\Music\\Band\\Album\\2.mp3\r\n"));
}

TEST_P(DeviceContract, TwoPlaylistsWhoseNamesBecomeOneFileGetAFileEach)
{
    TrackList tracks;
    Track track = target.home.libraryTrack("a.mp3");
    ASSERT_EQ(upload(track), 0);
    tracks.addTrack(track);
    target.device->PrepareForSync();
    ASSERT_EQ(target.device->createPlaylist(playlist("Rock/Pop", {0}), tracks, false), 0);
    ASSERT_EQ(target.device->createPlaylist(playlist("Rock_Pop", {0}), tracks, false), 0);
    target.device->removeOldPlaylists();
    target.device->FinalizeSync();
    EXPECT_EQ(target.files("Playlists_VLT"),
              (QStringList{"Playlists_VLT/Rock_Pop (2).m3u", "Playlists_VLT/Rock_Pop.m3u"}));
}

TEST_P(DeviceContract, CopyFileReplacesOnlyWhenAsked)
{
    const QString first = target.home.writeFile("one.vcf", "first");
    const QString second = target.home.writeFile("two.vcf", "second");
    EXPECT_EQ(target.device->CopyFile(first, "\\KORDA\\Contacts\\contacts.vcf", false), 0);
    EXPECT_EQ(target.device->CopyFile(second, "\\KORDA\\Contacts\\contacts.vcf", false),
              Device::kCopyKeptExisting);
    EXPECT_EQ(target.read("KORDA/Contacts/contacts.vcf"), "first");
    EXPECT_EQ(target.device->CopyFile(second, "\\KORDA\\Contacts\\contacts.vcf", true), 0);
    EXPECT_EQ(target.read("KORDA/Contacts/contacts.vcf"), "second");
    EXPECT_EQ(target.files("KORDA/Contacts").size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Targets, DeviceContract,
                         ::testing::Values(TestTarget::Kind::Drive, TestTarget::Kind::Phone),
                         [](const ::testing::TestParamInfo<TestTarget::Kind>& aInfo) {
                             return aInfo.param == TestTarget::Kind::Drive ? "Drive" : "Phone";
                         });
