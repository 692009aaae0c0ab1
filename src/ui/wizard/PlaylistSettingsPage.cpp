#include "ui/wizard/PlaylistSettingsPage.h"

#include "app/LogScope.h"
#include "devices/Device.h"
#include "devices/DeviceList.h"
#include "devices/SpaceCalculator.h"
#include "library/LocalMusicLibrary.h"
#include "library/PodcastRamCache.h"
#include "library/SelectionSize.h"
#include "ui/SpaceGauge.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The list and the combo box sit 40 pixels in from the radio buttons.
QHBoxLayout* indented(QWidget* aWidget)
{
    auto* row = new QHBoxLayout;
    row->addSpacing(40);
    row->addWidget(aWidget);
    return row;
}

} // namespace

PlaylistSettingsPage::PlaylistSettingsPage(LocalMusicLibrary& aLibrary, DeviceList& aDeviceList,
                                           const PodcastRamCache& aPodcastNames, bool aPodcasts,
                                           QWidget* aParent)
    : QWizardPage(aParent), mLibrary(aLibrary), mDeviceList(aDeviceList), mPodcastNames(aPodcastNames),
      mPodcasts(aPodcasts)
{
    setTitle(tr("Phone Setup"));
    auto* layout = new QVBoxLayout(this);
    if (mPodcasts) {
        mNone = new QRadioButton(tr("Do not copy podcasts to phone"));
        mAll = new QRadioButton(tr("Copy all podcasts to the phone"));
        mSelected = new QRadioButton(tr("Copy selected podcasts to the phone"));
        layout->addWidget(mNone);
        layout->addWidget(mAll);
        layout->addWidget(mSelected);
    } else {
        mAll = new QRadioButton(tr("Copy the complete music library to the phone"));
        mSelected = new QRadioButton(tr("Copy the contents of an existing iTunes playlist to the phone"));
        mNone = new QRadioButton(tr("Do not copy music to the phone"));
        mAll->setChecked(true);
        layout->addWidget(mAll);
        layout->addWidget(mSelected);
        layout->addWidget(mNone);
    }
    mList = new QListWidget;
    mList->setEnabled(false);
    layout->addLayout(indented(mList));
    if (mPodcasts) {
        layout->addWidget(new QLabel(tr("Episode options:")));
        mEpisodes = new QComboBox;
        mEpisodes->addItem(tr("Sync all episodes"));
        mEpisodes->addItem(tr("Sync most recent episode only"));
        for (int i = 2; i <= 10; ++i)
            mEpisodes->addItem(tr("Sync most recent %n episode(s) only", nullptr, i));
        layout->addLayout(indented(mEpisodes));
    }
    layout->addWidget(new QLabel(tr("Used and available space on your phone:")));
    mGauge = new SpaceGauge(true);
    layout->addWidget(mGauge);
    mNeeds = new QLabel;
    mNeeds->setWordWrap(true);
    layout->addWidget(mNeeds);
    mSizing.setSingleShot(true);
    mSizing.setInterval(200);
    connect(&mSizing, &QTimer::timeout, this, &PlaylistSettingsPage::sizeChoice);
    mInformation = new QLabel;
    mInformation->setWordWrap(true);
    mInformation->setOpenExternalLinks(true);
    layout->addWidget(mInformation);

    connect(mSelected, &QRadioButton::toggled, this, [this](bool aChecked) {
        mList->setEnabled(aChecked);
        mList->clearSelection();
    });
    connect(mAll, &QRadioButton::toggled, this, &PlaylistSettingsPage::updated);
    connect(mSelected, &QRadioButton::toggled, this, &PlaylistSettingsPage::updated);
    connect(mList, &QListWidget::itemSelectionChanged, this, &PlaylistSettingsPage::updated);
    connect(mList, &QListWidget::itemClicked, this, &PlaylistSettingsPage::playlistItemChanged);
    connect(mList, &QListWidget::itemChanged, this, &PlaylistSettingsPage::updated);

    mLibrary.listenForITunesEvents();
    connect(&mLibrary, &LocalMusicLibrary::localLibraryEvent, this, &PlaylistSettingsPage::playlistsUpdated);
    if (!mPodcasts)
        mLibrary.refreshPlaylists();
    refill();
    updated();
}

QStringList PlaylistSettingsPage::names() const
{
    if (!mPodcasts)
        return mLibrary.playlists(true);
    QStringList podcasts;
    mPodcastNames.podcasts(podcasts);
    return podcasts;
}

