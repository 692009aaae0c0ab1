// The window's states as a run or the auto-refresher reports them, and what it does when a run ends.
#include "ui/SyncUi.h"

#include "app/LogScope.h"
#include "devices/Device.h"
#include "devices/DeviceList.h"
#include "devices/usbms/UsbMSDevice.h"
#include "sync/AutoRefresher.h"
#include "sync/DesktopNotifier.h"
#include "sync/MusicSync.h"
#include "sync/SyncRun.h"
#include "sync/SyncState.h"
#include "tracks/Track.h"
#include "ui/RunDialogs.h"
#include "ui/StatusPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QTextDocumentFragment>
#include <QTimer>

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
        const QString deviceName =
            mDeviceList->DeviceIsConnected() ? mDeviceList->ConnectedDevice()->FriendlyName() : QString();
        mPanel->showState(a_state, previous, deviceName, mFailureReason);
        mPanel->fitTexts();
    }
    if (a_state == SyncState::Copying)
        mPanel->showPercent(a_percent_complete);
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
    mPanel->setDetail(aTrackName);
    mPanel->fitTexts();
}

void SyncUi::syncFinished(const MusicSync& aSync)
{
    LogScope log("SyncUi::syncFinished");
    // The run's results, taken now that its thread has ended.
    mNonCopied = aSync.GetNonCopiedTracks();
    mNonCopiedErrors = aSync.nonCopiedErrors();
    mNonCopiedReasons = aSync.nonCopiedReasons();
    mNotDownloaded.clear();
    for (const Track& track : aSync.GetNotDownloadedTracks())
        mNotDownloaded.append(track);
    mMissingPlaylists = aSync.missingPlaylists();
    mFailureReason = aSync.failureReason();
    mLastError = aSync.lastError();
    mBackupFailed = aSync.backupExtractionFailed();
    mDataFailures = aSync.dataTransferFailures();
    const int state = aSync.state();
    mLastRunState = state;
    mPanel->setRunning(false);
    // A full resynchronisation is asked for one run.
    if (state == SyncState::Complete && mRunForced)
        mPanel->forceBox()->setChecked(false);
    if (state == SyncState::Cancelled && aSync.tracksToCopy() > 0)
        mPanel->setDetail(
            tr("Copied %1 of %n track(s) before the synchronization stopped.", nullptr, aSync.tracksToCopy())
                .arg(aSync.tracksCopied()));
    if (state == SyncState::Complete && !mNonCopied.isEmpty()) {
        // Not a plain success: how many were left out, and the list below.
        mPanel->setStatus(tr("Phone synchronization is complete, but %n track(s) could not be copied",
                             nullptr, static_cast<int>(mNonCopied.size())));
    }
    if (state == SyncState::Complete && !mMissingPlaylists.isEmpty())
        mPanel->setDetail(tr("Nothing was deleted: these playlists are no longer in iTunes: %1")
                              .arg(mMissingPlaylists.join(QStringLiteral(", "))));
    if (state == SyncState::Fault)
        mPanel->showState(SyncState::Fault, SyncState::Fault, QString(), mFailureReason);
    mPanel->fitTexts();
    // The user who looks elsewhere learns of the end from the desktop.
    if (mBackends.notifier && !isActiveWindow() && !mShutdownRequested)
        mBackends.notifier->notify(
            mPanel->statusLabel()->text(),
            QTextDocumentFragment::fromHtml(mPanel->detailLabel()->text()).toPlainText());
    if (state == SyncState::Complete || state == SyncState::Fault || state == SyncState::Cancelled)
        QTimer::singleShot(0, this, &SyncUi::showPostRunWarnings);
    // What the run could not find may have come back (a share mounted since).
    if (!mMissing.prefix.isEmpty() && !mShutdownRequested)
        lookForMissingFiles();
    if (mShutdownRequested)
        QTimer::singleShot(0, this, &QWidget::close);
}

void SyncUi::showPostRunWarnings()
{
    LogScope log("SyncUi::showPostRunWarnings");
    if (!mNonCopied.isEmpty()) {
        RunDialogs::warnNotCopied(this, mRunDeviceId, mNonCopied, mNonCopiedErrors, mNonCopiedReasons,
                                  mLastError == UsbMSDevice::kFolderFailed);
        mNonCopied.clear();
    }
    if (mNotDownloadedPending) {
        RunDialogs::warnNotDownloaded(this, mNotDownloaded);
        mNotDownloadedPending = false;
    }
    if (mLastRunState != SyncState::Complete && mLastRunState != SyncState::Fault)
        return;
    RunDialogs::warnDataNotCopied(this, mBackupFailed, mDataFailures);
    if (mRunDeviceType == Device::DeviceTypeUsbMassStorage && mDeviceList->DeviceIsConnected())
        RunDialogs::remindToEject(this, mRunDeviceId);
}
