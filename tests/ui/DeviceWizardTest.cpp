// The setup wizard on a real library and a folder standing for the phone: what finishing writes
// for each choice, what cancelling leaves alone, and a phone's stored choices shown again.
#include "ui/wizard/DeviceWizard.h"
#include "devices/DeviceList.h"
#include "library/LocalMusicLibrary.h"
#include "library/PodcastRamCache.h"
#include "settings/SyncSettings.h"
#include "support/BackupBuilder.h"
#include "support/SimulatedPhone.h"
#include "support/SyncFixture.h"
#include "ui/SpaceGauge.h"
#include "ui/UiTestSupport.h"
#include "ui/wizard/BackupPage.h"
#include "ui/wizard/ConclusionStartSyncPage.h"
#include "ui/wizard/ConnectDevicePage.h"
#include "ui/wizard/LibraryPage.h"
#include "ui/wizard/PlaylistSettingsPage.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class DeviceWizardTest : public ::testing::Test
{
protected:
    void TearDown() override { uitest::cancelPendingAnswers(); }
    DeviceWizardTest()
        : mList(mFixture.prober, std::make_shared<SimulatedPhoneManager>()),
          mPodcastNames(mFixture.library->backend())
    {
        // The podcast names come from the window's cache, which it fills at its start.
        mPodcastNames.start();
        while (mPodcastNames.isReading())
            QThread::msleep(5);
    }

    std::unique_ptr<DeviceWizard> openWizard(int aMode = 0)
    {
        auto wizard = std::make_unique<DeviceWizard>(*mFixture.library, mList, mPodcastNames, nullptr, aMode);
        wizard->show();
        return wizard;
    }
    // From the start page to the music page with the drive chosen.
    void toMusicPage(DeviceWizard& aWizard)
    {
        aWizard.next();
        // The library in use, with what it holds.
        ASSERT_EQ(aWizard.currentId(), DeviceWizard::LibraryPageId);
        ASSERT_TRUE(uitest::waitFor([&] { return aWizard.button(QWizard::NextButton)->isEnabled(); }));
        EXPECT_EQ(aWizard.libraryPage()->fileLabel()->text().toStdString(),
                  ("Library file: " + mFixture.xmlPath).toStdString());
        EXPECT_EQ(aWizard.libraryPage()->contentLabel()->text().toStdString(),
                  "The library holds 12 tracks and 5 playlists.");
        uitest::saveScreenshot(aWizard, "wizard-1-library");
        aWizard.next();
        ASSERT_EQ(aWizard.currentId(), DeviceWizard::ConnectPageId);
        // The drive shows once the list has answered (its size is asked for on the side); the
        // only device is chosen already.
        ASSERT_TRUE(uitest::waitFor([&] { return aWizard.connectPage()->list()->count() == 1; }));
        EXPECT_EQ(aWizard.connectPage()->list()->currentRow(), 0);
        EXPECT_TRUE(aWizard.button(QWizard::NextButton)->isEnabled());
        uitest::saveScreenshot(aWizard, "wizard-2-connect");
        aWizard.next();
        ASSERT_EQ(aWizard.currentId(), DeviceWizard::MusicPageId);
        // Whatever is chosen there to begin with can be taken as it is.
        EXPECT_TRUE(aWizard.button(QWizard::NextButton)->isEnabled());
    }
    QListWidgetItem* item(PlaylistSettingsPage& aPage, const QString& aName)
    {
        const QList<QListWidgetItem*> found = aPage.list()->findItems(aName, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }
    QString id() { return mFixture.device->UniqueDeviceId(); }

    SyncFixture mFixture;
    DeviceList mList;
    PodcastRamCache mPodcastNames;
};

} // namespace

