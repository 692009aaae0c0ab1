#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class SpaceGauge;

// The main window's widgets: the status and detail texts, the progress bar or the space gauge,
// the Settings, Help and Synchronize buttons and the full-resynchronisation box; and what each
// state (SyncState) shows on them. Only the GUI thread uses it.
class StatusPanel : public QWidget
{
    Q_OBJECT

public:
    explicit StatusPanel(QWidget* aParent = nullptr);

    // Shows aState's texts, bar and buttons, aPrevious being the state shown until now. The
    // ready state names aDeviceName; a fault says aFailureReason (or that an error stopped it).
    void showState(int aState, int aPrevious, const QString& aDeviceName, const QString& aFailureReason);
    // The bar's percentage while tracks are copied (0 starts the bar again).
    void showPercent(int aPercent);
    void setStatus(const QString& aText);
    void setDetail(const QString& aText);
    // The bar as a moving indicator.
    void setBusy();
    // The three buttons on (Settings, Help, Synchronize), or all off.
    void setButtonsEnabled(bool aEnabled);
    // The window takes the height its texts need; only a change of that height costs a layout.
    void fitTexts();

    QLabel* statusLabel() const { return mStatus; }
    QLabel* detailLabel() const { return mDetail; }
    QProgressBar* progressBar() const { return mProgress; }
    SpaceGauge* spaceGauge() const { return mGauge; }
    QPushButton* settingsButton() const { return mSettingsButton; }
    QPushButton* helpButton() const { return mHelpButton; }
    QPushButton* syncButton() const { return mSyncButton; }
    QCheckBox* forceBox() const { return mForce; }

signals:
    void settingsClicked();
    void helpClicked();
    void syncClicked();
    // A link in either text was activated (the detail text opens web links itself).
    void linkActivated(const QString& aLink);

private:
    QLabel* mStatus;
    QLabel* mDetail;
    QProgressBar* mProgress;
    SpaceGauge* mGauge;
    QPushButton* mSettingsButton;
    QPushButton* mHelpButton;
    QPushButton* mSyncButton;
    QCheckBox* mForce;
};
