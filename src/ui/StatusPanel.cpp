#include "ui/StatusPanel.h"

#include "sync/SyncState.h"
#include "sync/SyncStateTexts.h"
#include "ui/SiteLink.h"
#include "ui/SpaceGauge.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

StatusPanel::StatusPanel(QWidget* aParent) : QWidget(aParent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    mStatus = new QLabel(tr("Please wait while iTunes is started"));
    mStatus->setAlignment(Qt::AlignHCenter);
    mStatus->setWordWrap(true);
    mStatus->setOpenExternalLinks(false);
    layout->addWidget(mStatus);
    mDetail = new QLabel(
        tr("<p>If iTunes is already running then click ") +
        SiteLink::to(QStringLiteral("/blog/files/please_wait_while_itunes_is_started.html"), tr("here")) +
        tr(" </p>"));
    mDetail->setAlignment(Qt::AlignHCenter);
    mDetail->setWordWrap(true);
    mDetail->setOpenExternalLinks(true);
    layout->addWidget(mDetail);
    auto* meters = new QVBoxLayout;
    mProgress = new QProgressBar;
    mProgress->setTextVisible(false);
    mGauge = new SpaceGauge(false);
    mGauge->disable();
    mGauge->hide();
    meters->addWidget(mProgress);
    meters->addWidget(mGauge);
    layout->addLayout(meters);
    auto* buttons = new QHBoxLayout;
    buttons->setAlignment(Qt::AlignHCenter);
    mSettingsButton = new QPushButton(tr("Settings"));
    mHelpButton = new QPushButton(tr("Help"));
    mSyncButton = new QPushButton(tr("Synchronize"));
    mForce = new QCheckBox(tr("Force full resynchronization"));
    mForce->setEnabled(false);
    buttons->addWidget(mSettingsButton);
    buttons->addWidget(mHelpButton);
    buttons->addWidget(mSyncButton);
    buttons->addWidget(mForce);
    layout->addLayout(buttons);

    connect(mStatus, &QLabel::linkActivated, this, &StatusPanel::linkActivated);
    connect(mDetail, &QLabel::linkActivated, this, &StatusPanel::linkActivated);
    connect(mSyncButton, &QPushButton::clicked, this, &StatusPanel::syncClicked);
    connect(mSettingsButton, &QPushButton::clicked, this, &StatusPanel::settingsClicked);
    connect(mHelpButton, &QPushButton::clicked, this, &StatusPanel::helpClicked);
    setBusy();
    setButtonsEnabled(false);
}

void StatusPanel::setBusy()
{
    mProgress->setRange(0, 0);
    mProgress->setValue(0);
}

void StatusPanel::setButtonsEnabled(bool aEnabled)
{
    mSettingsButton->setEnabled(aEnabled);
    mHelpButton->setEnabled(aEnabled);
    mSyncButton->setEnabled(aEnabled);
}

void StatusPanel::setStatus(const QString& aText)
{
    if (mStatus->text() != aText)
        mStatus->setText(aText);
}

void StatusPanel::setDetail(const QString& aText)
{
    if (mDetail->text() != aText)
        mDetail->setText(aText);
}

void StatusPanel::showPercent(int aPercent)
{
    if (mProgress->maximum() != 100)
        mProgress->setRange(0, 100);
    if (aPercent == 0 && mProgress->value() != 0)
        mProgress->reset();
    if (mProgress->value() != aPercent)
        mProgress->setValue(aPercent);
}

void StatusPanel::showState(int aState, int aPrevious, const QString& aDeviceName,
                            const QString& aFailureReason)
{
    if (!SyncState::isBusy(aState)) {
        mProgress->hide();
        mGauge->show();
        const bool noDevice = aState == SyncState::NoPhone || aState == SyncState::SettingsUnreadable;
        if (noDevice)
            mGauge->disable();
        else
            mGauge->enable();
        mForce->setEnabled(!noDevice);
        mProgress->setRange(0, 100);
        mProgress->reset();
        setButtonsEnabled(true);
    } else {
        mProgress->show();
        mGauge->hide();
        mForce->setEnabled(false);
        setBusy();
        setButtonsEnabled(false);
    }
    switch (aState) {
    case SyncState::NoPhone:
        mSyncButton->setEnabled(false);
        break;
    case SyncState::Ready:
        // After a run, its result stays on screen through the first "ready" report.
        if (aPrevious != SyncState::NoPhone && aPrevious != SyncState::Ready)
            return;
        setStatus(SyncStateTexts::status(aState));
        if (!aDeviceName.isEmpty())
            setDetail(aDeviceName);
        return;
    case SyncState::Fault:
        setStatus(SyncStateTexts::status(aState));
        setDetail(aFailureReason.isEmpty() ? SyncStateTexts::detail(aState) : aFailureReason);
        return;
    case SyncState::NotConfigured:
    case SyncState::SettingsUnreadable:
        return; // the setup wizard opens
    default:
        break;
    }
    setStatus(SyncStateTexts::status(aState));
    setDetail(SyncStateTexts::detail(aState));
}

void StatusPanel::fitTexts()
{
    QWidget* top = window();
    if (mDetail->heightForWidth(mDetail->width()) != mDetail->height() ||
        mStatus->heightForWidth(mStatus->width()) != mStatus->height())
        top->adjustSize();
}
