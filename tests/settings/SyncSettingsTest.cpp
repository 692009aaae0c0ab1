#include "settings/SyncSettings.h"
#include "support/FileSizeLimit.h"
#include "support/HostileXml.h"
#include "support/TestHome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class SyncSettingsTest : public ::testing::Test
{
protected:
    // Writes korda.xml as a user or an older version left it.
    void writeSettings(const QByteArray& aXml) { mHome.writeFile("KORDA/korda.xml", aXml); }
    QByteArray settingsFile() const { return readWholeFile(mHome.korda() + "/korda.xml"); }

    TestHome mHome;
};

} // namespace

TEST_F(SyncSettingsTest, TheThreePlaylistStatesReadBackAsStored)
{
    SyncSettings settings;
    EXPECT_EQ(settings.load(), SyncSettings::kCannotOpen);
    EXPECT_TRUE(QFileInfo(mHome.korda()).isDir()); // load makes the folder
    ASSERT_EQ(settings.setConfig("lib", true, 1, {"ignored"}, {}, "Phone A"), 0);
    ASSERT_EQ(settings.setConfig("chosen", false, 2, {"Rock", "Jazz"}, {"Pod A", "Pod B"}, "Phone B"), 0);
    ASSERT_EQ(settings.setConfig("none", false, 0, {}, {"ignored"}, "Phone C"), 0);

    SyncSettings loaded;
    ASSERT_EQ(loaded.load(), 0);
    bool entire = false;
    int podcastSetting = -1;
    QStringList playlists, podcasts;
    ASSERT_EQ(loaded.getConfig("lib", entire, podcastSetting, playlists, podcasts), 0);
    EXPECT_TRUE(entire);
    EXPECT_EQ(playlists, QStringList{""});
    EXPECT_EQ(podcastSetting, 1);
    EXPECT_EQ(podcasts, QStringList{""});

    playlists.clear();
    podcasts.clear();
    ASSERT_EQ(loaded.getConfig("chosen", entire, podcastSetting, playlists, podcasts), 0);
    EXPECT_FALSE(entire);
    EXPECT_EQ(playlists, (QStringList{"Rock", "Jazz"}));
    EXPECT_EQ(podcastSetting, 2);
    EXPECT_EQ(podcasts, (QStringList{"Pod A", "Pod B"}));

    playlists.clear();
    podcasts.clear();
    ASSERT_EQ(loaded.getConfig("none", entire, podcastSetting, playlists, podcasts), 0);
    EXPECT_FALSE(entire);
    EXPECT_TRUE(playlists.isEmpty());
    EXPECT_TRUE(settingsFile().contains("<playlist>###DONT-SYNC-MUSIC###</playlist>"));

    EXPECT_EQ(loaded.getConfig("unknown", entire, podcastSetting, playlists, podcasts),
              SyncSettings::kDeviceNotFound);
}

TEST_F(SyncSettingsTest, SetConfigWritesTheElementsInOrder)
{
    SyncSettings settings;
    settings.load();
    settings.setConfig("dev1", false, 2, {"Rock"}, {"Pod"}, "My Phone");
    const QString expected = "<settings>\n<device>\n<id>dev1</id>\n<name>My Phone</name>\n<cache>" +
                             mHome.korda() +
                             "/mcache0</cache>\n<playlist>Rock</playlist>\n<podcast>Pod</podcast>\n"
                             "<podcast-sync-setting>2</podcast-sync-setting>\n</device>\n</settings>\n";
    EXPECT_EQ(QString::fromUtf8(settingsFile()), expected);
}

