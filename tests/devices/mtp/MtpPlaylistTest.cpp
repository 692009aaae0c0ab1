// Playlists on phones: the M3U objects the phone's own player shows through their references, and
// the VLT playlists of a phone application that takes them.
#include "devices/mtp/DeviceMtpMac.h"
#include "support/SimulatedPhone.h"
#include "support/TestHome.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <gtest/gtest.h>

namespace {

class MtpPlaylistTest : public ::testing::Test
{
protected:
    void connect(bool aVlt)
    {
        mStorage = mPhone->addStorage("Internal shared storage");
        mPhone->installTandrel(mStorage, aVlt);
        mPhone->putFile(mStorage, "Playlists_VLT/Gone.vlt",
                        "#EXTM3U\r\n#NAME:Gone\r\n#EXTINF:0,x\r\n..\\Music\\x.mp3\r\n");
        mPhone->putFile(mStorage, "Playlists_VLT/Old.m3u", "#EXTM3U\r\n#EXTINF:0,x\r\n..\\Music\\x.mp3\r\n");
        mParent = mPhone->openParent();
        mDevice = static_cast<DeviceMtpMac*>(mParent->children().first());
        for (int i = 1; i <= 3; ++i) {
            const QString path = mHome.writeFile(QString("library/%1.mp3").arg(i), "audio");
            Track track(QString("Song %1").arg(i), "Album", "Band", i, path, true, false, false);
            EXPECT_EQ(mDevice->UploadTrack(track), 0);
            mTracks.addTrack(track);
        }
        mDevice->PrepareForSync();
    }
    LocalPlaylist playlist(const QString& aName, const QList<int>& aTracks) const
    {
        LocalPlaylist list(aName);
        for (int index : aTracks)
            list.append(index, 0);
        return list;
    }

    TestHome mHome;
    std::shared_ptr<SimulatedPhone> mPhone = std::make_shared<SimulatedPhone>();
    QString mStorage;
    std::unique_ptr<DeviceParentMtpMac> mParent;
    DeviceMtpMac* mDevice = nullptr;
    TrackList mTracks;
};

} // namespace

TEST_F(MtpPlaylistTest, AnM3uPlaylistNamesItsTracksInOrder)
{
    connect(false);
    ASSERT_EQ(mDevice->createPlaylist(playlist("Road Trip", {2, 0}), mTracks, false), 0);
    EXPECT_EQ(mPhone->references(mStorage, "Playlists_VLT/Road Trip.m3u"),
              (QStringList{"Music/Band/Album/3.mp3", "Music/Band/Album/1.mp3"}));
    mDevice->removeOldPlaylists(); // a VLT playlist is no M3U playlist of ours: it stays
    EXPECT_EQ(mPhone->files(mStorage, "Playlists_VLT"),
              (QStringList{"Playlists_VLT/Gone.vlt", "Playlists_VLT/Road Trip.m3u"}));
}

TEST_F(MtpPlaylistTest, VltPlaylistsCarryTheirNamesAndOldOnesAreEmptied)
{
    connect(true);
    ASSERT_EQ(mDevice->createPlaylist(playlist("Rock/Pop", {2, 0}), mTracks, false), 0);
    ASSERT_EQ(mDevice->createPlaylist(playlist("Rock_Pop", {1}), mTracks, false), 0);
    EXPECT_EQ(mPhone->file(mStorage, "Playlists_VLT/Rock_Pop.vlt"),
              "#EXTM3U\r\n#NAME:Rock/Pop\r\n#EXTINF:0,Song 3\r\n..\\Music\\Band\\Album\\3.mp3\r\n"
              "#EXTINF:0,Song 1\r\n..\\Music\\Band\\Album\\1.mp3\r\n");
    const int sends = mPhone->sends();
    ASSERT_EQ(mDevice->createPlaylist(playlist("Rock/Pop", {2, 0}), mTracks, false), 0);
    EXPECT_EQ(mPhone->sends(), sends);
    // Every file but the .vlt playlists goes; old .vlt playlists are emptied.
    mDevice->removeOldPlaylists();
    EXPECT_EQ(mPhone->files(mStorage, "Playlists_VLT"),
              (QStringList{"Playlists_VLT/Gone.vlt", "Playlists_VLT/Rock_Pop (2).vlt",
                           "Playlists_VLT/Rock_Pop.vlt"}));
    EXPECT_EQ(mPhone->file(mStorage, "Playlists_VLT/Gone.vlt"), "#EXTM3U\r\n#NAME:Gone\r\n");
}
