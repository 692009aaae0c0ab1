#include "ui/wizard/DeviceWizard.h"

#include "app/LogScope.h"
#include "devices/Device.h"
#include "devices/DeviceList.h"
#include "library/LocalMusicLibrary.h"
#include "library/PodcastRamCache.h"
#include "settings/DeviceConfiguration.h"
#include "ui/LibraryChooser.h"
#include "ui/SyncUiTexts.h"
#include "ui/wizard/BackupPage.h"
#include "ui/wizard/ConclusionStartSyncPage.h"
#include "ui/wizard/ConnectDevicePage.h"
#include "ui/wizard/IntroPage.h"
#include "ui/wizard/LibraryPage.h"
#include "ui/wizard/PlaylistSettingsPage.h"

#include <QDir>
#include <QMessageBox>
#include <QRadioButton>

DeviceWizard::DeviceWizard(LocalMusicLibrary& aLibrary, DeviceList& aDeviceList,
                           PodcastRamCache& aPodcastNames, QWidget* aParent, int aMode)
    : QWizard(aParent), mLibrary(aLibrary), mDeviceList(aDeviceList), mPodcastNames(aPodcastNames),
      mChooser(new LibraryChooser(aLibrary.backend(), this))
{
    LogScope log("DeviceWizard::DeviceWizard");
    mSettings.load();
    // No Help button: switched on and off again.
    setOption(QWizard::HaveHelpButton, true);
    setOption(QWizard::HaveHelpButton, false);
    setWizardStyle(QWizard::ModernStyle);
    setWindowTitle(SyncUiTexts::product());
    setMinimumWidth(730);
    mIntroPage = new IntroPage(aMode);
    mLibraryPage = new LibraryPage(*mChooser);
    mConnectPage = new ConnectDevicePage(mDeviceList);
    mMusicPage = new PlaylistSettingsPage(mLibrary, mDeviceList, aPodcastNames, false);
    mPodcastPage = new PlaylistSettingsPage(mLibrary, mDeviceList, aPodcastNames, true);
    mBackupPage = new BackupPage;
    mConclusionPage = new ConclusionStartSyncPage(mDeviceList);
    setPage(IntroPageId, mIntroPage);
    setPage(LibraryPageId, mLibraryPage);
    setPage(ConnectPageId, mConnectPage);
    setPage(MusicPageId, mMusicPage);
    setPage(PodcastPageId, mPodcastPage);
    setPage(BackupPageId, mBackupPage);
    setPage(ConclusionPageId, mConclusionPage);
    setStartId(IntroPageId);
    connect(this, &QWizard::currentIdChanged, this, &DeviceWizard::pageChanged);
    // Another library: its podcast names are read again (its playlists are, as the page shows).
    connect(mLibraryPage, &LibraryPage::libraryChanged, this, [this] { mPodcastNames.start(); });
    connect(this, &QWizard::finished, this, &DeviceWizard::saveSettings);
    connect(this, &QWizard::helpRequested, this, &DeviceWizard::showHelp);
    connect(this, &QWizard::helpRequested, this, &DeviceWizard::onHelpRequested);
}

DeviceWizard::~DeviceWizard()
{
    // The device list must not keep the connect page as its observer.
    mDeviceList.DisableAutoRefresh();
}

bool DeviceWizard::syncNow() const
{
    return mConclusionPage->syncNow();
}

void DeviceWizard::pageChanged(int aNewPageId)
{
    LogScope log("DeviceWizard::pageChanged");
    doPageChanged(aNewPageId);
}

