#include "library/itunes/xml/ITunesXmlBackend.h"
#include "library/LocalMusicLibrary.h"
#include "library/itunes/xml/LibraryLocation.h"
#include "library/itunes/xml/XmlLibrary.h"
#include "settings/SyncSettings.h"
#include "support/AudioFixtures.h"
#include "support/LibraryXmlWriter.h"
#include "support/TestHome.h"
#include "tracks/CacheEncoding.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const QString kTestData = QStringLiteral(VELTRANE_TESTDATA "/itunes/");

struct ScannedPlaylist
{
    int result = 0;
    TrackList tracks, drm, missing;
    LocalPlaylist playlist;
};

std::unique_ptr<ScannedPlaylist> scan(LocalMusicLibrary& aLibrary, const QString& aName)
{
    auto scanned = std::make_unique<ScannedPlaylist>();
    scanned->result = aLibrary.getAllTracks(aName, scanned->tracks, false, scanned->drm, scanned->missing,
                                            scanned->playlist, false, nullptr);
    return scanned;
}

// A library on a file that is there: a missing file fails the test at once, and the library
// never waits for one (it would wait as for an iTunes that isn't started).
std::unique_ptr<LocalMusicLibrary> libraryOn(const QString& aXmlPath)
{
    EXPECT_TRUE(QFile::exists(aXmlPath)) << aXmlPath.toStdString();
    auto library = std::make_unique<LocalMusicLibrary>(std::make_shared<ITunesXmlBackend>(aXmlPath));
    library->setRetryPause(1);
    library->stopRetrying();
    return library;
}

} // namespace

TEST(ITunesXmlBackend, ReadsAUnixExportWithItsNonAsciiTitle)
{
    auto library = libraryOn(kTestData + "beets_unix.xml");
    EXPECT_FALSE(library->refreshPlaylists()); // only the library and Music playlists
    EXPECT_TRUE(library->playlists(true).isEmpty());
    auto music = scan(*library, "");
    ASSERT_EQ(music->result, 0);
    ASSERT_EQ(music->tracks.count(), 3);
    EXPECT_EQ(music->tracks.at(0).trackName(), "Tessellate");
    EXPECT_EQ(music->tracks.at(0).path(), "/Music/Alt-J/An Awesome Wave/03 Tessellate.mp3");
    EXPECT_EQ(music->tracks.at(0).localSize(), 5525212);
    EXPECT_EQ(music->tracks.at(0).trackNumberOnAlbum(), 3);
    EXPECT_EQ(music->tracks.at(0).dateAdded(), 41753); // 2014-04-24
    EXPECT_EQ(music->tracks.at(1).path(),
              "/Music/Alt-J/An Awesome Wave/04 Breezeblocks.mp3"); // file://localhost/
    EXPECT_EQ(music->tracks.at(2).trackName(), "\u2766 (Ripe & Ruin)");
    EXPECT_EQ(music->tracks.at(2).path(), "/Music/Alt-J/An Awesome Wave/02 \u2766 (Ripe & Ruin).mp3");
}

TEST(ITunesXmlBackend, ReadsAWindowsExportWithDutchNames)
{
    auto library = libraryOn(kTestData + "beets_windows.xml");
    std::shared_ptr<itunes::Playlist> music;
    ASSERT_EQ(library->getPlaylist("", music), 0);
    QString name;
    music->name(name);
    EXPECT_EQ(name, "Muziek");
    auto scanned = scan(*library, "Muziek");
    ASSERT_EQ(scanned->tracks.count(), 3);
    EXPECT_EQ(scanned->tracks.at(0).path(), "G:/Music/Alt-J/An Awesome Wave/03 Tessellate.mp3");
}

TEST(ITunesXmlBackend, ReadsAMacExportKeepingDecomposedNamesAndProtectedTracks)
{
    auto library = libraryOn(kTestData + "mac_itunes11_unicode.xml");
    EXPECT_TRUE(library->refreshPlaylists());
    const QStringList all = library->playlists(true);
    // iTunes' built-in smart playlists are ordinary smart playlists; Music, Movies, TV Shows and
    // Genius are special and never listed.
    EXPECT_TRUE(all.contains("90\u2019s Music"));
    EXPECT_TRUE(all.contains("Classical Music"));
    EXPECT_FALSE(all.contains("Genius"));
    EXPECT_FALSE(all.contains("Music"));
    EXPECT_FALSE(all.contains("Movies"));
    EXPECT_FALSE(library->playlists(false).contains("90\u2019s Music"));

    auto music = scan(*library, "");
    ASSERT_EQ(music->result, 0);
    ASSERT_EQ(music->drm.count(), 1);
    const QString protectedPath = music->drm.at(0).path();
    EXPECT_TRUE(protectedPath.endsWith("/Compilations/Ole\u0301 ELO/04 Showdown.m4p"))
        << protectedPath.toStdString();
    EXPECT_EQ(music->drm.at(0).albumName(), "Ol\u00e9 ELO");
    EXPECT_EQ(music->tracks.count() + music->drm.count() + music->missing.count(), 3);
}

