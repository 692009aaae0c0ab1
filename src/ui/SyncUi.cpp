#include "ui/SyncUi.h"

#include "app/LogScope.h"
#include "devices/Device.h"
#include "devices/DeviceList.h"
#include "devices/mtp/MtpMacDeviceRefresher.h"
#include "library/LocalMusicLibrary.h"
#include "library/PodcastRamCache.h"
#include "settings/SyncSettings.h"
#include "sync/AutoRefresher.h"
#include "sync/SyncRun.h"
#include "sync/SyncState.h"
#include "tracks/Track.h"
#include "ui/LibraryStartup.h"
#include "ui/RunDialogs.h"
#include "ui/SiteLink.h"
#include "ui/SoftwareUpdateWatcher.h"
#include "ui/SpaceGauge.h"
#include "ui/StatusPanel.h"
#include "ui/SyncUiTexts.h"
#include "ui/UpdateDialog.h"
#include "ui/wizard/DeviceWizard.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

SyncUi::SyncUi(Backends aBackends, QWidget* aParent)
    : QWidget(aParent), mBackends(std::move(aBackends)),
      mDeviceList(std::make_unique<DeviceList>(mBackends.driveProber, mBackends.phones)),
      mLibrary(std::make_unique<LocalMusicLibrary>(mBackends.library)),
      mPodcasts(std::make_unique<PodcastRamCache>(mBackends.library)),
      mAutoRefresher(std::make_unique<AutoRefresher>(*mLibrary, *mDeviceList)),
      mUpdateWatcher(std::make_unique<SoftwareUpdateWatcher>()),
      mUpdateAddress(SoftwareUpdateWatcher::updateAddress(SiteLink::address()))
{
    LogScope log("SyncUi::SyncUi");
    setWindowTitle(SyncUiTexts::product());
    setMinimumWidth(500);
    setMaximumWidth(500);
    mITunesBox =
        new QMessageBox(QMessageBox::Warning, SyncUiTexts::product(), QString(), QMessageBox::Ok, this);
    mITunesBox->setModal(false);
    mPanel = new StatusPanel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mPanel);
    mStartup = new LibraryStartup(*mLibrary, *mPodcasts, this);

    connect(mPanel, &StatusPanel::linkActivated, this, &SyncUi::helpLinkClicked);
    connect(mPanel, &StatusPanel::syncClicked, this, &SyncUi::startSync);
    connect(mPanel, &StatusPanel::settingsClicked, this, [this] { changeSettings(0); });
    connect(mPanel, &StatusPanel::helpClicked, this, &SyncUi::onHelpClicked);
    connect(mStartup, &LibraryStartup::waitingForLibrary, this, &SyncUi::explainMissingLibrary);
    connect(mStartup, &LibraryStartup::libraryRead, this, &SyncUi::libraryRead);
    connect(mStartup, &LibraryStartup::finished, this, &SyncUi::startupFinished);
    connect(mStartup, &LibraryStartup::notResponding, this, [this] {
        mITunesBox->setText(
            tr("iTunes has stopped responding. If iTunes is displaying any messages or dialog boxes "
               "then close them."));
        mITunesBox->show();
    });
    connect(mStartup, &LibraryStartup::responding, mITunesBox, &QWidget::hide);
    connect(mAutoRefresher.get(), &AutoRefresher::connectedDeviceStateChanged, this,
            qOverload<int, int>(&SyncUi::UpdateProgress));
    connect(mAutoRefresher.get(), &AutoRefresher::freeSpaceUpdate, mPanel->spaceGauge(), &SpaceGauge::update);
    connect(mUpdateWatcher.get(), &SoftwareUpdateWatcher::updateInfoFound, this,
            &SyncUi::softwareUpdateInfoFound);
    connect(mDeviceList.get(), &DeviceList::unableToOpenDevice, this, &SyncUi::unableToOpenDevice);
    mStartup->begin();
}

SyncUi::~SyncUi()
{
    LogScope log("SyncUi::~SyncUi");
    // A run ends first (it uses the device list and the library), then nothing waits for iTunes.
    mRun.reset();
    mAutoRefresher->stop();
    mLibrary->stopRetrying();
    mPodcasts.reset(); // a reading waiting for iTunes is stopped and joined
}

