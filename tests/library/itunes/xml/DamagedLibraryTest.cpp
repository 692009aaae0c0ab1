// Missing, half-written, damaged and hostile library files: "not running" until a whole library
// is there, never a crash.
#include "library/LocalMusicLibrary.h"
#include "library/itunes/xml/ITunesXmlBackend.h"
#include "support/HostileXml.h"
#include "support/LibraryXmlWriter.h"
#include "support/TestHome.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/TrackList.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

namespace {

qint32 createFrom(const QString& aPath)
{
    ITunesXmlBackend backend(aPath);
    std::shared_ptr<itunes::Application> application;
    return backend.createApplication(application);
}

} // namespace

TEST(DamagedLibrary, AMissingOrHalfWrittenFileIsITunesNotRunning)
{
    TestHome home;
    const QString path = home.path() + "/Library.xml";
    EXPECT_EQ(createFrom(path), itunes::kServerExecFailure);
    LibraryXmlWriter writer;
    writer.tracks.append({1, "One", "A", "B", "file:///x.mp3"});
    const QByteArray whole = writer.toXml();
    home.writeFile("Library.xml", whole.left(whole.size() / 2));
    EXPECT_EQ(createFrom(path), itunes::kServerExecFailure);
    home.writeFile("Library.xml", whole);
    EXPECT_EQ(createFrom(path), itunes::kOk);
}

TEST(DamagedLibrary, InitialisationWaitsUntilTheLibraryAppears)
{
    TestHome home;
    const QString path = home.path() + "/Library.xml";
    LocalMusicLibrary library(std::make_shared<ITunesXmlBackend>(path));
    library.setRetryPause(10);
    QSignalSpy failures(&library, &LocalMusicLibrary::iTunesFailure);
    QSignalSpy complete(&library, &LocalMusicLibrary::initialisationComplete);
    library.initialiseInNewThread();
    ASSERT_TRUE(failures.wait(5000));
    EXPECT_EQ(complete.count(), 0);
    ASSERT_TRUE(LibraryXmlWriter().writeTo(path));
    ASSERT_TRUE(QTest::qWaitFor([&] { return complete.count() > 0; }, 5000)); // it may come before the wait
}

TEST(DamagedLibrary, HostileFilesAreRefusedOrReadSafely)
{
    TestHome home;
    const QString path = home.path() + "/Library.xml";
    const QByteArray bomb =
        entityBomb("plist", "<plist><dict><key>Tracks</key><dict><key>1</key><dict><key>Name</key>"
                            "<string>&f;&f;&f;&f;</string></dict></dict></dict></plist>");
    const QByteArray external =
        "<?xml version=\"1.0\"?><!DOCTYPE plist [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
        "<plist><dict><key>Tracks</key><dict><key>1</key><dict><key>Name</key><string>&x;</string>"
        "</dict></dict></dict></plist>";
    QByteArray deep = "<plist><dict><key>Tracks</key><dict><key>1</key>";
    for (int i = 0; i < 20000; ++i)
        deep += "<dict><key>k</key>";
    // A property list has a dozen element names: hundreds are no library.
    QByteArray names = "<plist><dict><key>Tracks</key><dict/>";
    for (int i = 0; i < 300; ++i)
        names += QByteArray("<key>k</key><e") + QByteArray::number(i) + "/>";
    names += "</dict></plist>";
    const QByteArray cases[] = {
        QByteArray("\x00\x01garbage", 9),
        "<plist><array/></plist>",
        "<plist><dict><key>Playlists</key><array/></dict></plist>",
        bomb,
        external,
        deep,
        names,
        "<plist><dict><key>Tracks</key><dict/></dict></plist><plist/>",
        "<plist><dict><key>Tracks</key><dict/></dict></plist2>",
        "<plist><dict><key>Tracks</key><dict><key>1</key><dict><key>Name</key><string>&bogus;</string></dict>"
        "</dict></dict></plist>",
        "<plist><dict><key>Tracks</key><dict><key>1</key><dict><key>Name</key><string>&#0;</string></dict>"
        "</dict></dict></plist>",
        ".<plist><dict><key>", // cut inside a key, as a library iTunes is still writing
        "<plist><dict><key></key><string/></dict></plist>",
    };
    for (const QByteArray& content : cases) {
        home.writeFile("Library.xml", content);
        EXPECT_EQ(createFrom(path), itunes::kServerExecFailure) << content.left(60).constData();
    }
}

