#include "devices/Device.h"
#include "devices/DeviceParentMs.h"
#include "devices/usbms/UsbMSDevice.h"
#include "support/FakeDriveProber.h"
#include "support/HostileXml.h"
#include "tracks/Track.h"

#include <gtest/gtest.h>

namespace {

QString sanitised(QString aName, bool aDots)
{
    Device::sanitiseFileName(aName, aDots);
    return aName;
}

Track trackAt(const QString& aPath, const QString& aArtist = "Artist", const QString& aAlbum = "Album")
{
    return Track("Title", aAlbum, aArtist, 1, aPath, true, false, false);
}

} // namespace

TEST(Device, SanitisingReplacesWhatFileSystemsCantHold)
{
    EXPECT_EQ(sanitised("AC/DC: Live!", false), "AC_DC_ Live_");
    EXPECT_EQ(sanitised("Vol. 1", true), "Vol_ 1");
    EXPECT_EQ(sanitised("Vol. 1", false), "Vol. 1");
    EXPECT_EQ(sanitised("  [a'b\\c^d?e<f>g,h&i:j\"k]l(m)n{o}p;q@r!s$t#u%v  ", false),
              "_a_b_c_d_e_f_g_h_i_j_k_l_m_n_o_p_q_r_s_t_u_v");
    // FAT and exFAT can't store these either.
    EXPECT_EQ(sanitised("a*b|c\x01"
                        "d\te",
                        false),
              "a_b_c_d_e");
    EXPECT_EQ(sanitised("- _ + = ~ \u00e9\u65e5", false), "- _ + = ~ \u00e9\u65e5");
}

TEST(Device, SafeFileNamesKeepWhatIsAlreadySafe)
{
    EXPECT_EQ(Device::safeFileName("Rock & Roll (Live)"), "Rock & Roll (Live)");
    EXPECT_EQ(Device::safeFileName("02 \u2766 (Ripe & Ruin).mp3"), "02 \u2766 (Ripe & Ruin).mp3");
    EXPECT_EQ(Device::safeFileName("../../x"), "___.._x");
    // A leading dot would hide the file from media scanners, storable or not.
    EXPECT_EQ(Device::safeFileName(".hidden"), "_hidden");
    EXPECT_EQ(Device::safeFileName("..hidden.m3u"), "__hidden.m3u");
    EXPECT_EQ(Device::safeFileName("AC\\DC.mp3"), "AC_DC.mp3");
    EXPECT_EQ(Device::safeFileName(".."), "__");
    EXPECT_EQ(Device::safeFileName("what?.mp3"), "what_.mp3");
}

TEST(Device, DevicePathsAndDataPaths)
{
    EXPECT_EQ(Device::deviceDataPath("Music\\a.mp3"), "\\KORDA\\Music\\a.mp3");
    EXPECT_EQ(Device::deviceDataPath("\\Music\\a.mp3"), "\\Music\\a.mp3");
    EXPECT_EQ(Device::deviceDataPath(".hidden"), ".hidden");
    EXPECT_EQ(Device::deviceDataPath(""), "");
    EXPECT_EQ(Device::splitDevicePath("\\Music\\\\A\\b.mp3\\"), (QStringList{"Music", "A", "b.mp3"}));
}