QLabel* SyncUi::statusLabel() const
{
    return mPanel->statusLabel();
}
QLabel* SyncUi::detailLabel() const
{
    return mPanel->detailLabel();
}
QProgressBar* SyncUi::progressBar() const
{
    return mPanel->progressBar();
}
SpaceGauge* SyncUi::spaceGauge() const
{
    return mPanel->spaceGauge();
}
QPushButton* SyncUi::settingsButton() const
{
    return mPanel->settingsButton();
}
QPushButton* SyncUi::helpButton() const
{
    return mPanel->helpButton();
}
QPushButton* SyncUi::syncButton() const
{
    return mPanel->syncButton();
}
QCheckBox* SyncUi::forceBox() const
{
    return mPanel->forceBox();
}

bool SyncUi::runInProgress() const
{
    return mRun && mRun->isRunning();
}

void SyncUi::explainMissingLibrary(const QString& aProblem)
{
    if (mState != -1)
        return;
    mPanel->setStatus(tr("Waiting for the iTunes library"));
    mPanel->setDetail(
        tr("<p>%1</p><p>Veltrane reads the library file iTunes keeps in its folder (iTunes Music Library.xml "
           "or "
           "iTunes Library.xml in Music/iTunes). In iTunes, switch on \"Share iTunes Library XML with other "
           "applications\" under Preferences, Advanced. A library kept elsewhere is named by the setting "
           "itunes-library-path in %2 (veltrane-sync --library FILE takes it for one run).</p>")
            .arg(aProblem.toHtmlEscaped(),
                 QDir::toNativeSeparators(SyncSettings::filePath()).toHtmlEscaped()));
    mPanel->fitTexts();
}

void SyncUi::bringToFront()
{
    show();
    raise();
    activateWindow();
}

void SyncUi::libraryRead()
{
    UpdateProgress(SyncState::ScanningLibrary, 0);
    bringToFront();
}

void SyncUi::startupFinished()
{
    if (mState != SyncState::ScanningLibrary)
        return;
    LogScope log("SyncUi::podcastNamesUpdated");
    UpdateProgress(SyncState::NoPhone, 0);
    SyncSettings settings;
    if (settings.load() == SyncSettings::kCannotOpen) {
        logMessage("Config not found - go to setup wizard");
        changeSettings(3);
        return;
    }
    mUpdateWatcher->getUpdateInfo(mUpdateAddress);
}

QString SyncUi::connectedDeviceId()
{
    return mDeviceList->DeviceIsConnected() ? mDeviceList->ConnectedDevice()->UniqueDeviceId() : QString();
}

QString SyncUi::runDeviceId()
{
    return mRunDeviceId.isEmpty() ? connectedDeviceId() : mRunDeviceId;
}

void SyncUi::startSync()
{
    LogScope log("SyncUi::startSync");
    mAutoRefresher->stop();
    mNotDownloadedPending = false;
    if (mDeviceList->DeviceIsConnected()) {
        logMessage("Device is connected");
        if (!mDeviceList->ConnectedDevice()->IsMounted()) {
            logMessage("Device is not mounted");
            QMessageBox::warning(this, SyncUiTexts::product(), SyncUiTexts::enableUsb());
            mAutoRefresher->start();
            return;
        }
    }
    mDeviceList->RefreshDevices();
    mRun.reset();
    mDeviceList->RefreshDevices();
    if (!mDeviceList->DeviceIsConnected()) {
        logMessage("Device not connected - unexpected");
        // The window follows the devices again (it would otherwise keep showing a phone).
        mAutoRefresher->start();
        return;
    }
    Device* device = mDeviceList->ConnectedDevice();
    logMessage("Device is connected");
    if (!device->IsConfigured()) {
        logMessage("Device is not configured");
        changeSettings(1);
        return;
    }
    mLastRunState = -1;
    mRunDeviceId = device->UniqueDeviceId();
    mRunDeviceType = device->GetDeviceType();
    mRun = std::make_unique<SyncRun>(*mLibrary, *device, mDeviceList->parentOfDevice(device), *this,
                                     mBackends.keepAwake);
    mPanel->syncButton()->setEnabled(false);
    mRun->start(mPanel->forceBox()->isChecked());
}

