#pragma once

#include "backends/Backends.h"
#include "sync/SyncFrontEnd.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>

class AutoRefresher;
class DeviceList;
class LocalMusicLibrary;
class PodcastRamCache;
class QCheckBox;
class QLabel;
class QMessageBox;
class QProgressBar;
class QPushButton;
class SoftwareUpdateWatcher;
class SpaceGauge;
class SyncRun;
class SyncSettings;
class Track;

// The program's window: what is happening (waiting for iTunes, no phone, phone ready, each step
// of a synchronisation, done, cancelled), the phone's space or the run's progress, and the
// Settings, Help and Synchronize buttons with the full-resynchronisation box. Owns the device
// list, the library, the auto-refresher, the update watcher and the current run; is the run's
// front end (its questions are answered here, on the GUI thread, while the run waits). States
// are the engine's and the auto-refresher's (SyncState).
class SyncUi : public QWidget, public SyncFrontEnd
{
    Q_OBJECT

public:
    explicit SyncUi(Backends aBackends, QWidget* aParent = nullptr);
    ~SyncUi() override;

    int state() const { return mState; }
    // Where the update announcement is fetched (the vendor's site unless a test says otherwise).
    void setUpdateAddress(const QString& aAddress) { mUpdateAddress = aAddress; }

    // What tests look at.
    QLabel* statusLabel() const { return mStatus; }
    QLabel* detailLabel() const { return mDetail; }
    QProgressBar* progressBar() const { return mProgress; }
    SpaceGauge* spaceGauge() const { return mGauge; }
    QPushButton* settingsButton() const { return mSettingsButton; }
    QPushButton* helpButton() const { return mHelpButton; }
    QPushButton* syncButton() const { return mSyncButton; }
    QCheckBox* forceBox() const { return mForce; }
    DeviceList& deviceList() { return *mDeviceList; }
    LocalMusicLibrary& library() { return *mLibrary; }
    PodcastRamCache& podcastNames() { return *mPodcasts; }
    SoftwareUpdateWatcher& updateWatcher() { return *mUpdateWatcher; }
    bool runInProgress() const;
    // The state the last run ended in (2, 3, 6, ...); -1 while a run goes on or before the first.
    int lastRunState() const { return mLastRunState; }

    // The run's front end.
    bool ConfirmDeleteTracks(const TrackList& aTracksToDelete) override;
    void displayDrmTracksWarning(const TrackList& aDrmTracks) override;
    void displayTracksNotDownloadedWarning(const TrackList& aNotDownloaded) override;
    bool notEnoughSpace(qint64 aAdditionalSpaceRequired) override;
    void syncFinished(const MusicSync& aSync) override;

public slots:
    void UpdateProgress(int a_state, int a_percent_complete) override;
    void UpdateProgress(int a_state, int a_percent_complete, const QString& aTrackName) override;
    void startSync();
    void changeSettings(int aMode = 0);
    void onHelpClicked();
    void helpLinkClicked(const QString& aLink);
    void iTunesStarted();
    void iTunesFailure();
    void iTunesOkay();
    void waitExpired();
    void softwareUpdateInfoFound();
    void unableToOpenDevice(int aReason);
    void podcastNamesUpdated();

protected:
    void closeEvent(QCloseEvent* aEvent) override;

private:
    // The widgets, texts, bar and buttons of a state (the table of states).
    void applyState(int aState, int aPrevious);
    void setBusy();
    void SetRegularButtons();
    void SetSyncingButtons();
    // The connected device's identity, or empty.
    QString connectedDeviceId();
    // What the run left undone, shown once it has ended.
    void showPostRunWarnings();
    void showUsbEjectReminder();
    // While the library isn't there: what is wrong and how to mend it.
    void explainMissingLibrary();
    void bringToFront();
    void fitTexts();

    Backends mBackends;
    QTimer mWaitTimer;
    std::unique_ptr<DeviceList> mDeviceList;
    std::unique_ptr<SyncSettings> mSettings;
    std::unique_ptr<LocalMusicLibrary> mLibrary;
    std::unique_ptr<PodcastRamCache> mPodcasts;
    int mState = -1;
    std::unique_ptr<AutoRefresher> mAutoRefresher;
    std::unique_ptr<SoftwareUpdateWatcher> mUpdateWatcher;
    QMessageBox* mITunesBox = nullptr;
    std::unique_ptr<SyncRun> mRun;
    bool mShutdownRequested = false;
    int mITunesFailures = 0;
    bool mDeviceErrorShown = false;
    bool mNotDownloadedPending = false;
    QString mUpdateAddress;

    // What the last run left undone, taken when it ended.
    QList<Track> mNonCopied;
    QList<int> mNonCopiedErrors;
    QStringList mNonCopiedReasons;
    QList<Track> mNotDownloaded;
    QStringList mMissingPlaylists;
    QString mFailureReason;
    int mLastError = 0;
    bool mBackupFailed = false;
    QStringList mDataFailures; // what of another phone's data the last run could not carry
    bool mRunEnded = false;
    int mLastRunState = -1;
    QString mRunDeviceId; // the device of the current or last run
    int mRunDeviceType = 0;

    QLabel* mStatus;
    QLabel* mDetail;
    QProgressBar* mProgress;
    SpaceGauge* mGauge;
    QPushButton* mSettingsButton;
    QPushButton* mHelpButton;
    QPushButton* mSyncButton;
    QCheckBox* mForce;
};