TEST_F(SyncSettingsTest, ValuesReadByTheTypeRules)
{
    writeSettings(
        "<settings><device><id>d</id>"
        "<convert-to-mp3>TRUE</convert-to-mp3><copy-notes>1</copy-notes><copy-photos>true</copy-photos>"
        "<number-of-episodes-to-sync>abc</number-of-episodes-to-sync>"
        "</device><dont-display-message>update-7</dont-display-message></settings>");
    SyncSettings settings;
    ASSERT_EQ(settings.load(), 0);
    EXPECT_FALSE(settings.convertAacToMp3("d"));
    EXPECT_FALSE(settings.copyNotes("d"));
    EXPECT_TRUE(settings.copyPhotos("d"));
    EXPECT_EQ(settings.numberOfEpisodesToSync("d"), 0);
    // Missing values read as their defaults, for a device and for an unknown one.
    EXPECT_TRUE(settings.forceArtworkSync("d"));
    EXPECT_TRUE(settings.enableArtworkSync("d"));
    EXPECT_TRUE(settings.enableArtworkSync("unknown"));
    EXPECT_EQ(settings.getIntValue("d", "missing", 17), 17);
    EXPECT_EQ(settings.selectedBackupPath("d"), QString());
    EXPECT_EQ(settings.skipUpdateMessage(), "update-7");
}

TEST_F(SyncSettingsTest, SettersReplaceTheFirstValueAndIgnoreUnknownDevices)
{
    SyncSettings settings;
    settings.load();
    settings.setConfig("d", true, 0, {}, {}, "Phone");
    settings.setNumberOfEpisodesToSync("d", 3);
    settings.setNumberOfEpisodesToSync("d", 5);
    settings.setConvertAacToMp3("d", true);
    settings.setSkipDrmWarning("d");
    settings.setSelectedBackupPath("d", "/backups/x");
    settings.setConvertAacToMp3("unknown", true);
    ASSERT_EQ(settings.save(), 0);

    SyncSettings loaded;
    loaded.load();
    EXPECT_EQ(loaded.numberOfEpisodesToSync("d"), 5);
    EXPECT_EQ(settingsFile().count("<number-of-episodes-to-sync>"), 1);
    EXPECT_TRUE(loaded.convertAacToMp3("d"));
    EXPECT_TRUE(loaded.skipDrmWarning("d"));
    EXPECT_EQ(loaded.selectedBackupPath("d"), "/backups/x");
    EXPECT_FALSE(settingsFile().contains("unknown"));
}

TEST_F(SyncSettingsTest, ReconfiguringKeepsTheCacheAndWarningsAndDropsCopyOptions)
{
    SyncSettings settings;
    settings.load();
    settings.setConfig("d", true, 0, {}, {}, "Phone");
    settings.setDeleteWithoutWarning("d");
    settings.setSkipUsbEjectWarning("d");
    settings.setCopyPhotos("d", true);
    settings.setConvertAacToMp3("d", true);
    settings.setStringValue("d", "dont-warn-not-deleted", "true");
    QString cacheBefore;
    ASSERT_EQ(settings.getCacheFilename("d", cacheBefore), 0);
    ASSERT_EQ(settings.setConfig("d", false, 1, {"Jazz"}, {}, "Renamed"), 0);

    SyncSettings loaded;
    loaded.load();
    QString cacheAfter;
    loaded.getCacheFilename("d", cacheAfter);
    EXPECT_EQ(cacheAfter, cacheBefore);
    EXPECT_TRUE(loaded.deleteWithoutWarning("d"));
    EXPECT_TRUE(loaded.skipUsbEjectWarning("d"));
    EXPECT_TRUE(loaded.getBooleanValue("d", "dont-warn-not-deleted", false));
    EXPECT_FALSE(loaded.skipDrmWarning("d"));
    EXPECT_FALSE(settingsFile().contains("<dont-warn-drm>"));
    EXPECT_FALSE(loaded.copyPhotos("d"));
    EXPECT_FALSE(loaded.convertAacToMp3("d"));
    EXPECT_EQ(loaded.getStringValue("d", "name"), "Renamed");
    EXPECT_EQ(settingsFile().count("<device>"), 1);
}