TEST(ITunesXmlBackend, ReadsLargerAndEmptyExports)
{
    auto library = libraryOn(kTestData + "mac_itunes11_25.xml");
    auto music = scan(*library, "");
    ASSERT_EQ(music->result, 0);
    EXPECT_GT(music->tracks.count(), 15);
    EXPECT_EQ(music->playlist.count(), music->tracks.count());

    auto empty = libraryOn(kTestData + "mac_itunes11_empty.xml");
    EXPECT_FALSE(empty->refreshPlaylists());
    auto none = scan(*empty, "");
    EXPECT_EQ(none->result, 0);
    EXPECT_EQ(none->tracks.count(), 0);
    empty->refreshPodcasts();
    EXPECT_TRUE(empty->podcasts().isEmpty());
}

namespace {

// A library of real files: art of each kind embedded, podcasts, a folder, a smart playlist, a
// cloud track and a file that went missing.
class GeneratedLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString music = mHome.path() + "/Music/iTunes/iTunes Media/Music/";
        QDir().mkpath(music + "Band/Album");
        QDir().mkpath(mHome.path() + "/Podcasts");
        struct File
        {
            QString name;
            const char* format;
        };
        const File files[] = {{"a.mp3", "JPG"}, {"b.m4a", "PNG"}, {"c.flac", "BMP"}, {"d.ogg", "JPG"}};
        int id = 100;
        for (const File& file : files) {
            const QString path = music + "Band/Album/" + file.name;
            ASSERT_TRUE(fixtures::makeAudio(path, file.name, "Band", "Album"));
            const QByteArray image =
                fixtures::makeImage(file.format, 32, 0x112233u + static_cast<unsigned>(id));
            ASSERT_TRUE(fixtures::embedPicture(path, image));
            mImages.append(image);
            mWriter.tracks.append({id++, file.name, "Band", "Album", LibraryXmlWriter::fileUrl(path)});
        }
        XmlTrackEntry cloud{id++, "In the cloud", "Band", "Album", ""};
        cloud.trackType = "Remote";
        mWriter.tracks.append(cloud);
        mWriter.tracks.append(
            {id++, "Gone", "Band", "Album", LibraryXmlWriter::fileUrl(music + "Band/Album/gone.mp3")});
        for (int episode = 1; episode <= 3; ++episode) {
            const QString path = mHome.path() + QString("/Podcasts/ep%1.mp3").arg(episode);
            ASSERT_TRUE(fixtures::makeAudio(path));
            XmlTrackEntry entry{id++, QString("Episode %1").arg(episode), "Host",
                                episode < 3 ? "Show" : "Other Show", LibraryXmlWriter::fileUrl(path)};
            entry.dateAdded = QString("2020-01-0%1T10:00:00Z").arg(episode);
            mWriter.tracks.append(entry);
        }
        XmlTrackEntry notDownloaded{id++, "Episode 4", "Host", "Show", ""};
        notDownloaded.trackType = "URL";
        mWriter.tracks.append(notDownloaded);

        XmlPlaylistEntry master{"Library", false, -1, false, false, false, {}};
        master.master = true;
        XmlPlaylistEntry musicPlaylist{"Music", false, -1, false, false, false, {}};
        musicPlaylist.distinguishedKind = 4;
        musicPlaylist.trackIds = {100, 101, 102, 103, 104, 105};
        master.trackIds = musicPlaylist.trackIds;
        XmlPlaylistEntry roadTrip{"Road Trip", false, -1, false, false, false, {}};
        roadTrip.trackIds = {103, 100, 999};
        XmlPlaylistEntry folder{"Collections", false, -1, false, false, false, {}};
        folder.folder = true;
        XmlPlaylistEntry smart{"Top Rated", false, -1, false, false, false, {}};
        smart.smart = true;
        smart.distinguishedKind = 204;
        XmlPlaylistEntry podcasts{"Podcasts", false, -1, false, false, false, {}};
        podcasts.distinguishedKind = 10;
        podcasts.podcasts = true;
        podcasts.trackIds = {106, 107, 108, 109};
        mWriter.playlists = {master, musicPlaylist, roadTrip, folder, smart, podcasts};
        mXmlPath = mHome.path() + "/Music/iTunes/iTunes Music Library.xml";
        ASSERT_TRUE(mWriter.writeTo(mXmlPath));
        mLibrary = std::make_unique<LocalMusicLibrary>(
            std::make_shared<ITunesXmlBackend>(QString())); // finds the file in the home folder
        mLibrary->setRetryPause(1);
        mLibrary->stopRetrying();
    }

    TestHome mHome;
    LibraryXmlWriter mWriter;
    QString mXmlPath;
    QList<QByteArray> mImages;
    std::unique_ptr<LocalMusicLibrary> mLibrary;
};

} // namespace

