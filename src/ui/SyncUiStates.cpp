// The window's states: what each shows, and what the window does when a run ends.
#include "ui/SyncUi.h"

#include "app/LogScope.h"
#include "devices/Device.h"
#include "devices/DeviceList.h"
#include "devices/usbms/UsbMSDevice.h"
#include "settings/SyncSettings.h"
#include "sync/AutoRefresher.h"
#include "sync/MusicSync.h"
#include "sync/SyncRun.h"
#include "sync/SyncState.h"
#include "sync/SyncStateTexts.h"
#include "tracks/Track.h"
#include "ui/SpaceGauge.h"
#include "ui/SyncUiTexts.h"
#include "ui/SyncWarningDialog.h"
#include "ui/UsbEjectWarning.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

void SyncUi::setBusy()
{
    mProgress->setRange(0, 0);
    mProgress->setValue(0);
}

void SyncUi::SetRegularButtons()
{
    mSettingsButton->setEnabled(true);
    mHelpButton->setEnabled(true);
    mSyncButton->setEnabled(true);
}

void SyncUi::SetSyncingButtons()
{
    mSettingsButton->setEnabled(false);
    mHelpButton->setEnabled(false);
    mSyncButton->setEnabled(false);
}

void SyncUi::UpdateProgress(int a_state, int a_percent_complete)
{
    LogScope log("SyncUi::UpdateProgress");
    logValue("a_state", a_state);
    logValue("a_percent_complete", a_percent_complete);
    if (!SyncState::isBusy(mState) && mShutdownRequested) {
        logMessage("Shutting down due to earlier shutdown request");
        close();
    }
    const int previous = mState;
    const bool changed = previous != a_state;
    mState = a_state;
    if (a_state == SyncState::Reserved)
        return;
    // A step's widgets are set when it begins: a run reports thousands of times, and each
    // setting of the bar repaints it at once.
    if (changed || !SyncState::isBusy(a_state)) {
        applyState(a_state, previous);
        fitTexts();
    }
    if (a_state == SyncState::Copying) {
        if (mProgress->maximum() != 100)
            mProgress->setRange(0, 100);
        if (a_percent_complete == 0 && mProgress->value() != 0)
            mProgress->reset();
        if (mProgress->value() != a_percent_complete)
            mProgress->setValue(a_percent_complete);
    }
    if (changed && (a_state <= SyncState::Fault || a_state == SyncState::Cancelled))
        mAutoRefresher->start();
    if (a_state == SyncState::NotConfigured || a_state == SyncState::SettingsUnreadable) {
        // The wizard opens once this report has been taken (not inside the run's delivery).
        QTimer::singleShot(0, this, [this] { changeSettings(1); });
    }
}

void SyncUi::UpdateProgress(int a_state, int a_percent_complete, const QString& aTrackName)
{
    logValue("a_state", a_state);
    logValue("a_percent_complete", a_percent_complete);
    logValue("aTrackName", aTrackName);
    UpdateProgress(a_state, a_percent_complete);
    if (mDetail->text() == aTrackName)
        return;
    mDetail->setText(aTrackName);
    fitTexts();
}

void SyncUi::applyState(int aState, int aPrevious)
{
    if (!SyncState::isBusy(aState)) {
        mProgress->hide();
        mGauge->show();
        if (aState == SyncState::NoPhone || aState == SyncState::SettingsUnreadable) {
            mGauge->disable();
            mForce->setEnabled(false);
        } else {
            mGauge->enable();
            mForce->setEnabled(true);
        }
        mProgress->setRange(0, 100);
        mProgress->reset();
        SetRegularButtons();
    } else {
        mProgress->show();
        mGauge->hide();
        mForce->setEnabled(false);
        setBusy();
        SetSyncingButtons();
    }
    switch (aState) {
    case SyncState::NoPhone:
        mSyncButton->setEnabled(false);
        break;
    case SyncState::Ready:
        // After a run, its result stays on screen through the first "ready" report.
        if (aPrevious != SyncState::NoPhone && aPrevious != SyncState::Ready)
            return;
        mStatus->setText(SyncStateTexts::status(aState));
        if (mDeviceList->DeviceIsConnected())
            mDetail->setText(mDeviceList->ConnectedDevice()->FriendlyName());
        return;
    case SyncState::Fault:
        mStatus->setText(SyncStateTexts::status(aState));
        mDetail->setText(mFailureReason.isEmpty() ? SyncStateTexts::detail(aState) : mFailureReason);
        return;
    case SyncState::NotConfigured:
    case SyncState::SettingsUnreadable:
        return; // the setup wizard opens
    default:
        break;
    }
    mStatus->setText(SyncStateTexts::status(aState));
    mDetail->setText(SyncStateTexts::detail(aState));
}