void DeviceWizard::doPageChanged(int aNewPageId)
{
    if (aNewPageId == ConnectPageId) {
        mDeviceList.EnableAutoRefresh(mConnectPage);
        mConnectPage->setActive(true);
    } else {
        mDeviceList.DisableAutoRefresh();
        mConnectPage->setActive(false);
    }
    mMusicPage->setCurrent(aNewPageId == MusicPageId);
    mPodcastPage->setCurrent(aNewPageId == PodcastPageId);
    if (aNewPageId == ConclusionPageId)
        mConclusionPage->prepare();
    if (!mDeviceList.DeviceIsSelected())
        return;
    logMessage("Device is connected");
    Device* device = mDeviceList.SelectedDevice();
    const QString id = device->UniqueDeviceId();
    logValue("deviceName", device->FriendlyName());
    if (id == mShownDeviceId)
        return;
    // Another phone: its stored choices come onto the pages.
    mSettings.load();
    DeviceConfiguration configuration;
    if (DeviceConfiguration::read(mSettings, id, configuration)) {
        mMusicPage->setPlaylistSettings(configuration.music == DeviceConfiguration::Music::EntireLibrary,
                                        configuration.playlists);
        mPodcastPage->setPodcastSettings(configuration.podcastSetting, configuration.podcasts,
                                         configuration.episodes);
    } else {
        mMusicPage->allButton()->click();
    }
    mBackupPage->setChoice(configuration.backupPath, configuration.copy);
    mShownDeviceId = id;
}

void DeviceWizard::saveSettings(int aExitReason)
{
    LogScope log("DeviceWizard::saveSettings");
    if (aExitReason == QDialog::Rejected) {
        logMessage("Wizard cancelled");
        return;
    }
    if (!mDeviceList.DeviceIsSelected())
        return;
    logMessage("Device is selected");
    Device* device = mDeviceList.SelectedDevice();
    device->SetConfigured();
    if (device->UniqueDeviceId() == Device::kTemporaryDeviceId) {
        // Nothing is stored under a temporary identity: the phone keeps the one it has.
        QMessageBox::warning(
            this, SyncUiTexts::product(),
            tr("%1 could not be set up: %2").arg(device->FriendlyName(), device->identityProblem()));
        return;
    }
    const QList<Device*>& devices = mDeviceList.GetDevices();
    for (int i = 0; i < devices.size(); ++i) {
        logValue("device list index: ", i);
        logValue("device name: ", devices[i]->FriendlyName());
    }
    const QString id = device->UniqueDeviceId();
    mSettings.load();
    DeviceConfiguration stored;
    DeviceConfiguration::read(mSettings, id, stored);
    // Ticked names count only with "chosen" checked: items ticked earlier stay ticked when the
    // user then picks "all" or "none", and must not be synchronised then.
    DeviceConfiguration configuration;
    configuration.music = mMusicPage->entireLibrary() ? DeviceConfiguration::Music::EntireLibrary
                          : mMusicPage->selectedButton()->isChecked() ? DeviceConfiguration::Music::Playlists
                                                                      : DeviceConfiguration::Music::None;
    configuration.playlists = mMusicPage->playlistNames();
    configuration.podcastSetting = mPodcastPage->podcastSyncSettings();
    configuration.podcasts = mPodcastPage->playlistNames();
    configuration.episodes = mPodcastPage->episodes();
    // The wizard offers no MP3 conversion: finishing it switches that off.
    configuration.convertToMp3 = false;
    configuration.albumArt = mConclusionPage->artForNewTracks();
    configuration.refreshAlbumArt = mConclusionPage->artForEarlierTracks();
    configuration.backupPath = mBackupPage->backupPath();
    configuration.copy = mBackupPage->copy();
    // Photo folders of a BlackBerry backup are kept while that backup stays chosen.
    if (stored.backupPath == configuration.backupPath && !configuration.backupPath.isEmpty())
        configuration.photoFolders = stored.photoFolders;
    if (configuration.write(mSettings, id, device->FriendlyName()) != SyncSettings::kResultOk) {
        logMessage("! The settings could not be saved");
        QMessageBox::warning(this, SyncUiTexts::product(),
                             tr("Your choices could not be saved: %1 can't be written.")
                                 .arg(QDir::toNativeSeparators(SyncSettings::filePath())));
    }
}