TEST_F(GeneratedLibraryTest, PlaylistsTracksAndWhatCantBeCopied)
{
    EXPECT_TRUE(mLibrary->refreshPlaylists());
    EXPECT_EQ(mLibrary->playlists(true), (QStringList{"Road Trip", "Top Rated"}));
    EXPECT_EQ(mLibrary->playlists(false), QStringList{"Road Trip"});

    auto roadTrip = scan(*mLibrary, "Road Trip");
    ASSERT_EQ(roadTrip->result, 0);
    ASSERT_EQ(roadTrip->tracks.count(), 2); // the item naming no track is dropped
    EXPECT_EQ(roadTrip->tracks.at(0).trackName(), "d.ogg");

    auto music = scan(*mLibrary, "");
    EXPECT_EQ(music->tracks.count(), 5); // the missing file is still a track to copy
    ASSERT_EQ(music->missing.count(), 1);
    EXPECT_EQ(music->missing.at(0).trackName(), "In the cloud");
}

TEST_F(GeneratedLibraryTest, ArtOfEachKindIsSavedAsItsImage)
{
    auto music = scan(*mLibrary, "");
    const char* names[] = {"temp_art.jpg", "temp_art.png", "temp_art.bmp", "temp_art.jpg"};
    for (int i = 0; i < 4; ++i) {
        // Each track's folder is the same: a fresh library asks again.
        LocalMusicLibrary fresh(std::make_shared<ITunesXmlBackend>(QString()));
        fresh.setRetryPause(1);
        fresh.stopRetrying();
        const QString art = fresh.generateArtwork(music->tracks.at(i));
        EXPECT_EQ(art, mHome.path() + "/KORDA/" + names[i]) << i;
        EXPECT_EQ(readWholeFile(art), mImages[i]) << i;
    }
}

TEST_F(GeneratedLibraryTest, PodcastsAreTheDownloadedEpisodesOfEachShow)
{
    mLibrary->refreshPodcasts();
    EXPECT_EQ(mLibrary->podcasts(), (QStringList{"Show", "Other Show"}));
    QList<LocalPlaylist> podcasts;
    TrackList tracks;
    mLibrary->getPodcasts({"Show"}, podcasts, tracks);
    ASSERT_EQ(podcasts.size(), 1);
    ASSERT_EQ(podcasts[0].count(), 2);
    EXPECT_EQ(podcasts[0].entries()[0].dateAdded, 43831); // 2020-01-01
    EXPECT_EQ(podcasts[0].entries()[1].dateAdded, 43832);
}

TEST_F(GeneratedLibraryTest, TheConfiguredLibraryFileWins)
{
    LibraryXmlWriter other;
    other.playlists = {XmlPlaylistEntry{"Only here", false, -1, false, false, false, {}}};
    const QString otherPath = mHome.path() + "/elsewhere/Library.xml";
    QDir().mkpath(mHome.path() + "/elsewhere");
    ASSERT_TRUE(other.writeTo(otherPath));
    SyncSettings settings;
    settings.load();
    settings.setGlobalStringValue("itunes-library-path", otherPath);
    ASSERT_EQ(settings.save(), 0);
    EXPECT_EQ(LibraryLocation::findLibraryFile(), otherPath);
    mLibrary->refreshPlaylists();
    EXPECT_EQ(mLibrary->playlists(true), QStringList{"Only here"});
}

TEST_F(GeneratedLibraryTest, TheFileIsParsedOnceWhileItIsUnchanged)
{
    ITunesXmlBackend backend(mXmlPath);
    QString path;
    const auto first = backend.library(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(backend.library(path), first);
    mWriter.tracks.removeLast();
    ASSERT_TRUE(mWriter.writeTo(mXmlPath));
    const auto second = backend.library(path);
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->tracks.size(), first->tracks.size() - 1);
}