void SyncUi::changeSettings(int aMode)
{
    LogScope log("SyncUi::changeSettings");
    mAutoRefresher->stop();
    bool syncNow = false;
    {
        DeviceWizard wizard(*mLibrary, *mDeviceList, *mPodcasts, this, aMode);
        if (wizard.exec() == QDialog::Accepted)
            syncNow = wizard.syncNow();
    }
    mAutoRefresher->stop();
    mDeviceList->RefreshDevices();
    if (syncNow) {
        logMessage("Sync now...");
        startSync();
    } else {
        mAutoRefresher->start();
    }
}

bool SyncUi::ConfirmDeleteTracks(const TrackList& aTracksToDelete)
{
    return RunDialogs::confirmDeleteTracks(this, runDeviceId(), aTracksToDelete);
}

void SyncUi::displayDrmTracksWarning(const TrackList& aDrmTracks)
{
    RunDialogs::warnProtectedTracks(this, runDeviceId(), aDrmTracks);
}

void SyncUi::displayTracksNotDownloadedWarning(const TrackList&)
{
    // Shown when the run has ended.
    mNotDownloadedPending = true;
}

bool SyncUi::notEnoughSpace(qint64 aAdditionalSpaceRequired)
{
    return RunDialogs::goOnWithoutSpace(this, aAdditionalSpaceRequired);
}

void SyncUi::unableToOpenDevice(int aReason)
{
    if (mDeviceErrorShown)
        return;
    mDeviceErrorShown = true;
    QString text = aReason == MtpMacDeviceRefresher::kNoStorage
                       ? tr("<p>It has not been possible to connect to the attached device. If "
                            "the screen is locked then "
                            "disconnect the device, unlock the screen then reconnect "
                            "it.</p><p>If the problem persists try "
                            "rebooting the phone and the PC then try again.</p>")
                       : tr("It has not been possible to connect to the device. Try restarting "
                            "the device and your PC then try "
                            "again.");
    // Why, when it is known (another program holds the phone, say).
    const QString reason = mDeviceList->unableToOpenReason();
    if (aReason != MtpMacDeviceRefresher::kNoStorage && !reason.isEmpty())
        text += QStringLiteral("\n\n") + reason;
    QMessageBox::warning(this, tr("Unable to Connect to The Device"), text);
    mDeviceErrorShown = false;
}

void SyncUi::softwareUpdateInfoFound()
{
    SyncSettings settings;
    settings.load();
    if (mUpdateWatcher->messageId() == settings.skipUpdateMessage() || mUpdateWatcher->text().isEmpty())
        return;
    UpdateDialog dialog(this, mUpdateWatcher->title(), mUpdateWatcher->text());
    dialog.exec();
    if (dialog.doNotShowAgain()) {
        settings.setSkipUpdateMessage(mUpdateWatcher->messageId());
        settings.save();
    }
}

void SyncUi::onHelpClicked()
{
    QDesktopServices::openUrl(QUrl(SiteLink::address() + QStringLiteral("/help/help.html")));
}

void SyncUi::helpLinkClicked(const QString& aLink)
{
    if (aLink != QLatin1String("ituneshelp"))
        return;
    QMessageBox::information(this, tr("iTunes Information"),
                             tr("iTunes must be running for ") + SyncUiTexts::product() +
                                 tr(" to work correctly. It is important that iTunes is not closed while ") +
                                 SyncUiTexts::product() + tr(" is running."));
}

void SyncUi::closeEvent(QCloseEvent* aEvent)
{
    mShutdownRequested = true;
    if (SyncState::isBusy(mState)) {
        logMessage("App is busy - so don't shut down yet");
        UpdateProgress(SyncState::Cancelling, 0);
        aEvent->ignore();
    } else {
        logMessage("App is not busy - exit now");
        aEvent->accept();
    }
    if (mRun)
        mRun->cancel();
}
