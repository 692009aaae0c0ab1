#pragma once

#include "app/OwnedThread.h"

#include <QStringList>
#include <QTimer>
#include <QWizardPage>

class DeviceList;
class LocalMusicLibrary;
class PodcastRamCache;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QRadioButton;
class SpaceGauge;

// The wizard's choice of music (the whole library, chosen playlists, none) or, on the podcast
// page, of podcasts (none, all, chosen) and how many episodes of each; with the chosen phone's
// used and free space, and how much the choice takes (worked out on a thread of the page's, a
// moment after the choice last changed).
class PlaylistSettingsPage : public QWizardPage
{
    Q_OBJECT

public:
    // The podcast page (aPodcasts) lists the names aPodcastNames holds.
    PlaylistSettingsPage(LocalMusicLibrary& aLibrary, DeviceList& aDeviceList,
                         const PodcastRamCache& aPodcastNames, bool aPodcasts, QWidget* aParent = nullptr);

    bool isComplete() const override;
    bool validatePage() override { return true; }
    // Music, then podcasts, then the data of another phone (7).
    int nextId() const override { return mPodcasts ? 7 : 5; }

    void setCurrent(bool aCurrent);
    // The checked items' names, in list order.
    QStringList playlistNames() const;
    // 1 all, 2 selected, 0 none.
    int podcastSyncSettings() const;
    int episodes() const;
    bool entireLibrary() const;
    void setPlaylistSettings(bool aSyncEntireLibrary, const QStringList& aNames);
    void setPodcastSettings(int aMode, const QStringList& aNames, int aEpisodes);

    QRadioButton* allButton() const { return mAll; }
    QRadioButton* selectedButton() const { return mSelected; }
    QRadioButton* noneButton() const { return mNone; }
    QListWidget* list() const { return mList; }
    QComboBox* episodeBox() const { return mEpisodes; }
    SpaceGauge* gauge() const { return mGauge; }
    QLabel* needsLabel() const { return mNeeds; }
    // The bytes the choice takes, once worked out (-1 before).
    qint64 neededBytes() const { return mNeededBytes; }

public slots:
    void updated();
    void playlistItemChanged(QListWidgetItem* aChangedItem);
    void playlistsUpdated();
    void updateSpaceGauge();

private:
    void refill();
    // Ticks the items named (choosing "selected" when one is), unticks the others.
    void checkNames(const QStringList& aNames);
    QStringList names() const;
    // Works out, on the page's thread, how much the choice as it stands takes.
    void sizeChoice();
    void showNeeded(qint64 aBytes);

    LocalMusicLibrary& mLibrary;
    DeviceList& mDeviceList;
    const PodcastRamCache& mPodcastNames;
    bool mPodcasts;
    bool mComplete = false;
    QRadioButton* mAll;
    QRadioButton* mSelected;
    QRadioButton* mNone;
    QListWidget* mList;
    QComboBox* mEpisodes = nullptr;
    SpaceGauge* mGauge;
    QLabel* mNeeds;
    QLabel* mInformation;
    QTimer mSizing;
    qint64 mNeededBytes = -1;
    OwnedThread mSizer; // last: joined before what it uses goes
};