TEST_F(GeneratedLibraryTest, AReplacedFileRaisesALibraryEvent)
{
    QSignalSpy events(mLibrary.get(), &LocalMusicLibrary::localLibraryEvent);
    ASSERT_EQ(mLibrary->listenForITunesEvents(), 0);
    // iTunes writes a new file and moves it over the old one.
    mWriter.playlists.append(XmlPlaylistEntry{"New playlist", false, -1, false, false, false, {}});
    ASSERT_TRUE(mWriter.writeTo(mXmlPath + ".tmp"));
    QFile::remove(mXmlPath);
    ASSERT_TRUE(QFile::rename(mXmlPath + ".tmp", mXmlPath));
    ASSERT_TRUE(events.wait(5000));
    mLibrary->refreshPlaylists();
    EXPECT_TRUE(mLibrary->playlists(true).contains("New playlist"));
}

TEST(LibraryLocation, FileUrlsBecomePathsByteForByte)
{
    EXPECT_EQ(LibraryLocation::pathFromFileUrl("file://localhost/C:/a%20b/c.mp3"), "C:/a b/c.mp3");
    EXPECT_EQ(LibraryLocation::pathFromFileUrl("file:///Users/u/Ole%CC%81.m4a"), "/Users/u/Ole\u0301.m4a");
    EXPECT_EQ(LibraryLocation::pathFromFileUrl("file://localhost/Users/u/x%2520y"), "/Users/u/x%20y");
    EXPECT_EQ(LibraryLocation::pathFromFileUrl("/plain/path"), "/plain/path");
    EXPECT_EQ(LibraryLocation::pathFromFileUrl("file://hostonly"), QString());
}

TEST(LibraryLocation, ALibraryFromAnotherComputerIsFoundBesideItsFile)
{
    TestHome home;
    const QString musicFolder = "C:/Users/u/Music/iTunes/iTunes Media/";
    home.writeFile("lib/iTunes Media/Music/A/B/x.mp3", "audio");
    const QString xmlFolder = home.path() + "/lib";
    EXPECT_EQ(LibraryLocation::resolve(musicFolder + "Music/A/B/x.mp3", musicFolder, xmlFolder),
              xmlFolder + "/iTunes Media/Music/A/B/x.mp3");
    // Not there either, elsewhere, or climbing out: kept as written.
    EXPECT_EQ(LibraryLocation::resolve(musicFolder + "Music/A/B/y.mp3", musicFolder, xmlFolder),
              musicFolder + "Music/A/B/y.mp3");
    EXPECT_EQ(LibraryLocation::resolve("G:/Music/x.mp3", musicFolder, xmlFolder), "G:/Music/x.mp3");
    home.writeFile("secret", "x");
    EXPECT_EQ(LibraryLocation::resolve(musicFolder + "../../secret", musicFolder, xmlFolder),
              musicFolder + "../../secret");
}

TEST(LibraryLocation, TheOtherUnicodeFormFindsTheFileAsTheDiskNamesIt)
{
    TestHome home;
    const QString nfd = home.writeFile("Music/Ole\u0301.m4a", "a"); // a Mac's name, copied as it was
    const QString nfc = home.writeFile("Music/Caf\u00e9.m4a", "b");
    EXPECT_EQ(LibraryLocation::resolve(home.path() + "/Music/Ol\u00e9.m4a", "", ""), nfd);
    EXPECT_EQ(LibraryLocation::resolve(home.path() + "/Music/Cafe\u0301.m4a", "", ""), nfc);
    EXPECT_EQ(LibraryLocation::resolve(home.path() + "/Music/Gone\u0301.m4a", "", ""),
              home.path() + "/Music/Gone\u0301.m4a");
    // The same in a library in its usual place (its music folder beside its file).
    EXPECT_EQ(
        LibraryLocation::resolve(home.path() + "/Music/Ol\u00e9.m4a", home.path() + "/Music/", home.path()),
        nfd);
}

