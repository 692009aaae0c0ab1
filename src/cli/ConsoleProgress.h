#pragma once

#include <QObject>
#include <QString>

class MusicSync;

// Shows a sync run on the terminal (a progress bar that redraws one line) or, when the output is
// no terminal, as plain lines; answers the run's questions from the command's options. Lives on
// the main thread; the questions arrive as blocking queued calls.
class ConsoleProgress : public QObject
{
    Q_OBJECT

public:
    ConsoleProgress(MusicSync& aSync, bool aYes, QObject* aParent = nullptr);

    static QString stateText(int aState);

public slots:
    void progress(int aState, int aPercent);
    void progressWithText(int aState, int aPercent, const QString& aText);
    void confirmDeleteTracks();
    void drmTracksFound();
    void tracksNotDownloaded();
    void notEnoughSpace(qint64 aAdditionalSpaceRequired);

private:
    void show(int aState, int aPercent, const QString& aText);
    void endLine();

    MusicSync& mSync;
    bool mYes;
    bool mTerminal;
    int mLastState = -1;
    int mLastPercent = -1;
    bool mLineOpen = false;
};