void PlaylistSettingsPage::refill()
{
    const QStringList chosen = playlistNames();
    const int mode = podcastSyncSettings();
    const int episodeIndex = episodes();
    const bool entire = entireLibrary();
    const QSignalBlocker blocker(mList);
    mList->clear();
    for (const QString& name : names()) {
        auto* item = new QListWidgetItem(name, mList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (mPodcasts)
        setPodcastSettings(mode, chosen, episodeIndex);
    else if (!chosen.isEmpty() || !entire)
        setPlaylistSettings(entire, chosen);
}

void PlaylistSettingsPage::playlistsUpdated()
{
    if (mPodcasts || mLibrary.refreshPlaylists())
        refill();
}

QStringList PlaylistSettingsPage::playlistNames() const
{
    QStringList checked;
    for (int i = 0; i < mList->count(); ++i) {
        if (mList->item(i)->checkState() == Qt::Checked)
            checked.append(mList->item(i)->text());
    }
    return checked;
}

int PlaylistSettingsPage::podcastSyncSettings() const
{
    if (mAll->isChecked())
        return 1;
    return mSelected->isChecked() ? 2 : 0;
}

int PlaylistSettingsPage::episodes() const
{
    return mEpisodes ? mEpisodes->currentIndex() : 0;
}

bool PlaylistSettingsPage::entireLibrary() const
{
    return mAll->isChecked();
}

void PlaylistSettingsPage::setPlaylistSettings(bool aSyncEntireLibrary, const QStringList& aNames)
{
    if (aSyncEntireLibrary) {
        mAll->click();
        return;
    }
    if (aNames.isEmpty()) {
        mNone->click();
        return;
    }
    checkNames(aNames);
    updated();
}

void PlaylistSettingsPage::setPodcastSettings(int aMode, const QStringList& aNames, int aEpisodes)
{
    if (mEpisodes && aEpisodes >= 0 && aEpisodes < mEpisodes->count())
        mEpisodes->setCurrentIndex(aEpisodes);
    if (aMode == 1) {
        mAll->click();
    } else if (aMode == 0) {
        mNone->click();
    } else {
        checkNames(aNames);
    }
    updated();
}

void PlaylistSettingsPage::checkNames(const QStringList& aNames)
{
    // A saved name the library no longer has is dropped: only existing items can be checked.
    for (int i = 0; i < mList->count(); ++i) {
        QListWidgetItem* item = mList->item(i);
        if (aNames.contains(item->text())) {
            if (!mSelected->isChecked())
                mSelected->click();
            mList->setCurrentRow(i);
            item->setCheckState(Qt::Checked);
        } else {
            item->setCheckState(Qt::Unchecked);
        }
    }
}

void PlaylistSettingsPage::playlistItemChanged(QListWidgetItem*)
{
    updated();
}

void PlaylistSettingsPage::updated()
{
    if (mAll->isChecked()) {
        logMessage(mPodcasts ? "Copy all podcasts" : "Copy entire library...");
        mComplete = true;
    } else if (mNone->isChecked()) {
        logMessage("Don't copy...");
        mComplete = true;
    } else {
        logMessage("Copy playlist");
        mComplete = !playlistNames().isEmpty();
    }
    if (mPodcasts)
        mComplete = true;
    emit completeChanged();
    updateSpaceGauge();
    mSizing.start();
}

void PlaylistSettingsPage::sizeChoice()
{
    const bool entire = entireLibrary();
    const bool none = mNone->isChecked();
    const int setting = podcastSyncSettings();
    const QStringList names = playlistNames();
    const int episodeCount = episodes();
    mSizer.reset(); // a sizing of an earlier choice is stopped
    mNeededBytes = -1;
    mSizer = makeThread(QStringLiteral("SelectionSize"), [=, backend = mLibrary.backend()] {
        LocalMusicLibrary library(backend);
        const qint64 bytes = none        ? 0
                             : mPodcasts ? SelectionSize::podcasts(library, setting, names, episodeCount)
                                         : SelectionSize::music(library, entire, names);
        if (!stopRequested())
            QMetaObject::invokeMethod(this, [this, bytes] { showNeeded(bytes); });
    });
    mSizer->start();
}

void PlaylistSettingsPage::showNeeded(qint64 aBytes)
{
    mNeededBytes = aBytes;
    const QString size = QLocale().formattedDataSize(aBytes);
    mNeeds->setText(mPodcasts ? tr("The chosen podcasts take %1 on the phone.").arg(size)
                              : tr("The chosen music takes %1 on the phone.").arg(size));
}

bool PlaylistSettingsPage::isComplete() const
{
    return mComplete;
}

void PlaylistSettingsPage::setCurrent(bool aCurrent)
{
    if (!aCurrent)
        return;
    if (mPodcasts) {
        mAll->setEnabled(true);
        mSelected->setEnabled(true);
        mInformation->clear();
    } else {
        playlistsUpdated();
    }
    // Whether Next may go on, for the choice as it stands (a choice made before the page was
    // shown toggles nothing).
    updated();
}

void PlaylistSettingsPage::updateSpaceGauge()
{
    qint64 used = 0;
    qint64 free = 0;
    if (mDeviceList.DeviceIsSelected())
        SpaceCalculator::calculate(*mDeviceList.SelectedDevice(), used, free);
    mGauge->update(used, free);
}
