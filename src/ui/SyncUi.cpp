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
#include "tracks/TrackList.h"
#include "ui/DeleteTracksConfirm.h"
#include "ui/SiteLink.h"
#include "ui/SoftwareUpdateWatcher.h"
#include "ui/SpaceGauge.h"
#include "ui/SyncUiTexts.h"
#include "ui/SyncWarningDialog.h"
#include "ui/UpdateDialog.h"
#include "ui/wizard/DeviceWizard.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

SyncUi::SyncUi(Backends aBackends, QWidget* aParent)
    : QWidget(aParent), mBackends(std::move(aBackends)),
      mDeviceList(std::make_unique<DeviceList>(mBackends.driveProber, mBackends.phones)),
      mSettings(std::make_unique<SyncSettings>()),
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
    mSettings->load();
    mITunesBox =
        new QMessageBox(QMessageBox::Warning, SyncUiTexts::product(), QString(), QMessageBox::Ok, this);
    mITunesBox->setModal(false);

    auto* layout = new QVBoxLayout(this);
    mStatus = new QLabel(tr("Please wait while iTunes is started"));
    mStatus->setAlignment(Qt::AlignHCenter);
    mStatus->setWordWrap(true);
    mStatus->setOpenExternalLinks(false);
    layout->addWidget(mStatus);
    mDetail = new QLabel(
        tr("<p>If iTunes is already running then click ") +
        SiteLink::to(QStringLiteral("/blog/files/please_wait_while_itunes_is_started.html"), tr("here")) +
        tr(" </p>"));
    mDetail->setAlignment(Qt::AlignHCenter);
    mDetail->setWordWrap(true);
    mDetail->setOpenExternalLinks(true);
    layout->addWidget(mDetail);
    auto* meters = new QVBoxLayout;
    mProgress = new QProgressBar;
    mProgress->setTextVisible(false);
    mGauge = new SpaceGauge(false);
    mGauge->disable();
    mGauge->hide();
    meters->addWidget(mProgress);
    meters->addWidget(mGauge);
    layout->addLayout(meters);
    auto* buttons = new QHBoxLayout;
    buttons->setAlignment(Qt::AlignHCenter);
    mSettingsButton = new QPushButton(tr("Settings"));
    mHelpButton = new QPushButton(tr("Help"));
    mSyncButton = new QPushButton(tr("Synchronize"));
    mForce = new QCheckBox(tr("Force full resynchronization"));
    mForce->setEnabled(false);
    buttons->addWidget(mSettingsButton);
    buttons->addWidget(mHelpButton);
    buttons->addWidget(mSyncButton);
    buttons->addWidget(mForce);
    layout->addLayout(buttons);

    connect(mStatus, &QLabel::linkActivated, this, &SyncUi::helpLinkClicked);
    connect(mDetail, &QLabel::linkActivated, this, &SyncUi::helpLinkClicked);
    connect(mSyncButton, &QPushButton::clicked, this, &SyncUi::startSync);
    connect(mSettingsButton, &QPushButton::clicked, this, [this] { changeSettings(0); });
    connect(mHelpButton, &QPushButton::clicked, this, &SyncUi::onHelpClicked);
    connect(mLibrary.get(), &LocalMusicLibrary::initialisationComplete, this, &SyncUi::iTunesStarted);
    connect(mLibrary.get(), &LocalMusicLibrary::iTunesFailure, this, &SyncUi::iTunesFailure);
    connect(mLibrary.get(), &LocalMusicLibrary::iTunesOkay, this, &SyncUi::iTunesOkay);
    connect(&mWaitTimer, &QTimer::timeout, this, &SyncUi::waitExpired);
    setBusy();
    SetSyncingButtons();
    mWaitTimer.setSingleShot(true);
    mWaitTimer.start(500);
    connect(mAutoRefresher.get(), &AutoRefresher::connectedDeviceStateChanged, this,
            qOverload<int, int>(&SyncUi::UpdateProgress));
    connect(mAutoRefresher.get(), &AutoRefresher::freeSpaceUpdate, mGauge, &SpaceGauge::update);
    connect(mUpdateWatcher.get(), &SoftwareUpdateWatcher::updateInfoFound, this,
            &SyncUi::softwareUpdateInfoFound);
    connect(mDeviceList.get(), &DeviceList::unableToOpenDevice, this, &SyncUi::unableToOpenDevice);
    connect(mPodcasts.get(), &PodcastRamCache::updated, this, &SyncUi::podcastNamesUpdated);
}

SyncUi::~SyncUi()
{
    LogScope log("SyncUi::~SyncUi");
    mWaitTimer.stop();
    // A run ends first (it uses the device list and the library), then nothing waits for iTunes.
    mRun.reset();
    mAutoRefresher->stop();
    mLibrary->stopRetrying();
    mPodcasts.reset(); // a reading waiting for iTunes is stopped and joined
}

bool SyncUi::runInProgress() const
{
    return mRun && mRun->isRunning();
}

void SyncUi::waitExpired()
{
    LogScope log("SyncUi::waitExpired");
    setBusy();
    mProgress->reset();
    mLibrary->initialiseInNewThread();
    explainMissingLibrary();
}

