#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class Track;

// Lists tracks a run could not copy (kinds 0 to 2), protected tracks (4) or tracks not
// downloaded in iTunes (5), with a link to help and, except for kind 5, a "Do not show this
// warning again" box the caller reads after exec.
class SyncWarningDialog : public QDialog
{
    Q_OBJECT

public:
    enum Kind
    {
        CopyFailedFolder = 0, // the run's last error was a folder that could not be made
        CopyFailed = 1,
        CopyFailedOther = 2,
        NoText = 3,
        CopyProtected = 4,
        NotDownloaded = 5,
    };

    // aErrors and aReasons, when given, say per track why it was not copied (the engine's code
    // and words); a missing file is then named with its path.
    SyncWarningDialog(QWidget* aParent, const QList<Track>& aTracks, int aKind,
                      const QList<int>& aErrors = {}, const QStringList& aReasons = {});

    bool doNotShowAgain() const { return mDoNotShowAgain; }
    // The text a track's line reads.
    static QString itemText(const Track& aTrack, int aError, const QString& aReason);

private slots:
    void dontShowAgainStateChanged(int aNewState);
    void linkActivated(const QString& aLink);

private:
    bool mDoNotShowAgain = false;
};