TEST_F(DeviceWizardTest, FinishingWritesTheChosenPlaylistsPodcastsAndEpisodes)
{
    auto wizard = openWizard(1);
    EXPECT_EQ(wizard->windowTitle(), "Veltrane");
    EXPECT_GE(wizard->minimumWidth(), 730);
    uitest::saveScreenshot(*wizard, "wizard-0-intro");
    toMusicPage(*wizard);
    PlaylistSettingsPage& music = *wizard->musicPage();
    // A phone never configured: the whole library is offered first.
    EXPECT_TRUE(music.allButton()->isChecked());
    EXPECT_FALSE(music.list()->isEnabled());
    // Chosen playlists with none ticked: Next is off until one is.
    music.selectedButton()->click();
    EXPECT_TRUE(music.list()->isEnabled());
    EXPECT_FALSE(wizard->button(QWizard::NextButton)->isEnabled());
    ASSERT_TRUE(item(music, "Rock"));
    item(music, "Rock")->setCheckState(Qt::Checked);
    EXPECT_TRUE(wizard->button(QWizard::NextButton)->isEnabled());
    // The drive's space in figures, and what the choice needs (the three Rock songs).
    EXPECT_TRUE(QRegularExpression("^\\S+ \\S+ used, \\S+ \\S+ free of \\S+ \\S+$")
                    .match(music.gauge()->text())
                    .hasMatch())
        << music.gauge()->text().toStdString();
    qint64 rock = 0;
    for (const QString& song :
         QDir(mFixture.home.path() + "/Music/iTunes/iTunes Media/Music/Stone Band/Heavy")
             .entryList({"*.mp3"}, QDir::Files))
        rock += QFileInfo(mFixture.home.path() + "/Music/iTunes/iTunes Media/Music/Stone Band/Heavy/" + song)
                    .size();
    EXPECT_TRUE(uitest::waitFor([&] {
        return music.needsLabel()->text() ==
               "The chosen music takes " + QLocale().formattedDataSize(rock) + " on the phone.";
    })) << music.needsLabel()->text().toStdString();
    uitest::saveScreenshot(*wizard, "wizard-4-music");
    wizard->next();
    PlaylistSettingsPage& podcasts = *wizard->podcastPage();
    ASSERT_EQ(wizard->currentId(), DeviceWizard::PodcastPageId);
    podcasts.selectedButton()->click();
    ASSERT_TRUE(uitest::waitFor([&] { return item(podcasts, "Weekly") != nullptr; }));
    item(podcasts, "Weekly")->setCheckState(Qt::Checked);
    ASSERT_EQ(podcasts.episodeBox()->count(), 11);
    EXPECT_EQ(podcasts.episodeBox()->itemText(1), "Sync most recent episode only");
    EXPECT_EQ(podcasts.episodeBox()->itemText(3), "Sync most recent 3 episodes only");
    podcasts.episodeBox()->setCurrentIndex(3);
    uitest::saveScreenshot(*wizard, "wizard-5-podcasts");
    wizard->next();
    // No other phone's data for a phone that never had any.
    ASSERT_EQ(wizard->currentId(), DeviceWizard::BackupPageId);
    EXPECT_TRUE(wizard->backupPage()->backupPath().isEmpty());
    EXPECT_FALSE(wizard->backupPage()->messagesBox()->isEnabled());
    wizard->next();
    ASSERT_EQ(wizard->currentId(), DeviceWizard::ConclusionPageId);
    wizard->conclusionPage()->newTracksArt()->setChecked(true);
    wizard->conclusionPage()->earlierTracksArt()->setChecked(false);
    wizard->conclusionPage()->laterButton()->setChecked(true);
    uitest::saveScreenshot(*wizard, "wizard-9-conclusion");
    wizard->accept();
    EXPECT_FALSE(wizard->syncNow());

    SyncSettings settings;
    ASSERT_EQ(settings.load(), 0);
    bool entire = true;
    int podcastSetting = 0;
    QStringList playlists, podcastNames;
    ASSERT_EQ(settings.getConfig(id(), entire, podcastSetting, playlists, podcastNames), 0);
    EXPECT_FALSE(entire);
    EXPECT_EQ(playlists, QStringList{"Rock"});
    EXPECT_EQ(podcastSetting, SyncSettings::PodcastsSelected);
    EXPECT_EQ(podcastNames, QStringList{"Weekly"});
    EXPECT_EQ(settings.numberOfEpisodesToSync(id()), 3);
    EXPECT_TRUE(settings.enableArtworkSync(id()));
    EXPECT_FALSE(settings.forceArtworkSync(id()));
}

