#include "ui/wizard/ConclusionStartSyncPage.h"

#include "devices/Device.h"
#include "devices/DeviceList.h"
#include "settings/SyncSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

ConclusionStartSyncPage::ConclusionStartSyncPage(DeviceList& aDeviceList, QWidget* aParent)
    : QWizardPage(aParent), mDeviceList(aDeviceList)
{
    setTitle(tr("Phone Setup"));
    auto* layout = new QVBoxLayout(this);
    auto* art = new QGroupBox(tr("Album Art"));
    auto* artLayout = new QVBoxLayout(art);
    mNewTracksArt = new QCheckBox(tr("Synchronize album art for newly added tracks"));
    mEarlierTracksArt = new QCheckBox(tr("Synchronize album art for previously added tracks"));
    artLayout->addWidget(mNewTracksArt);
    artLayout->addWidget(mEarlierTracksArt);
    layout->addWidget(art);
    auto* options = new QGroupBox(tr("Synchronization Options"));
    auto* optionsLayout = new QVBoxLayout(options);
    mNow = new QRadioButton(tr("Copy music to the phone now"));
    mLater = new QRadioButton(tr("Copy music to the phone later"));
    mNow->setChecked(true);
    optionsLayout->addWidget(mNow);
    optionsLayout->addWidget(mLater);
    layout->addWidget(options);
    layout->addStretch();
}

void ConclusionStartSyncPage::prepare()
{
    mNewTracksArt->setEnabled(true);
    mEarlierTracksArt->setEnabled(true);
    if (mSettingsLoaded)
        return;
    SyncSettings settings;
    settings.load();
    const QString id =
        mDeviceList.DeviceIsSelected() ? mDeviceList.SelectedDevice()->UniqueDeviceId() : QString();
    mNewTracksArt->setChecked(settings.enableArtworkSync(id));
    mEarlierTracksArt->setChecked(settings.forceArtworkSync(id));
    mSettingsLoaded = true;
}

bool ConclusionStartSyncPage::artForNewTracks() const
{
    return mNewTracksArt->isChecked();
}

bool ConclusionStartSyncPage::artForEarlierTracks() const
{
    return mEarlierTracksArt->isChecked();
}

bool ConclusionStartSyncPage::syncNow() const
{
    return mNow->isChecked();
}
