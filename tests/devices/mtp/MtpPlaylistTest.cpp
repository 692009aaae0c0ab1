// Playlists on phones: with and without the phone application's VLT playlists.
#include "devices/mtp/DeviceMtpMac.h"
#include "support/SimulatedPhone.h"
#include "support/TestHome.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <gtest/gtest.h>

namespace {

class MtpPlaylistTest : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        mStorage = mPhone->addStorage("Internal shared storage");
        mPhone->installTandrel(mStorage, vlt());
        mParent = mPhone->openParent();
        mDevice = static_cast<DeviceMtpMac*>(mParent->children().first());
        for (int i = 1; i <= 3; ++i) {
            const QString path = mHome.writeFile(QString("library/%1.mp3").arg(i), "audio");
            Track track(QString("Song %1").arg(i), "Album", "Band", i, path, true, false, false);
            EXPECT_EQ(mDevice->UploadTrack(track), 0);
            mTracks.addTrack(track);
        }
    }
    bool vlt() const { return GetParam(); }
    QString file(const QString& aName) const { return "Playlists_VLT/" + aName + (vlt() ? ".vlt" : ".m3u"); }
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

TEST_P(MtpPlaylistTest, APlaylistIsWrittenWithItsPathsAndSentOnlyWhenItChanges)
{
    mDevice->PrepareForSync();
    ASSERT_EQ(mDevice->createPlaylist(playlist("Road Trip", {2, 0}), mTracks, false), 0);
    const QByteArray expected = QByteArray("#EXTM3U\r\n") + (vlt() ? "#NAME:Road Trip\r\n" : "") +
                                "#EXTINF:0,Song 3\r\n..\\Music\\Band\\Album\\3.mp3\r\n"
                                "#EXTINF:0,Song 1\r\n..\\Music\\Band\\Album\\1.mp3\r\n";
    EXPECT_EQ(mPhone->file(mStorage, file("Road Trip")), expected);
    if (!vlt()) { // the phone's player shows the playlist through its references, in order
        EXPECT_EQ(mPhone->references(mStorage, file("Road Trip")),
                  (QStringList{"Music/Band/Album/3.mp3", "Music/Band/Album/1.mp3"}));
    }

    // The same playlist again: read back, found identical, not sent.
    const QString id = mPhone->objectId(mStorage, file("Road Trip"));
    const int sends = mPhone->sends();
    ASSERT_EQ(mDevice->createPlaylist(playlist("Road Trip", {2, 0}), mTracks, false), 0);
    EXPECT_EQ(mPhone->sends(), sends);
    EXPECT_EQ(mPhone->objectId(mStorage, file("Road Trip")), id);
    // Forced, or in another order: sent again, one file still.
    ASSERT_EQ(mDevice->createPlaylist(playlist("Road Trip", {2, 0}), mTracks, true), 0);
    EXPECT_EQ(mPhone->sends(), sends + 1);
    ASSERT_EQ(mDevice->createPlaylist(playlist("Road Trip", {0, 2}), mTracks, false), 0);
    EXPECT_EQ(mPhone->sends(), sends + 2);
    EXPECT_TRUE(mPhone->file(mStorage, file("Road Trip")).endsWith("..\\Music\\Band\\Album\\3.mp3\r\n"));
    EXPECT_EQ(mPhone->files(mStorage, "Playlists_VLT").size(), 1);
}

TEST_P(MtpPlaylistTest, PlaylistsOfEarlierRunsAreRetired)
{
    mPhone->putFile(mStorage, "Playlists_VLT/Old.m3u", "#EXTM3U\r\n#EXTINF:0,x\r\n..\\Music\\x.mp3\r\n");
    mPhone->putFile(mStorage, "Playlists_VLT/Gone.vlt",
                    "#EXTM3U\r\n#NAME:Gone\r\n#EXTINF:0,x\r\n..\\Music\\x.mp3\r\n");
    mPhone->putFile(mStorage, "Playlists_VLT/notes.txt", "mine");
    mParent = mPhone->openParent();
    mDevice = static_cast<DeviceMtpMac*>(mParent->children().first());
    mDevice->PrepareForSync();
    ASSERT_EQ(mDevice->createPlaylist(playlist("Keep", {0}), mTracks, false), 0);
    mDevice->removeOldPlaylists();
    QStringList expected;
    if (vlt()) // every file but the .vlt playlists goes; old .vlt playlists are emptied
        expected = {"Playlists_VLT/Gone.vlt", "Playlists_VLT/Keep.vlt"};
    else // playlists of earlier runs go; other files stay
        expected = {"Playlists_VLT/Gone.vlt", "Playlists_VLT/Keep.m3u", "Playlists_VLT/notes.txt"};
    EXPECT_EQ(mPhone->files(mStorage, "Playlists_VLT"), expected);
    if (vlt()) {
        EXPECT_EQ(mPhone->file(mStorage, "Playlists_VLT/Gone.vlt"), "#EXTM3U\r\n#NAME:Gone\r\n");
    }
}

TEST_P(MtpPlaylistTest, TwoPlaylistsWhoseNamesBecomeOneFileGetAFileEach)
{
    mDevice->PrepareForSync();
    ASSERT_EQ(mDevice->createPlaylist(playlist("Rock/Pop", {0}), mTracks, false), 0);
    ASSERT_EQ(mDevice->createPlaylist(playlist("Rock_Pop", {1}), mTracks, false), 0);
    mDevice->removeOldPlaylists();
    const QString extension = vlt() ? ".vlt" : ".m3u";
    EXPECT_EQ(mPhone->files(mStorage, "Playlists_VLT"),
              (QStringList{"Playlists_VLT/Rock_Pop (2)" + extension, "Playlists_VLT/Rock_Pop" + extension}));
}

INSTANTIATE_TEST_SUITE_P(Phones, MtpPlaylistTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& aInfo) {
                             return aInfo.param ? "WithVltPlaylists" : "WithM3uPlaylists";
                         });