TEST(Device, TrackFolderNames)
{
    QString artist, album;
    Device::trackFolderNames(trackAt("/m/x.mp3", "", ""), artist, album);
    EXPECT_EQ(artist, "Unknown");
    EXPECT_EQ(album, "Unknown");
    Track compilation = trackAt("/m/x.mp3", "Various", "Hits Vol. 2");
    compilation.setIsCompilation(true);
    Device::trackFolderNames(compilation, artist, album);
    EXPECT_EQ(artist, "Compilation");
    EXPECT_EQ(album, "Hits Vol_ 2");
    Device::trackFolderNames(trackAt("/home/u/Podcasts/Show/ep.mp3", "Host", "Show"), artist, album);
    EXPECT_EQ(artist, "Podcasts");
    Device::trackFolderNames(trackAt("/home/u/podcasts/Show/ep.mp3", "Host", "Show"), artist, album);
    EXPECT_EQ(artist, "Host");
    Device::trackFolderNames(trackAt("/m/x.mp3", QString(300, 'a'), "A"), artist, album);
    EXPECT_EQ(artist.size(), 255);
    // Names are cut at 255 bytes of UTF-8, between characters: 120 CJK characters are 360 bytes.
    Device::trackFolderNames(trackAt("/m/x.mp3", "A", QString(120, QChar(0x65E5))), artist, album);
    EXPECT_EQ(album, QString(85, QChar(0x65E5)));
    EXPECT_LE(album.toUtf8().size(), 255);
    const QString emoji = QString::fromUtf8("\xF0\x9F\x8E\xB5"); // 4 bytes, two UTF-16 units
    QString emojis;
    for (int i = 0; i < 70; ++i)
        emojis += emoji;
    Device::trackFolderNames(trackAt("/m/x.mp3", emojis, "A"), artist, album);
    EXPECT_EQ(artist.toUtf8().size(), 252);
    EXPECT_FALSE(artist.back().isHighSurrogate());
}

TEST(Device, IdentitiesWriteEachPartWithoutLeadingZeros)
{
    const QDateTime at(QDate(2026, 1, 9), QTime(12, 3, 7, 45));
    EXPECT_EQ(Device::uniqueDeviceIdAt(at), "45731291Y");
    EXPECT_EQ(Device::uniqueDeviceIdAt(QDateTime(QDate(2026, 12, 31), QTime(0, 0, 0, 5))), "500031"
                                                                                           "12Y");
}

TEST(Device, AndroidInfoIsReadFromThePhonesFile)
{
    auto prober = std::make_shared<FakeDriveProber>();
    UsbMSDevice device("/nonexistent", "X", false, prober);
    device.parseAndroidInfo(
        "<info version=\"21\" screen_pixels=\"2073600\" supports_playlists_from_playlists_vlt=\"true\" "
        "supports_album_art_from_tracks_xml=\"TRUE\"/>");
    EXPECT_EQ(device.androidInfo().androidVersion, 21);
    EXPECT_EQ(device.androidInfo().screenPixels, 2073600);
    EXPECT_TRUE(device.androidInfo().supportsPlaylistsFromPlaylistsVlt);
    EXPECT_FALSE(device.androidInfo().supportsAlbumArtFromTracksXml);
    EXPECT_TRUE(device.androidInfo().androidInfoRead);
    device.parseAndroidInfo("<info version=\"x\"/>");
    EXPECT_EQ(device.androidInfo().androidVersion, 0);
    device.parseAndroidInfo("not xml at all");
    EXPECT_EQ(device.androidInfo().androidVersion, 0);
    // A phone's file made to expand (entities standing for gigabytes) is a damaged one, unread.
    device.parseAndroidInfo(entityBomb("x", "<info version=\"13\" screen_pixels=\"&f;\"/>"));
    EXPECT_EQ(device.androidInfo().androidVersion, 0);
    device.parseAndroidInfo("");
    EXPECT_EQ(device.androidInfo().androidVersion, -1);
}

TEST(Device, TheParentOffersItsBestStoragesInformation)
{
    auto prober = std::make_shared<FakeDriveProber>();
    DeviceParentMs parent("Phone");
    Device* first = parent.addChild(std::make_unique<UsbMSDevice>("/a", "A", false, prober));
    Device* second = parent.addChild(std::make_unique<UsbMSDevice>("/b", "B", false, prober));
    Device* third = parent.addChild(std::make_unique<UsbMSDevice>("/c", "C", false, prober));
    first->parseAndroidInfo("<i version=\"19\" screen_pixels=\"1\"/>");
    second->parseAndroidInfo("<i version=\"23\" screen_pixels=\"2\"/>");
    third->parseAndroidInfo("<i version=\"23\" screen_pixels=\"3\"/>");
    AndroidInfo best;
    parent.bestAndroidInfo(best);
    EXPECT_EQ(best.androidVersion, 23);
    EXPECT_EQ(best.screenPixels, 2);
    EXPECT_EQ(parent.GetDeviceType(), Device::DeviceTypeUsbMassStorage);
}
