#include "devices/usbms/UsbMSDevice.h"
#include "support/FakeDriveProber.h"
#include "support/TestHome.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class UsbMSPlaylistTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mRoot = mHome.path() + "/media/PHONE/";
        QDir().mkpath(mRoot + "KORDA");
        mDevice = std::make_unique<UsbMSDevice>(mRoot, "Phone", true, std::make_shared<FakeDriveProber>());
        for (int i = 0; i < 3; ++i) {
            Track track(QString("Track %1").arg(i), "Album", "Band", i, "/x", true, true, false,
                        QString("\\Music\\Band\\Album\\%1.mp3").arg(i));
            mTracks.addTrack(track);
        }
    }
    LocalPlaylist playlist(const QString& aName, std::initializer_list<int> aTracks) const
    {
        LocalPlaylist list(aName);
        for (int index : aTracks)
            list.append(index, 0);
        return list;
    }

    TestHome mHome;
    QString mRoot;
    std::unique_ptr<UsbMSDevice> mDevice;
    TrackList mTracks;
};

} // namespace

TEST_F(UsbMSPlaylistTest, PlaylistsWrittenOrEmptiedAreHintedAndUnchangedOnesNotTouched)
{
    mHome.writeFile("media/PHONE/Playlists_VLT/Old.m3u", "#EXTM3U\r\n#EXTINF:0,x\r\n\\Music\\x.mp3\r\n");
    mDevice->PrepareForSync();
    ASSERT_EQ(mDevice->createPlaylist(playlist("Rock", {0, 2}), mTracks, false), 0);
    ASSERT_EQ(mDevice->createPlaylist(playlist("Jazz", {}), mTracks, false), 0);
    mDevice->removeOldPlaylists();
    mDevice->FinalizeSync();
    EXPECT_EQ(readWholeFile(mRoot + "Playlists_VLT/Jazz.m3u"), QByteArray("#EXTM3U\r\n"));
    const QList<QByteArray> hints = readWholeFile(mRoot + "KORDA/playlisthint").split('\n');
    EXPECT_EQ(hints.count("Rock.m3u"), 1);
    EXPECT_EQ(hints.count("Jazz.m3u"), 1);
    EXPECT_EQ(hints.count("Old.m3u"), 1);

    // A second run with nothing changed writes nothing and hints nothing: the files are not
    // touched at all.
    const QByteArray hintBefore = readWholeFile(mRoot + "KORDA/playlisthint");
    const QDateTime rockWritten = QFileInfo(mRoot + "Playlists_VLT/Rock.m3u").lastModified();
    const QDateTime oldWritten = QFileInfo(mRoot + "Playlists_VLT/Old.m3u").lastModified();
    QThread::msleep(20);
    for (int run = 0; run < 3; ++run) {
        mDevice->PrepareForSync();
        mDevice->createPlaylist(playlist("Rock", {0, 2}), mTracks, false);
        mDevice->createPlaylist(playlist("Jazz", {}), mTracks, false);
        mDevice->removeOldPlaylists();
        mDevice->FinalizeSync();
    }
    EXPECT_EQ(readWholeFile(mRoot + "KORDA/playlisthint"), hintBefore);
    EXPECT_EQ(QFileInfo(mRoot + "Playlists_VLT/Rock.m3u").lastModified(), rockWritten);
    EXPECT_EQ(QFileInfo(mRoot + "Playlists_VLT/Old.m3u").lastModified(), oldWritten);
}

TEST_F(UsbMSPlaylistTest, PlaylistNamesCannotLeaveThePlaylistFolder)
{
    mDevice->PrepareForSync();
    mDevice->createPlaylist(playlist("../../escape", {0}), mTracks, false);
    mDevice->createPlaylist(playlist("Rock & Roll (Live)", {1}), mTracks, false);
    mDevice->createPlaylist(playlist("a\\b:c*d", {1}), mTracks, false);
    EXPECT_FALSE(QFileInfo::exists(mHome.path() + "/escape.m3u"));
    EXPECT_FALSE(QFileInfo::exists(mHome.path() + "/media/escape.m3u"));
    EXPECT_EQ(QDir(mRoot + "Playlists_VLT").entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{"Rock & Roll (Live).m3u", "___.._escape.m3u", "a_b_c_d.m3u"}));
}

TEST_F(UsbMSPlaylistTest, OnlyTheOrderedPathsDecideWhetherAPlaylistIsTheSame)
{
    const QString local = mHome.path() + "/tempplaylist.m3u";
    const LocalPlaylist rock = playlist("Rock", {0, 1, 2});
    ASSERT_EQ(mDevice->Device::createPlaylist(rock, mTracks, local, false), 0);
    EXPECT_EQ(readWholeFile(local),
              QByteArray(
                  "#EXTM3U\r\n#EXTINF:0,Track 0\r\n..\\Music\\Band\\Album\\0.mp3\r\n#EXTINF:0,Track 1\r\n"
                  "..\\Music\\Band\\Album\\1.mp3\r\n#EXTINF:0,Track 2\r\n..\\Music\\Band\\Album\\2.mp3\r\n"));
    EXPECT_TRUE(mDevice->identicalPlaylistAlreadyExists(local, rock, mTracks));

    TrackList renamed;
    for (const Track& track : mTracks) {
        Track copy("Renamed " + track.trackName(), track.albumName(), track.artistName(),
                   track.trackNumberOnAlbum(), track.path(), true, true, false, track.deviceId());
        renamed.addTrack(copy);
    }
    EXPECT_TRUE(mDevice->identicalPlaylistAlreadyExists(local, rock, renamed));
    EXPECT_FALSE(mDevice->identicalPlaylistAlreadyExists(local, playlist("Rock", {0, 2, 1}), mTracks));
    EXPECT_FALSE(mDevice->identicalPlaylistAlreadyExists(local, playlist("Rock", {0, 1}),
                                                         mTracks)); // extra at the end
    EXPECT_FALSE(mDevice->identicalPlaylistAlreadyExists(mHome.path() + "/missing.m3u", rock, mTracks));

    mDevice->Device::createPlaylist(rock, mTracks, local, true);
    EXPECT_TRUE(readWholeFile(local).startsWith("#EXTM3U\r\n#NAME:Rock\r\n"));
    EXPECT_FALSE(mDevice->identicalPlaylistAlreadyExists(local, rock, mTracks));

    // A track that is not on the device (its copy failed) gets no lines: no "#EXTINF:" followed
    // by a path naming nothing.
    TrackList unplaced;
    unplaced.addTrack(Track("Nowhere", "A", "B", 1, "/x", true, false, false));
    unplaced.addTrack(mTracks.at(1));
    mDevice->Device::createPlaylist(playlist("P", {0, 1}), unplaced, local, false);
    EXPECT_EQ(readWholeFile(local),
              QByteArray("#EXTM3U\r\n#EXTINF:0,Track 1\r\n..\\Music\\Band\\Album\\1.mp3\r\n"));
    EXPECT_TRUE(mDevice->identicalPlaylistAlreadyExists(local, playlist("P", {0, 1}), unplaced));
    mDevice->createPlaylist(playlist("P", {0, 1}), unplaced, false);
    EXPECT_EQ(readWholeFile(mRoot + "Playlists_VLT/P.m3u"),
              QByteArray("#EXTM3U\r\n#EXTINF:0,Track 1\r\n\\Music\\Band\\Album\\1.mp3\r\n"));
}