// A folder's listing serves its files for a second at most; a file that came since, or a link to
// a file, is looked up by name.
// A library whose locations could name no file by another path gives them without a look, and a
// run doesn't look them up ahead; one where some could, does.
TEST(LibraryLocation, OnlyLocationsAnotherPathCouldNameNeedLooking)
{
    const auto needLooking = [](const QString& aMusicFolder, const QStringList& aLocations,
                                const QList<QPair<QString, QString>>& aMap = {}) {
        XmlLibrary library;
        library.xmlFolder = "/home/u/Music/iTunes";
        library.musicFolder = aMusicFolder;
        for (const QString& location : aLocations) {
            library.tracks.emplace_back();
            library.tracks.back().location = location;
        }
        library.applyPathMap(LibraryPathMap(aMap));
        return library.locationsNeedLooking();
    };
    const QString usual = "/home/u/Music/iTunes/iTunes Media/";
    EXPECT_FALSE(needLooking(usual, {usual + "Music/A/a.mp3", "/srv/elsewhere/b.mp3", QString()}));
    EXPECT_TRUE(needLooking(usual, {usual + "Music/A/a.mp3", usual + "Music/Caf\u00e9.mp3"}));
    // Another computer's library, found beside its file unless the path map names its folder.
    const QString windows = "C:/Users/u/Music/iTunes/iTunes Media/";
    EXPECT_TRUE(needLooking(windows, {windows + "Music/A/a.mp3"}));
    EXPECT_FALSE(
        needLooking(windows, {windows + "Music/A/a.mp3"}, {{"C:/Users/u/Music/", "/home/u/Music/"}}));
}

TEST(LibraryLocation, WhatIsInAFolderIsSeenAsItIsNow)
{
    TestHome home;
    const QString nfd = home.writeFile("Music/Ole\u0301.m4a", "a");
    const QString nfc = home.path() + "/Music/Ol\u00e9.m4a";
    EXPECT_EQ(LibraryLocation::resolve(nfc, "", ""), nfd);
    home.writeFile("Music/Ol\u00e9.m4a", "b");
    EXPECT_EQ(LibraryLocation::resolve(nfc, "", ""), nfc); // came after the listing
    QFile::link(nfd, home.path() + "/Music/Link\u00e9.m4a");
    QFile::link(home.path() + "/nowhere.m4a", home.path() + "/Music/Gon\u00e9.m4a");
    EXPECT_EQ(LibraryLocation::resolve(home.path() + "/Music/Linke\u0301.m4a", "", ""),
              home.path() + "/Music/Link\u00e9.m4a");
    EXPECT_EQ(LibraryLocation::resolve(home.path() + "/Music/Gone\u0301.m4a", "", ""),
              home.path() + "/Music/Gone\u0301.m4a");                 // a link to nothing is no file
    LibraryLocation::resolve(home.path() + "/elsewhere.m4a", "", ""); // another folder, then
    EXPECT_EQ(LibraryLocation::resolve(nfc, "", ""), nfc);            // this one listed again, with it
    ASSERT_TRUE(QFile::remove(nfc));
    QThread::msleep(1100);
    EXPECT_EQ(LibraryLocation::resolve(nfc, "", ""), nfd); // gone, seen once the listing is old
}

// A location as the library resolves it: mapped (with the music folder), then looked for.
QString resolveMapped(const QString& aLocation, const QString& aMusicFolder, const QString& aXmlFolder,
                      const LibraryPathMap& aMap)
{
    return LibraryLocation::resolve(aMap.apply(aLocation), aMap.apply(aMusicFolder), aXmlFolder);
}

TEST(LibraryLocation, MappedPrefixesComeFirstAndTheLongestWins)
{
    TestHome home;
    const QString music = home.path() + "/mnt/music/";
    const QString classical = home.path() + "/mnt/classical/";
    home.writeFile("mnt/music/Artist/a.mp3", "a");
    home.writeFile("mnt/classical/Bach/b.mp3", "b");
    home.writeFile("nas/share/c.mp3", "c");
    const LibraryPathMap map({{"Z:/", music},
                              {"z:\\Music\\Classical", classical},
                              {"//nas/share", home.path() + "/nas/share"},
                              {"", "/ignored"},
                              {"Y:", ""}});
    EXPECT_EQ(map.mappings().size(), 3);
    EXPECT_EQ(resolveMapped("Z:/Artist/a.mp3", "", "", map), music + "Artist/a.mp3");
    EXPECT_EQ(resolveMapped("z:/Artist/a.mp3", "", "", map), music + "Artist/a.mp3");
    EXPECT_EQ(resolveMapped("Z:/Music/Classical/Bach/b.mp3", "", "", map), classical + "Bach/b.mp3");
    EXPECT_EQ(resolveMapped("Z:/Music/ClassicalX/b.mp3", "", "", map),
              music + "Music/ClassicalX/b.mp3"); // a prefix ends at a name
    EXPECT_EQ(resolveMapped("//nas/share/c.mp3", "", "", map), home.path() + "/nas/share/c.mp3");
    // Unmapped, a path of another computer stays as written: never a file of the working folder.
    home.writeFile("G:/x.mp3", "here");
    QDir::setCurrent(home.path());
    EXPECT_EQ(resolveMapped("G:/x.mp3", "C:/Music/", home.path(), map), "G:/x.mp3");
    QDir::setCurrent(QDir::rootPath());
    // The map applies to the music folder too, before a library from another computer is rebased.
    home.writeFile("lib/iTunes Media/Music/d.mp3", "d");
    EXPECT_EQ(resolveMapped("W:/iTunes Media/Music/d.mp3", "W:/iTunes Media/", home.path() + "/lib",
                            LibraryPathMap()),
              home.path() + "/lib/iTunes Media/Music/d.mp3");
}

