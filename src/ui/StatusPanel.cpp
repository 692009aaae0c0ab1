#include "ui/StatusPanel.h"

#include "sync/SyncState.h"
#include "sync/SyncStateTexts.h"
#include "ui/SpaceGauge.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A text whose links the keyboard reaches too (Tab, then Enter).
QLabel* textLabel(bool aOpensLinks)
{
    auto* label = new QLabel;
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(aOpensLinks);
    return label;
}

} // namespace

StatusPanel::StatusPanel(QWidget* aParent) : QWidget(aParent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    mStatus = textLabel(false);
    mStatus->setText(tr("Please wait while the iTunes library is read"));
    layout->addWidget(mStatus);
    mDetail = textLabel(true);
    layout->addWidget(mDetail);
    mChooseLibrary = new QPushButton(tr("&Choose library file..."));
    mChooseLibrary->hide();
    auto* choose = new QHBoxLayout;
    choose->setAlignment(Qt::AlignHCenter);
    choose->addWidget(mChooseLibrary);
    layout->addLayout(choose);
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
    mSettingsButton = new QPushButton(tr("&Settings"));
    mHelpButton = new QPushButton(tr("&Help"));
    mSyncButton = new QPushButton(tr("S&ynchronize"));
    mForce = new QCheckBox(tr("&Force full resynchronization"));
    mForce->setEnabled(false);
    buttons->addWidget(mSettingsButton);
    buttons->addWidget(mHelpButton);
    buttons->addWidget(mSyncButton);
    buttons->addWidget(mForce);
    layout->addLayout(buttons);
    mNote = textLabel(false);
    mNote->hide();
    layout->addWidget(mNote);

    connect(mStatus, &QLabel::linkActivated, this, &StatusPanel::linkActivated);
    connect(mDetail, &QLabel::linkActivated, this, &StatusPanel::linkActivated);
    connect(mNote, &QLabel::linkActivated, this, &StatusPanel::linkActivated);
    connect(mSyncButton, &QPushButton::clicked, this, [this] {
        if (mRunning)
            emit cancelClicked();
        else
            emit syncClicked();
    });
    connect(mChooseLibrary, &QPushButton::clicked, this, &StatusPanel::chooseLibraryClicked);
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
    mSyncButton->setEnabled(aEnabled || mRunning);
}

void StatusPanel::setRunning(bool aRunning)
{
    mRunning = aRunning;
    mSyncButton->setText(aRunning ? tr("&Cancel") : tr("S&ynchronize"));
    mSyncButton->setEnabled(aRunning || mSettingsButton->isEnabled());
}

void StatusPanel::showWaitingForLibrary(const QString& aProblem)
{
    setStatus(tr("Waiting for the iTunes library"));
    setDetail(aProblem);
    mChooseLibrary->show();
    mChooseLibrary->setEnabled(true);
}

void StatusPanel::setNote(const QString& aText)
{
    mNote->setText(aText);
    mNote->setVisible(!aText.isEmpty());
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
    mChooseLibrary->hide();
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