void SyncUi::syncFinished(const MusicSync& aSync)
{
    LogScope log("SyncUi::syncFinished");
    // The run's results, taken now that its thread has ended.
    mNonCopied = aSync.GetNonCopiedTracks();
    mNonCopiedErrors = aSync.nonCopiedErrors();
    mNonCopiedReasons = aSync.nonCopiedReasons();
    mNotDownloaded.clear();
    for (int i = 0; i < aSync.GetNotDownloadedTracks().count(); ++i)
        mNotDownloaded.append(aSync.GetNotDownloadedTracks().at(i));
    mMissingPlaylists = aSync.missingPlaylists();
    mFailureReason = aSync.failureReason();
    mLastError = aSync.lastError();
    mBackupFailed = aSync.backupExtractionFailed();
    mDataFailures = aSync.dataTransferFailures();
    mRunEnded = true;
    const int state = aSync.state();
    mLastRunState = state;
    if (state == SyncState::Complete && !mNonCopied.isEmpty()) {
        // Not a plain success: how many were left out, and the list below.
        mStatus->setText(mNonCopied.size() == 1
                             ? tr("Phone synchronization is complete, but 1 track could not be copied")
                             : tr("Phone synchronization is complete, but %1 tracks could not be copied")
                                   .arg(mNonCopied.size()));
    }
    if (state == SyncState::Complete && !mMissingPlaylists.isEmpty())
        mDetail->setText(tr("Nothing was deleted: these playlists are no longer in iTunes: %1")
                             .arg(mMissingPlaylists.join(QStringLiteral(", "))));
    if (state == SyncState::Fault)
        applyState(SyncState::Fault, SyncState::Fault);
    fitTexts();
    if (state == SyncState::Complete || state == SyncState::Fault || state == SyncState::Cancelled)
        QTimer::singleShot(0, this, &SyncUi::showPostRunWarnings);
    if (mShutdownRequested)
        QTimer::singleShot(0, this, &QWidget::close);
}

void SyncUi::showPostRunWarnings()
{
    LogScope log("SyncUi::showPostRunWarnings");
    const int state = mLastRunState;
    if (!mNonCopied.isEmpty()) {
        SyncSettings settings;
        settings.load();
        if (!settings.skipNotCopiedWarning(mRunDeviceId)) {
            SyncWarningDialog dialog(this, mNonCopied,
                                     mLastError == UsbMSDevice::kFolderFailed
                                         ? SyncWarningDialog::CopyFailedFolder
                                         : SyncWarningDialog::CopyFailed,
                                     mNonCopiedErrors, mNonCopiedReasons);
            dialog.exec();
            if (dialog.doNotShowAgain()) {
                settings.setSkipNotCopiedWarning(mRunDeviceId);
                settings.save();
            }
        }
        mNonCopied.clear();
    }
    if (mNotDownloadedPending) {
        SyncWarningDialog dialog(this, mNotDownloaded, SyncWarningDialog::NotDownloaded);
        dialog.exec();
        mNotDownloadedPending = false;
    }
    if (state != SyncState::Complete && state != SyncState::Fault)
        return;
    if (mBackupFailed) {
        QMessageBox::warning(
            this, SyncUiTexts::product(),
            tr("<p>It has not been possible to transfer data from the selected backup. If the "
               "backup is encrypted then please create a non-encrypted backup using iTunes.</p>"));
    } else if (!mDataFailures.isEmpty()) {
        // What did not arrive is tried again by the next synchronization.
        QString items;
        for (const QString& failure : mDataFailures)
            items += QStringLiteral("<li>") + failure.toHtmlEscaped() + QStringLiteral("</li>");
        QMessageBox::warning(this, SyncUiTexts::product(),
                             tr("<p>Not all data from the selected backup could be copied to your phone:</p>"
                                "<ul>%1</ul><p>The next synchronization will try again.</p>")
                                 .arg(items));
    }
    if (mRunDeviceType == Device::DeviceTypeUsbMassStorage && mDeviceList->DeviceIsConnected())
        showUsbEjectReminder();
}

void SyncUi::showUsbEjectReminder()
{
    SyncSettings settings;
    settings.load();
    if (settings.skipUsbEjectWarning(mRunDeviceId))
        return;
    UsbEjectWarning dialog(this);
    if (dialog.exec() == 1) {
        settings.setSkipUsbEjectWarning(mRunDeviceId);
        settings.save();
    }
}
