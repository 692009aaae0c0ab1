#pragma once

#include <QWizardPage>

class DeviceList;
class QCheckBox;
class QRadioButton;

// The wizard's last page: album art for new and for earlier tracks, and whether to synchronise
// now or later.
class ConclusionStartSyncPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit ConclusionStartSyncPage(DeviceList& aDeviceList, QWidget* aParent = nullptr);

    // Enables the album art boxes; the first time, fills them from the chosen phone's settings.
    void prepare();
    bool artForNewTracks() const;
    bool artForEarlierTracks() const;
    bool syncNow() const;

    QCheckBox* newTracksArt() const { return mNewTracksArt; }
    QCheckBox* earlierTracksArt() const { return mEarlierTracksArt; }
    QRadioButton* nowButton() const { return mNow; }
    QRadioButton* laterButton() const { return mLater; }

private:
    DeviceList& mDeviceList;
    QCheckBox* mNewTracksArt;
    QCheckBox* mEarlierTracksArt;
    QRadioButton* mNow;
    QRadioButton* mLater;
    bool mSettingsLoaded = false;
};
