#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class SpaceGauge;

// The main window's widgets: the status and detail texts, the progress bar or the space gauge,
// the Settings, Help and Synchronize buttons (Synchronize turns into Cancel while a run goes on),
// the full-resynchronisation box, the button that chooses the library file while there is none,
// and a line about library files that are not on this computer. Shows what each state
// (SyncState) shows. Only the GUI thread uses it.
class StatusPanel : public QWidget
{
    Q_OBJECT

public:
    explicit StatusPanel(QWidget* aParent = nullptr);

    // Shows aState's texts, bar and buttons, aPrevious being the state shown until now. The
    // ready state names aDeviceName; a fault says aFailureReason (or that an error stopped it).
    void showState(int aState, int aPrevious, const QString& aDeviceName, const QString& aFailureReason);
    // While a run goes on, its button cancels it.
    void setRunning(bool aRunning);
    // The bar's percentage while tracks are copied (0 starts the bar again).
    void showPercent(int aPercent);
    void setStatus(const QString& aText);
    void setDetail(const QString& aText);
    // The library can't be read: the button that chooses its file is shown with aProblem.
    void showWaitingForLibrary(const QString& aProblem);
    // A line below the buttons (rich text; its links go out through linkActivated); empty: none.
    void setNote(const QString& aText);
    // The bar as a moving indicator.
    void setBusy();
    // The three buttons on (Settings, Help, Synchronize), or all off.
    void setButtonsEnabled(bool aEnabled);
    // The window takes the height its texts need; only a change of that height costs a layout.
    void fitTexts();

    QLabel* statusLabel() const { return mStatus; }
    QLabel* detailLabel() const { return mDetail; }
    QLabel* noteLabel() const { return mNote; }
    QProgressBar* progressBar() const { return mProgress; }
    SpaceGauge* spaceGauge() const { return mGauge; }
    QPushButton* settingsButton() const { return mSettingsButton; }
    QPushButton* helpButton() const { return mHelpButton; }
    QPushButton* syncButton() const { return mSyncButton; }
    QPushButton* chooseLibraryButton() const { return mChooseLibrary; }
    QCheckBox* forceBox() const { return mForce; }

signals:
    void settingsClicked();
    void helpClicked();
    void syncClicked();
    void cancelClicked();
    void chooseLibraryClicked();
    // A link in a text was activated (web and guide links open by themselves).
    void linkActivated(const QString& aLink);

private:
    QLabel* mStatus;
    QLabel* mDetail;
    QLabel* mNote;
    QProgressBar* mProgress;
    SpaceGauge* mGauge;
    QPushButton* mChooseLibrary;
    QPushButton* mSettingsButton;
    QPushButton* mHelpButton;
    QPushButton* mSyncButton;
    QCheckBox* mForce;
    bool mRunning = false;
};