TEST_F(SyncSettingsTest, NewCacheNamesFillTheFirstGap)
{
    const QString korda = mHome.korda();
    writeSettings(("<settings><device><id>a</id><cache>" + korda +
                   "/mcache0</cache></device>"
                   "<device><id>b</id><cache>" +
                   korda + "/mcache2</cache></device></settings>")
                      .toUtf8());
    SyncSettings settings;
    settings.load();
    QStringList used;
    settings.getUsedCacheFilenames(used);
    EXPECT_EQ(used, (QStringList{korda + "/mcache0", korda + "/mcache2"}));
    QString path;
    settings.generateUniqueCacheFilename(path);
    EXPECT_EQ(path, korda + "/mcache1");
    settings.setConfig("c", true, 0, {}, {}, "C");
    settings.generateUniqueCacheFilename(path);
    EXPECT_EQ(path, korda + "/mcache3");
}

TEST_F(SyncSettingsTest, DuplicateDeviceElementsUseTheFirst)
{
    writeSettings(
        "<settings>\n<device><id>d</id><name>first</name><convert-to-mp3>true</convert-to-mp3></device>\n"
        "<device><id>d</id><name>second</name></device>\n</settings>");
    SyncSettings settings;
    settings.load();
    EXPECT_EQ(settings.getStringValue("d", "name"), "first");
    EXPECT_TRUE(settings.convertAacToMp3("d"));
    EXPECT_EQ(settings.deviceElementLine("d"), 2);
    EXPECT_EQ(settings.deviceElementLine("other"), -1);
    settings.setConfig("d", true, 1, {}, {}, "third");
    // The first is replaced by a new element at the end; the second now comes first.
    EXPECT_EQ(settingsFile().count("<device>"), 2);
    EXPECT_EQ(settings.getStringValue("d", "name"), "second");
    EXPECT_TRUE(settingsFile().contains("<name>third</name>"));
    EXPECT_TRUE(settingsFile().contains("<podcast-sync-setting>1</podcast-sync-setting>"));
}

TEST_F(SyncSettingsTest, NamedListsAreFoundCreatedReadAndRemoved)
{
    writeSettings(
        "<settings><device><id>d</id><list name=\"photo_folders\">"
        "<entry key=\"Camera\" value=\"/DCIM/Camera\"/><entry key=\"NoValue\"/></list></device></settings>");
    SyncSettings settings;
    settings.load();
    const auto entries = settings.getSettingsList("d", SyncSettings::kPhotoFolders);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0], qMakePair(QString("Camera"), QString("/DCIM/Camera")));
    EXPECT_EQ(entries[1], qMakePair(QString("NoValue"), QString()));
    EXPECT_TRUE(settings.getSettingsList("d", "other").isEmpty());
    EXPECT_TRUE(settings.findListElement("unknown", "x", true).isNull());
    EXPECT_FALSE(settings.findListElement("d", "new", true).isNull());
    EXPECT_FALSE(settings.findListElement("d", "new", false).isNull());
    settings.removeSettingsList("d", SyncSettings::kPhotoFolders);
    EXPECT_TRUE(settings.getSettingsList("d", SyncSettings::kPhotoFolders).isEmpty());
}

TEST_F(SyncSettingsTest, GlobalValuesCreateTheRootAndReplaceEveryEarlierValue)
{
    SyncSettings settings;
    settings.load();
    settings.setSkipUpdateMessage("a");
    settings.setGlobalStringValue("dont-display-message", "b");
    ASSERT_EQ(settings.save(), 0);
    EXPECT_EQ(settingsFile(),
              QByteArray("<settings>\n<dont-display-message>b</dont-display-message>\n</settings>\n"));
}