TEST(DamagedLibrary, CharacterReferencesCommentsAndCdataAreRead)
{
    TestHome home;
    const QString path = home.path() + "/Library.xml";
    home.writeFile("Library.xml",
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- made by hand -->\n"
                   "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" \"x.dtd\">\n"
                   "<plist version=\"1.0\"><dict><key>Tracks</key><dict><key>7</key><dict>"
                   "<key>Name</key><string>R&#38;B &amp; &lt;Soul&gt; &#x2766; &quot;x&apos;</string>"
                   "<key>Album</key><string><![CDATA[a <b> & c]]></string>"
                   "<key>Artist</key><string/></dict></dict></dict></plist>\n");
    ITunesXmlBackend backend(path);
    QString where;
    const auto library = backend.library(where);
    ASSERT_TRUE(library);
    ASSERT_EQ(library->tracks.size(), 1u);
    EXPECT_EQ(library->tracks[0].id, 7);
    EXPECT_EQ(library->tracks[0].name, "R&B & <Soul> \u2766 \"x'");
    EXPECT_EQ(library->tracks[0].album, "a <b> & c");
    EXPECT_EQ(library->tracks[0].artist, "");
}

TEST(DamagedLibrary, OddValuesInAWellFormedFileAreTolerated)
{
    TestHome home;
    const QString path = home.path() + "/Library.xml";
    home.writeFile(
        "Library.xml",
        "<plist><dict><key>Tracks</key><dict>"
        "<key>1</key><dict><key>Track ID</key><integer>99999999999999999999</integer>"
        "<key>Name</key><integer>5</integer><key>Size</key><string>big</string>"
        "<key>Location</key><string>file://</string><key>Date Added</key><date>garbage</date></dict>"
        "<key>2</key><string>not a track</string>"
        "<key>3</key><dict><key>Track ID</key><dict/><key>Name</key><string>Q</string></dict>"
        "</dict><key>Playlists</key><array><string>x</string><dict><key>Name</key><string>P</string>"
        "<key>Playlist Items</key><array><dict><key>Track ID</key><integer>-5</integer></dict>"
        "<dict><key>Track ID</key><integer>0</integer></dict><string>x</string></array></dict>"
        "</array></dict></plist>");
    LocalMusicLibrary library(std::make_shared<ITunesXmlBackend>(path));
    library.setRetryPause(1);
    EXPECT_TRUE(library.refreshPlaylists());
    EXPECT_EQ(library.playlists(true), QStringList{"P"});
    TrackList tracks, drm, missing;
    LocalPlaylist playlist;
    EXPECT_EQ(library.getAllTracks("P", tracks, false, drm, missing, playlist, false, nullptr), 0);
    EXPECT_EQ(tracks.count() + missing.count(), 1); // the track with id 0 after its damaged id
}

TEST(DamagedLibrary, ValuesAcrossTheReadersChunksAreReadWhole)
{
    TestHome home;
    LibraryXmlWriter writer;
    for (int i = 0; i < 3000; ++i) {
        const QString name = QString("%1 & ").arg(i) + QString(500, QChar(0x00e9 + i % 7));
        writer.tracks.append({i + 1, name, "A", "B", "file:///x.mp3"});
    }
    // A long value across the reader's 1 MB chunks (a whole chunk, nearly).
    writer.tracks.append({5000, QString(900 * 1024, 'x') + "<end>", "A", "B", "file:///y.mp3"});
    const QString path = home.path() + "/Library.xml";
    ASSERT_TRUE(writer.writeTo(path));
    ITunesXmlBackend backend(path);
    QString where;
    const auto library = backend.library(where);
    ASSERT_TRUE(library);
    ASSERT_EQ(library->tracks.size(), 3001u);
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(library->tracks[static_cast<std::size_t>(i)].name, writer.tracks[i].name) << i;
    EXPECT_EQ(library->tracks[3000].name, writer.tracks[3000].name);
}

TEST(DamagedLibrary, AValueOfManyMegabytesIsRefusedNotRead)
{
    // A 100 MB track name once took 1.35 GB to read: no value of a library is that long.
    TestHome home;
    LibraryXmlWriter writer;
    writer.tracks.append({1, QString(8 << 20, 'x'), "A", "B", "file:///y.mp3"});
    const QString path = home.path() + "/Library.xml";
    ASSERT_TRUE(writer.writeTo(path));
    ITunesXmlBackend backend(path);
    QString where;
    EXPECT_FALSE(backend.library(where));
    EXPECT_TRUE(backend.unavailableReason().contains("longer than 1 MB"))
        << backend.unavailableReason().toStdString();

    // Nor does a property list nest thousands deep.
    QByteArray deep =
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Tracks</key><dict><key>1</key>";
    for (int i = 0; i < 5000; ++i)
        deep += "<array>";
    home.writeFile("Deep.xml", deep);
    ITunesXmlBackend deepBackend(home.path() + "/Deep.xml");
    EXPECT_FALSE(deepBackend.library(where));
    EXPECT_TRUE(deepBackend.unavailableReason().contains("nested deeper"))
        << deepBackend.unavailableReason().toStdString();
}