void SyncUi::explainMissingLibrary()
{
    if (mState != -1)
        return;
    const QString problem = mLibrary->backend()->unavailableReason();
    if (problem.isEmpty())
        return;
    mStatus->setText(tr("Waiting for the iTunes library"));
    mDetail->setText(
        tr("<p>%1</p><p>Veltrane reads the library file iTunes keeps in its folder (iTunes Music Library.xml "
           "or "
           "iTunes Library.xml in Music/iTunes). In iTunes, switch on \"Share iTunes Library XML with other "
           "applications\" under Preferences, Advanced. A library kept elsewhere is named by the setting "
           "itunes-library-path in %2 (veltrane-sync --library FILE takes it for one run).</p>")
            .arg(problem.toHtmlEscaped(),
                 QDir::toNativeSeparators(SyncSettings::filePath()).toHtmlEscaped()));
    fitTexts();
}

void SyncUi::fitTexts()
{
    // The window keeps its width and takes the height its texts need (an explanation or a long
    // track name may run to several lines); only a change of that height costs a new layout.
    if (mDetail->heightForWidth(mDetail->width()) != mDetail->height() ||
        mStatus->heightForWidth(mStatus->width()) != mStatus->height())
        adjustSize();
}

void SyncUi::bringToFront()
{
    show();
    raise();
    activateWindow();
}

void SyncUi::iTunesStarted()
{
    LogScope log("SyncUi::iTunesStarted");
    UpdateProgress(SyncState::ScanningLibrary, 0);
    bringToFront();
    mPodcasts->start();
}

void SyncUi::podcastNamesUpdated()
{
    // Only the first reading finishes the start-up; later ones serve the wizard.
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

void SyncUi::iTunesFailure()
{
    if (mITunesFailures > 60) {
        mITunesBox->setText(
            tr("iTunes has stopped responding. If iTunes is displaying any messages or dialog boxes "
               "then close them."));
        mITunesBox->show();
        mITunesFailures = 0;
    }
    ++mITunesFailures;
    // Waiting at start: once a second, say what is missing.
    if (mITunesFailures % 4 == 1)
        explainMissingLibrary();
}

void SyncUi::iTunesOkay()
{
    mITunesFailures = 0;
    mITunesBox->hide();
}

QString SyncUi::connectedDeviceId()
{
    return mDeviceList->DeviceIsConnected() ? mDeviceList->ConnectedDevice()->UniqueDeviceId() : QString();
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
    mRunEnded = false;
    mLastRunState = -1;
    mRunDeviceId = device->UniqueDeviceId();
    mRunDeviceType = device->GetDeviceType();
    mRun = std::make_unique<SyncRun>(*mLibrary, *device, mDeviceList->parentOfDevice(device), *this,
                                     mBackends.keepAwake);
    mSyncButton->setEnabled(false);
    mRun->start(mForce->isChecked());
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
    LogScope log("SyncUi::ConfirmDeleteTracks");
    SyncSettings settings;
    settings.load();
    const QString id = mRunDeviceId.isEmpty() ? connectedDeviceId() : mRunDeviceId;
    if (settings.deleteWithoutWarning(id)) {
        logMessage("Skipping warning");
        return true;
    }
    logMessage("Displaying warning");
    DeleteTracksConfirm dialog(aTracksToDelete, this);
    const int answer = dialog.exec();
    if (answer == 2) {
        settings.setDeleteWithoutWarning(id);
        settings.save();
    }
    return answer == 1 || answer == 2;
}

void SyncUi::displayDrmTracksWarning(const TrackList& aDrmTracks)
{
    SyncSettings settings;
    settings.load();
    const QString id = mRunDeviceId.isEmpty() ? connectedDeviceId() : mRunDeviceId;
    if (settings.skipDrmWarning(id))
        return;
    logMessage("Displaying warning");
    QList<Track> tracks;
    for (int i = 0; i < aDrmTracks.count(); ++i)
        tracks.append(aDrmTracks.at(i));
    SyncWarningDialog dialog(this, tracks, SyncWarningDialog::CopyProtected);
    dialog.exec();
    if (dialog.doNotShowAgain()) {
        settings.setSkipDrmWarning(id);
        settings.save();
    }
}

void SyncUi::displayTracksNotDownloadedWarning(const TrackList&)
{
    // Shown when the run has ended.
    mNotDownloadedPending = true;
}

bool SyncUi::notEnoughSpace(qint64 aAdditionalSpaceRequired)
{
    const qint64 megabytes = aAdditionalSpaceRequired / 1024 / 1024;
    QMessageBox box(
        QMessageBox::Warning, tr("Not Enough Space"),
        tr("You do not have enough space on your phone to complete the synchronization.  You need to "
           "free up %1 MB. Do you want to continue with the sync anyway? Note that if you do this then "
           "some tracks will not be copied.")
            .arg(megabytes),
        QMessageBox::NoButton, this);
    QPushButton* dontSync = box.addButton(tr("Don't Sync"), QMessageBox::RejectRole);
    box.addButton(tr("Sync Anyway"), QMessageBox::AcceptRole);
    box.exec();
    return box.clickedButton() != dontSync;
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