// The texts lent to the track cache's reading: found by a track's path as this computer names
// it, the very copy the library's scan gives, and named anew when the path map changes.
bool lends(itunes::Backend& aBackend, const QString& aPath, const QString& aName,
           const QString** aLent = nullptr)
{
    const std::shared_ptr<const KnownTexts> texts = aBackend.knownTexts(0);
    KnownTexts::Texts found;
    int near = -1;
    QByteArray storage;
    if (!texts || !texts->find(CacheEncoding::utf16BytesView(aPath, storage), found, near) ||
        *found.name != aName || *found.path != aPath)
        return false;
    if (aLent)
        *aLent = found.path;
    return true;
}

TEST_F(GeneratedLibraryTest, ThePathMapOfTheSettingsAppliesWhenItChanges)
{
    itunes::Backend& backend = *mLibrary->backend();
    EXPECT_EQ(backend.knownTexts(0), nullptr); // nothing read yet
    mWriter.tracks[0].location = "file://localhost/Q:/Elsewhere/moved.mp3";
    ASSERT_TRUE(mWriter.writeTo(mXmlPath));
    auto before = scan(*mLibrary, "");
    EXPECT_EQ(before->tracks.at(0).path(), "Q:/Elsewhere/moved.mp3");
    EXPECT_TRUE(lends(backend, "Q:/Elsewhere/moved.mp3", "a.mp3"));
    EXPECT_FALSE(lends(backend, "Q:/Elsewhere/moved.mp", "a.mp3"));

    mHome.writeFile("moved/Elsewhere/moved.mp3", "x");
    SyncSettings settings;
    settings.load();
    settings.setGlobalSettingsList(SyncSettings::kLibraryPathMap, {{"Q:/", mHome.path() + "/moved"}});
    ASSERT_EQ(settings.save(), 0);
    auto after = scan(*mLibrary, "");
    const QString moved = mHome.path() + "/moved/Elsewhere/moved.mp3";
    EXPECT_EQ(after->tracks.at(0).path(), moved);
    const QString* lent = nullptr;
    EXPECT_FALSE(lends(backend, "Q:/Elsewhere/moved.mp3", "a.mp3"));
    ASSERT_TRUE(lends(backend, moved, "a.mp3", &lent));
    EXPECT_EQ(lent->constData(), after->tracks.at(0).path().constData()); // one copy of the path
    // Unmapped tracks are found by their own paths, whatever was found before.
    EXPECT_TRUE(lends(backend, before->tracks.at(1).path(), "b.m4a"));
    EXPECT_TRUE(lends(backend, before->tracks.at(3).path(), "d.ogg"));
}

TEST(ITunesXmlBackend, DiscNumbersAreRead)
{
    TestHome home;
    LibraryXmlWriter writer;
    XmlTrackEntry one{1, "Intro", "A", "B", "file:///m/1-01.mp3"};
    one.discNumber = 1;
    XmlTrackEntry two{2, "Intro", "A", "B", "file:///m/2-01.mp3"};
    two.discNumber = 2;
    writer.tracks = {one, two};
    writer.playlists = {{"Library", true, -1, false, false, false, {1, 2}}};
    ASSERT_TRUE(writer.writeTo(home.path() + "/lib.xml"));
    auto library = libraryOn(home.path() + "/lib.xml");
    auto music = scan(*library, "");
    ASSERT_EQ(music->tracks.count(), 2); // not merged into one
    EXPECT_EQ(music->tracks.at(0).discNumber(), 1);
    EXPECT_EQ(music->tracks.at(1).discNumber(), 2);
}
