#pragma once

#include "settings/SyncSettings.h"

#include <QString>
#include <QWizard>

class BackupPage;
class ConclusionStartSyncPage;
class ConnectDevicePage;
class DeviceList;
class IntroPage;
class LibraryChooser;
class LibraryPage;
class LocalMusicLibrary;
class PlaylistSettingsPage;
class PodcastRamCache;

// The setup wizard: the phone to synchronise, its music, its podcasts, album art, and whether to
// synchronise now. Finishing it gives the phone its identity and writes its entry in the
// settings file; cancelling writes nothing. Mode 0: from the Settings button; 1: a phone that
// isn't configured; 3: the first start (no settings file).
class DeviceWizard : public QWizard
{
    Q_OBJECT

public:
    enum PageId
    {
        IntroPageId = 0,
        LibraryPageId = 1,
        ConnectPageId = 2,
        MusicPageId = 4,
        PodcastPageId = 5,
        BackupPageId = 7,
        ConclusionPageId = 9,
    };

    DeviceWizard(LocalMusicLibrary& aLibrary, DeviceList& aDeviceList, PodcastRamCache& aPodcastNames,
                 QWidget* aParent, int aMode);
    ~DeviceWizard() override;

    bool syncNow() const;

    LibraryPage* libraryPage() const { return mLibraryPage; }
    LibraryChooser& libraryChooser() const { return *mChooser; }
    ConnectDevicePage* connectPage() const { return mConnectPage; }
    PlaylistSettingsPage* musicPage() const { return mMusicPage; }
    PlaylistSettingsPage* podcastPage() const { return mPodcastPage; }
    BackupPage* backupPage() const { return mBackupPage; }
    ConclusionStartSyncPage* conclusionPage() const { return mConclusionPage; }

public slots:
    void pageChanged(int aNewPageId);
    void saveSettings(int aExitReason);
    void showHelp() {}
    void onHelpRequested() {}

private:
    void doPageChanged(int aNewPageId);

    LocalMusicLibrary& mLibrary;
    DeviceList& mDeviceList;
    SyncSettings mSettings;
    QString mShownDeviceId;
    PodcastRamCache& mPodcastNames;
    LibraryChooser* mChooser;
    IntroPage* mIntroPage;
    LibraryPage* mLibraryPage;
    ConnectDevicePage* mConnectPage;
    PlaylistSettingsPage* mMusicPage;
    PlaylistSettingsPage* mPodcastPage;
    BackupPage* mBackupPage;
    ConclusionStartSyncPage* mConclusionPage;
};
