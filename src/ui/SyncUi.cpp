#include "ui/SyncUi.h"

#include "app/LogScope.h"
#include "devices/Device.h"
#include "devices/DeviceList.h"
#include "devices/mtp/MtpMacDeviceRefresher.h"
#include "library/LibraryPathMap.h"
#include "library/LocalMusicLibrary.h"
#include "library/PodcastRamCache.h"
#include "settings/SyncSettings.h"
#include "sync/AutoRefresher.h"
#include "sync/SyncRun.h"
#include "sync/SyncState.h"
#include "tracks/Track.h"
#include "ui/LibraryChooser.h"
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
#include <QFileDialog>
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
      mUpdateAddress(SiteLink::address().isEmpty()
                         ? QString()
                         : SoftwareUpdateWatcher::updateAddress(SiteLink::address()))
{
    LogScope log("SyncUi::SyncUi");
    setWindowTitle(SyncUiTexts::product());
    setMinimumWidth(500);
    setMaximumWidth(500);
    mPanel = new StatusPanel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mPanel);
    mStartup = new LibraryStartup(*mLibrary, *mPodcasts, this);
    mChooser = new LibraryChooser(mBackends.library, this);

    connect(mPanel, &StatusPanel::linkActivated, this, &SyncUi::helpLinkClicked);
    connect(mPanel, &StatusPanel::syncClicked, this, &SyncUi::startSync);
    connect(mPanel, &StatusPanel::settingsClicked, this, [this] { changeSettings(0); });
    connect(mPanel, &StatusPanel::helpClicked, this, &SyncUi::onHelpClicked);
    connect(mPanel, &StatusPanel::cancelClicked, this, &SyncUi::cancelRun);
    connect(mPanel, &StatusPanel::chooseLibraryClicked, this, [this] { mChooser->choose(this); });
    connect(mChooser, &LibraryChooser::refused, this, &SyncUi::libraryRefused);
    connect(mChooser, &LibraryChooser::chosen, this, [this](const itunes::LibrarySummary& aSummary) {
        // The library's own thread reads the new file at its next attempt.
        if (!mStartupFinished)
            mPanel->setDetail(tr("Reading %1").arg(QDir::toNativeSeparators(aSummary.path)));
    });
    connect(mStartup, &LibraryStartup::waitingForLibrary, this, &SyncUi::explainMissingLibrary);
    connect(mStartup, &LibraryStartup::libraryRead, this, &SyncUi::libraryRead);
    connect(mStartup, &LibraryStartup::finished, this, &SyncUi::startupFinished);
    connect(mAutoRefresher.get(), &AutoRefresher::connectedDeviceStateChanged, this,
            qOverload<int, int>(&SyncUi::UpdateProgress));
    connect(mAutoRefresher.get(), &AutoRefresher::freeSpaceUpdate, mPanel->spaceGauge(), &SpaceGauge::update);
    connect(mUpdateWatcher.get(), &SoftwareUpdateWatcher::updateInfoFound, this,
            &SyncUi::softwareUpdateInfoFound);
    connect(mDeviceList.get(), &DeviceList::unableToOpenDevice, this, &SyncUi::unableToOpenDevice);
    // With no site and no guide installed, Help would lead nowhere.
    mPanel->helpButton()->setVisible(!SiteLink::help().isEmpty());
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
    mMissingScan.reset();
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
QPushButton* SyncUi::chooseLibraryButton() const
{
    return mPanel->chooseLibraryButton();
}
QLabel* SyncUi::noteLabel() const
{
    return mPanel->noteLabel();
}

bool SyncUi::runInProgress() const
{
    return mRun && mRun->isRunning();
}

void SyncUi::explainMissingLibrary(const QString& aProblem)
{
    if (mState != -1)
        return;
    mPanel->showWaitingForLibrary(
        tr("<p>%1</p><p>Veltrane reads the library file that iTunes writes on the computer that has "
           "it (iTunes Music Library.xml or iTunes Library.xml, in its iTunes folder; Music writes one when "
           "you export its library). Choose that file, on that computer's disk or share or as a copy.</p>")
            .arg(aProblem.toHtmlEscaped()));
    mPanel->fitTexts();
}

