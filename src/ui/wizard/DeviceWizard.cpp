#include "ui/wizard/DeviceWizard.h"

#include "app/LogScope.h"
#include "devices/Device.h"
#include "devices/DeviceList.h"
#include "ui/SyncUiTexts.h"
#include "ui/wizard/BackupPage.h"
#include "ui/wizard/ConculsionStartSyncPage.h"
#include "ui/wizard/ConnectDevicePage.h"
#include "ui/wizard/IntroPage.h"
#include "ui/wizard/PlaylistSettingsPage.h"

#include <QDir>
#include <QMessageBox>
#include <QRadioButton>

DeviceWizard::DeviceWizard(LocalMusicLibrary& aLibrary, DeviceList& aDeviceList,
                           const PodcastRamCache& aPodcastNames, QWidget* aParent, int aMode)
    : QWizard(aParent), mLibrary(aLibrary), mDeviceList(aDeviceList)
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
    mConnectPage = new ConnectDevicePage(mDeviceList);
    mMusicPage = new PlaylistSettingsPage(mLibrary, mDeviceList, aPodcastNames, false);
    mPodcastPage = new PlaylistSettingsPage(mLibrary, mDeviceList, aPodcastNames, true);
    mBackupPage = new BackupPage;
    mConclusionPage = new ConculsionStartSyncPage(mDeviceList);
    setPage(IntroPageId, mIntroPage);
    setPage(ConnectPageId, mConnectPage);
    setPage(MusicPageId, mMusicPage);
    setPage(PodcastPageId, mPodcastPage);
    setPage(BackupPageId, mBackupPage);
    setPage(ConclusionPageId, mConclusionPage);
    setStartId(IntroPageId);
    connect(this, &QWizard::currentIdChanged, this, &DeviceWizard::pageChanged);
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
    bool entireLibrary = false;
    int podcastSetting = 0;
    QStringList playlists, podcasts;
    const int found = mSettings.getConfig(id, entireLibrary, podcastSetting, playlists, podcasts);
    const int episodes = mSettings.numberOfEpisodesToSync(id);
    if (found == 0) {
        mMusicPage->setPlaylistSettings(entireLibrary, playlists);
        mPodcastPage->setPodcastSettings(podcastSetting, podcasts, episodes);
    } else {
        mMusicPage->allButton()->click();
    }
    mBackupPage->setChoice(mSettings.selectedBackupPath(id), mSettings.copyTextMessages(id),
                           mSettings.copyAddressBook(id), mSettings.copyCalendar(id), mSettings.copyNotes(id),
                           mSettings.copyPhotos(id));
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
    const QList<Device*>& devices = mDeviceList.GetDevices();
    for (int i = 0; i < devices.size(); ++i) {
        logValue("device list index: ", i);
        logValue("device name: ", devices[i]->FriendlyName());
    }
    const QString id = device->UniqueDeviceId();
    const QString name = device->FriendlyName();
    mSettings.load();
    // Photo folders of a BlackBerry backup are kept while that backup stays chosen.
    const QList<QPair<QString, QString>> photoFolders =
        mSettings.getSettingsList(id, QStringLiteral("photo_folders"));
    const bool sameBackup = mSettings.selectedBackupPath(id) == mBackupPage->backupPath();
    // Ticked names count only with "chosen" checked: items ticked earlier stay ticked when the
    // user then picks "all" or "none", and must not be synchronised then.
    const bool someMusic = mMusicPage->selectedButton()->isChecked();
    const bool somePodcasts = mPodcastPage->podcastSyncSettings() == SyncSettings::PodcastsSelected;
    mSettings.setConfig(id, mMusicPage->entireLibrary(), mPodcastPage->podcastSyncSettings(),
                        someMusic ? mMusicPage->playlistNames() : QStringList(),
                        somePodcasts ? mPodcastPage->playlistNames() : QStringList(), name);
    // The wizard offers no choice for these, so finishing it sets them afresh.
    mSettings.setConvertAacToMp3(id, false);
    mSettings.setEnableArtworkSync(id, mConclusionPage->artForNewTracks());
    mSettings.setForceArtworkSync(id, mConclusionPage->artForEarlierTracks());
    mSettings.setNumberOfEpisodesToSync(id, mPodcastPage->episodes());
    // Another phone's data: what the backup page shows.
    mSettings.setSelectedBackupPath(id, mBackupPage->backupPath());
    mSettings.setCopyTextMessages(id, mBackupPage->copyMessages());
    mSettings.setCopyAddressBook(id, mBackupPage->copyContacts());
    mSettings.setCopyNotes(id, mBackupPage->copyNotes());
    mSettings.setCopyCalendar(id, mBackupPage->copyCalendar());
    mSettings.setCopyPhotos(id, mBackupPage->copyPhotos());
    mSettings.removeSettingsList(id, QStringLiteral("photo_folders"));
    if (sameBackup && !mBackupPage->backupPath().isEmpty())
        mSettings.setSettingsList(id, QStringLiteral("photo_folders"), photoFolders);
    if (mSettings.save() != 0) {
        logMessage("! The settings could not be saved");
        QMessageBox::warning(this, SyncUiTexts::product(),
                             tr("Your choices could not be saved: %1 can't be written.")
                                 .arg(QDir::toNativeSeparators(SyncSettings::filePath())));
    }
}
