#pragma once

#include "app/OwnedThread.h"
#include "backends/Backends.h"
#include "library/MissingFiles.h"
#include "sync/SyncFrontEnd.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class AutoRefresher;
class DeviceList;
class LibraryChooser;
class LibraryStartup;
class LocalMusicLibrary;
class PodcastRamCache;
class QCheckBox;
class QLabel;
class QMessageBox;
class QProgressBar;
class QPushButton;
class SoftwareUpdateWatcher;
class SpaceGauge;
class StatusPanel;
class SyncRun;
class Track;

// The program's window: what is happening (waiting for the library, no phone, phone ready, each
// step of a synchronisation, done, cancelled), the phone's space or the run's progress, and the
// Settings, Help and Synchronize buttons with the full-resynchronisation box (StatusPanel).
// Owns the device list, the library and its podcast names, the auto-refresher, the update
// watcher and the current run, and is the run's front end: its questions are answered here
// (RunDialogs), on the GUI thread, while the run waits. States are SyncState's.
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
    QLabel* statusLabel() const;
    QLabel* detailLabel() const;
    QProgressBar* progressBar() const;
    SpaceGauge* spaceGauge() const;
    QPushButton* settingsButton() const;
    QPushButton* helpButton() const;
    QPushButton* syncButton() const;
    QPushButton* chooseLibraryButton() const;
    QLabel* noteLabel() const;
    QCheckBox* forceBox() const;
    DeviceList& deviceList() { return *mDeviceList; }
    LocalMusicLibrary& library() { return *mLibrary; }
    PodcastRamCache& podcastNames() { return *mPodcasts; }
    SoftwareUpdateWatcher& updateWatcher() { return *mUpdateWatcher; }
    bool runInProgress() const;
    LibraryChooser& libraryChooser() { return *mChooser; }
    // Maps the prefix of another computer's drive, share or folder to a folder here (as
    // veltrane-sync's --map-path does) and looks at the library's files again.
    bool mapLibraryPrefix(const QString& aPrefix, const QString& aFolder);
    // What the last look at the library's files found (after the start, a mapping, a run).
    const MissingFiles& missingFiles() const { return mMissing; }
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
    void softwareUpdateInfoFound();
    void unableToOpenDevice(int aReason);

protected:
    void closeEvent(QCloseEvent* aEvent) override;

private:
    // The start: the library is read, then its podcast names.
    void libraryRead();
    void startupFinished();
    // While the library isn't there: what is wrong and how to mend it.
    void explainMissingLibrary(const QString& aProblem);
    void libraryRefused(const QString& aPath, const QString& aReason);
    // Looks, on a thread of its own, at which of the library's files are not here.
    void lookForMissingFiles();
    void showMissingFiles(const MissingFiles& aMissing);
    // The folder dialog for a prefix of another computer.
    void chooseMappedFolder(const QString& aPrefix);
    void cancelRun();
    // The connected device's identity, or empty.
    QString connectedDeviceId();
    // The device the run's questions are about.
    QString runDeviceId();
    // What the run left undone, shown once it has ended.
    void showPostRunWarnings();
    void bringToFront();

    Backends mBackends;
    std::unique_ptr<DeviceList> mDeviceList;
    std::unique_ptr<LocalMusicLibrary> mLibrary;
    std::unique_ptr<PodcastRamCache> mPodcasts;
    int mState = -1;
    std::unique_ptr<AutoRefresher> mAutoRefresher;
    std::unique_ptr<SoftwareUpdateWatcher> mUpdateWatcher;
    StatusPanel* mPanel;
    LibraryStartup* mStartup;
    LibraryChooser* mChooser;
    std::unique_ptr<SyncRun> mRun;
    bool mRunForced = false;
    bool mStartupFinished = false;
    MissingFiles mMissing;
    bool mShutdownRequested = false;
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
    int mLastRunState = -1;
    QString mRunDeviceId; // the device of the current or last run
    int mRunDeviceType = 0;
    OwnedThread mMissingScan; // last: joined before what it uses goes
};