void SyncUi::libraryRefused(const QString& aPath, const QString& aReason)
{
    QMessageBox::warning(this, SyncUiTexts::product(), LibraryChooser::refusal(aPath, aReason));
}

void SyncUi::lookForMissingFiles()
{
    mMissingScan.reset();
    mMissingScan = makeThread(QStringLiteral("MissingFiles"), [this, backend = mBackends.library] {
        const MissingFiles found = MissingFiles::of(backend, [] { return stopRequested(); });
        if (!stopRequested())
            QMetaObject::invokeMethod(this, [this, found] { showMissingFiles(found); });
    });
    mMissingScan->start();
}

void SyncUi::showMissingFiles(const MissingFiles& aMissing)
{
    mMissing = aMissing;
    if (aMissing.missing == 0 || aMissing.prefix.isEmpty()) {
        mPanel->setNote(QString());
        return;
    }
    const QString prefix = QDir::toNativeSeparators(aMissing.prefix);
    mPanel->setNote(
        tr("%n track(s) of the library are not on this computer: their files are under %1 of another "
           "computer.",
           nullptr, aMissing.underPrefix)
            .arg(prefix.toHtmlEscaped()) +
        QStringLiteral(" <a href=\"map:%1\">").arg(aMissing.prefix.toHtmlEscaped()) +
        tr("Choose the folder that holds them here...").toHtmlEscaped() + QStringLiteral("</a>"));
    mPanel->fitTexts();
}

void SyncUi::chooseMappedFolder(const QString& aPrefix)
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("The folder that holds what is under %1").arg(QDir::toNativeSeparators(aPrefix)),
        LibraryChooser::startFolder());
    if (!folder.isEmpty())
        mapLibraryPrefix(aPrefix, folder);
}

bool SyncUi::mapLibraryPrefix(const QString& aPrefix, const QString& aFolder)
{
    SyncSettings settings;
    settings.load();
    settings.setGlobalSettingsList(
        SyncSettings::kLibraryPathMap,
        LibraryPathMap::withMapping(settings.getGlobalSettingsList(SyncSettings::kLibraryPathMap), aPrefix,
                                    aFolder));
    if (settings.save() != SyncSettings::kResultOk) {
        QMessageBox::warning(this, SyncUiTexts::product(),
                             tr("The mapping could not be saved: %1 can't be written.")
                                 .arg(QDir::toNativeSeparators(SyncSettings::filePath())));
        return false;
    }
    lookForMissingFiles();
    return true;
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
    mStartupFinished = true;
    UpdateProgress(SyncState::NoPhone, 0);
    lookForMissingFiles();
    SyncSettings settings;
    if (settings.load() == SyncSettings::kCannotOpen) {
        logMessage("Config not found - go to setup wizard");
        changeSettings(3);
        return;
    }
    // A build without a site asks nobody: distributions deliver updates.
    if (!mUpdateAddress.isEmpty())
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
    mRunForced = mPanel->forceBox()->isChecked();
    mPanel->setRunning(true);
    mRun->start(mRunForced);
}

void SyncUi::cancelRun()
{
    LogScope log("SyncUi::cancelRun");
    if (!runInProgress())
        return;
    // The run stops after the track it is copying; its end is shown as any run's end.
    mRun->cancel();
    UpdateProgress(SyncState::Cancelling, 0);
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
    const QString help = SiteLink::help();
    if (!help.isEmpty())
        QDesktopServices::openUrl(QUrl(help));
}

void SyncUi::helpLinkClicked(const QString& aLink)
{
    if (aLink.startsWith(QLatin1String("map:")))
        chooseMappedFolder(aLink.mid(4));
    else
        QDesktopServices::openUrl(QUrl(aLink));
}

void SyncUi::closeEvent(QCloseEvent* aEvent)
{
    // Only a run holds the window: it is cancelled and closes the window when it has ended. The
    // start (reading the library, the podcast names) is stopped by the window's destruction.
    mShutdownRequested = true;
    if (runInProgress()) {
        logMessage("App is busy - so don't shut down yet");
        mRun->cancel();
        UpdateProgress(SyncState::Cancelling, 0);
        aEvent->ignore();
        return;
    }
    logMessage("App is not busy - exit now");
    aEvent->accept();
}
