#pragma once

#include "sync/SyncFrontEnd.h"

#include <QString>

// veltrane-sync's side of a run: the states and a progress bar on the terminal (a bar that
// redraws one line, or plain lines when the output is no terminal), the questions answered from
// the command's options, and what the run could not do listed at its end.
class ConsoleFrontEnd : public SyncFrontEnd
{
public:
    // aYes: delete tracks no longer chosen, and synchronize even without enough space.
    explicit ConsoleFrontEnd(bool aYes);

    static QString stateText(int aState);

    void UpdateProgress(int aState, int aPercentComplete) override;
    void UpdateProgress(int aState, int aPercentComplete, const QString& aTrackName) override;
    bool ConfirmDeleteTracks(const TrackList& aTracksToDelete) override;
    void displayDrmTracksWarning(const TrackList& aDrmTracks) override;
    void displayTracksNotDownloadedWarning(const TrackList& aNotDownloaded) override;
    bool notEnoughSpace(qint64 aAdditionalSpaceRequired) override;
    void syncFinished(const MusicSync& aSync) override;

private:
    void show(int aState, int aPercent, const QString& aText);
    void endLine();

    bool mYes;
    bool mTerminal;
    int mLastState = -1;
    int mLastPercent = -1;
    bool mLineOpen = false;
};