TEST_F(DeviceWizardTest, EachMusicChoiceIsWrittenAndTheBackupPageWritesWhatItShows)
{
    SyncSettings before;
    before.load();
    before.setConfig(id(), true, 0, {}, {}, "Player");
    before.setSelectedBackupPath(id(), "/backups/old phone");
    before.setCopyAddressBook(id(), true);
    before.setConvertAacToMp3(id(), true);
    before.save();
    for (int choice = 0; choice < 3; ++choice) {
        auto wizard = openWizard();
        toMusicPage(*wizard);
        PlaylistSettingsPage& music = *wizard->musicPage();
        if (choice == 0) {
            music.allButton()->click();
        } else if (choice == 1) {
            music.selectedButton()->click();
            item(music, "Jazz")->setCheckState(Qt::Checked);
        } else {
            music.noneButton()->click();
        }
        wizard->next();
        wizard->podcastPage()->allButton()->click();
        wizard->next();
        // The backup chosen before is shown with its switches; the last round chooses none.
        BackupPage& backup = *wizard->backupPage();
        EXPECT_EQ(backup.backupPath(), "/backups/old phone");
        EXPECT_TRUE(backup.copy().contacts);
        if (choice == 2)
            backup.backupList()->setCurrentRow(0);
        wizard->next();
        wizard->accept();
        SyncSettings settings;
        settings.load();
        bool entire = false;
        int podcastSetting = 0;
        QStringList playlists, podcasts;
        ASSERT_EQ(settings.getConfig(id(), entire, podcastSetting, playlists, podcasts), 0) << choice;
        EXPECT_EQ(entire, choice == 0) << choice;
        // "None" after Jazz was ticked (the previous round's choice, shown again) is none.
        if (choice != 0) {
            EXPECT_EQ(playlists, choice == 1 ? QStringList{"Jazz"} : QStringList()) << choice;
        }
        EXPECT_EQ(podcastSetting, SyncSettings::PodcastsAll);
        EXPECT_EQ(settings.selectedBackupPath(id()).isEmpty(), choice == 2);
        EXPECT_EQ(settings.copyAddressBook(id()), choice != 2);
        EXPECT_FALSE(settings.copyTextMessages(id()));
        EXPECT_FALSE(settings.convertAacToMp3(id()));
    }
}

TEST_F(DeviceWizardTest, CancellingWritesNothingAndAStoredChoiceComesBack)
{
    SyncSettings stored;
    stored.load();
    stored.setConfig(id(), false, SyncSettings::PodcastsSelected, {"Jazz", "Gone From iTunes"}, {"Weekly"},
                     "Player");
    stored.setNumberOfEpisodesToSync(id(), 2);
    stored.save();
    const QByteArray file = readWholeFile(SyncSettings::filePath());
    auto wizard = openWizard();
    toMusicPage(*wizard);
    PlaylistSettingsPage& music = *wizard->musicPage();
    // The phone's choices: Jazz ticked; a playlist iTunes no longer has is dropped.
    EXPECT_TRUE(music.selectedButton()->isChecked());
    EXPECT_EQ(music.playlistNames(), QStringList{"Jazz"});
    wizard->next();
    EXPECT_TRUE(wizard->podcastPage()->selectedButton()->isChecked());
    EXPECT_EQ(wizard->podcastPage()->episodeBox()->currentIndex(), 2);
    wizard->reject();
    EXPECT_EQ(readWholeFile(SyncSettings::filePath()), file);
}

TEST_F(DeviceWizardTest, AnIphoneBackupFoundOnTheComputerIsChosenWithWhatToCopy)
{
    BackupBuilder backup(QDir::homePath() + "/.local/share/Apple Computer/MobileSync/Backup",
                         "00008101-CAFE");
    backup.setInfoPlist("Kim's iPhone", true);
    backup.write();
    BackupBuilder locked(QDir::homePath() + "/.local/share/Apple Computer/MobileSync/Backup",
                         "00008101-BEEF");
    locked.setInfoPlist("Kim's old iPhone");
    locked.setEncrypted();
    locked.write();
    auto wizard = openWizard();
    toMusicPage(*wizard);
    wizard->next();
    wizard->next();
    ASSERT_EQ(wizard->currentId(), DeviceWizard::BackupPageId);
    BackupPage& page = *wizard->backupPage();
    ASSERT_EQ(page.backupList()->count(), 3);
    // An encrypted backup is said to be so when it is chosen.
    page.backupList()->setCurrentRow(1);
    EXPECT_TRUE(page.backupList()->currentItem()->text().startsWith("Kim's old iPhone"));
    EXPECT_TRUE(page.noteLabel()->isVisibleTo(&page));
    EXPECT_TRUE(page.noteLabel()->text().contains("encrypted"));
    page.backupList()->setCurrentRow(2);
    EXPECT_TRUE(page.backupList()->item(2)->text().startsWith("Kim's iPhone"));
    EXPECT_FALSE(page.noteLabel()->isVisibleTo(&page));
    EXPECT_TRUE(page.calendarBox()->isEnabled());
    page.messagesBox()->setChecked(true);
    page.photosBox()->setChecked(true);
    uitest::saveScreenshot(*wizard, "wizard-7-backup");
    wizard->next();
    wizard->accept();
    SyncSettings settings;
    settings.load();
    EXPECT_EQ(settings.selectedBackupPath(id()), backup.path() + "/");
    EXPECT_TRUE(settings.copyTextMessages(id()));
    EXPECT_TRUE(settings.copyPhotos(id()));
    EXPECT_FALSE(settings.copyCalendar(id()));
}
