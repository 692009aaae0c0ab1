#pragma once

#include <QStringList>
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
// used and free space.
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
    QLabel* mInformation;
};