TEST_F(SyncSettingsTest, NonAsciiNamesSurviveARoundTrip)
{
    SyncSettings settings;
    settings.load();
    settings.setConfig("d", false, 2, {"Caf\u00e9 & <Friends>", "\u65e5\u672c"}, {"Ol\u00e9"},
                       "T\u00e9l\u00e9phone");
    SyncSettings loaded;
    loaded.load();
    bool entire = true;
    int podcastSetting = 0;
    QStringList playlists, podcasts;
    loaded.getConfig("d", entire, podcastSetting, playlists, podcasts);
    EXPECT_EQ(playlists, (QStringList{"Caf\u00e9 & <Friends>", "\u65e5\u672c"}));
    EXPECT_EQ(podcasts, QStringList{"Ol\u00e9"});
}

TEST_F(SyncSettingsTest, AFailedSaveReportsAnErrorAndKeepsTheOldFile)
{
    SyncSettings settings;
    settings.load();
    for (int i = 0; i < 20; ++i)
        settings.setConfig(QString("device-%1").arg(i), false, 0, {"A playlist with a long name"}, {},
                           "Phone");
    const QByteArray before = settingsFile();
    ASSERT_GT(before.size(), 1000);

    // A disk that fills up while the file is written: the process may write no more than 200
    // bytes to any file.
    settings.setConvertAacToMp3("device-3", true);
    int result = 0;
    {
        FileSizeLimit full(200);
        ASSERT_TRUE(full.active());
        result = settings.save();
    }
    EXPECT_EQ(result, SyncSettings::kCannotWrite);
    EXPECT_EQ(settingsFile(), before);
    EXPECT_EQ(QDir(mHome.korda()).entryList(QDir::Files), QStringList{"korda.xml"});

    // The settings file's place is taken by a folder: nothing can be written there.
    QFile::remove(mHome.korda() + "/korda.xml");
    ASSERT_TRUE(QDir().mkpath(mHome.korda() + "/korda.xml"));
    SyncSettings blocked;
    blocked.load();
    EXPECT_EQ(blocked.setConfig("d", true, 0, {}, {}, "Phone"), SyncSettings::kCannotWrite);
    EXPECT_EQ(blocked.save(), SyncSettings::kCannotWrite);
    EXPECT_TRUE(QFileInfo(mHome.korda() + "/korda.xml").isDir());
}

TEST_F(SyncSettingsTest, ADamagedFileIsKeptAsideBeforeAnythingOverwritesIt)
{
    const QByteArray damaged = "<settings><device><id>a</id><name>A</name></device><device><id>b</id><na";
    writeSettings(damaged);
    SyncSettings settings;
    EXPECT_EQ(settings.load(), 0);
    // What was parsed before the damage is usable.
    EXPECT_EQ(settings.getStringValue("a", "name"), "A");
    EXPECT_EQ(readWholeFile(mHome.korda() + "/korda.xml.bad"), damaged);
    settings.setConfig("c", true, 0, {}, {}, "C");
    EXPECT_EQ(readWholeFile(mHome.korda() + "/korda.xml.bad"), damaged);

    const char garbageBytes[] = "\x00\xff garbage \x01";
    writeSettings(QByteArray(garbageBytes, sizeof garbageBytes - 1));
    SyncSettings garbage;
    EXPECT_EQ(garbage.load(), 0);
    EXPECT_EQ(garbage.getStringValue("a", "name"), QString());
    EXPECT_EQ(garbage.setConfig("a", true, 0, {}, {}, "A"), 0);
}

TEST_F(SyncSettingsTest, SettingsMadeToExpandAreRefusedUnreadAndKeptAside)
{
    // A few hundred bytes of entities standing for gigabytes, and 60,000 flat elements.
    const QByteArray bomb = entityBomb("x", "<settings><device><id>&f;</id></device></settings>");
    QByteArray flat = "<settings>";
    for (int i = 0; i < 60000; ++i)
        flat += "<a/>";
    flat += "</settings>";
    for (const QByteArray& content : {bomb, flat}) {
        writeSettings(content);
        QElapsedTimer clock;
        clock.start();
        SyncSettings settings;
        EXPECT_EQ(settings.load(), SyncSettings::kCannotOpen);
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(readWholeFile(mHome.korda() + "/korda.xml.bad"), content);
    }
}
