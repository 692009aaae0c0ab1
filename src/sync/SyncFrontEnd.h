#pragma once

#include <QString>
#include <QtGlobal>

class MusicSync;
class TrackList;

// What a front end (the window, veltrane-sync) does for a synchronisation: it shows the run's
// states and progress, answers the questions that need the user, and shows what the run could
// not do once it has ended. SyncRun calls every operation on the front end's own thread, in the
// order the run reported; while a question is being answered the run waits for it. A run that
// is cancelled or destroyed meanwhile no longer waits: the answer is then dropped, so an
// implementation must not assume the run still exists after it returns.
class SyncFrontEnd
{
public:
    virtual ~SyncFrontEnd() = default;

    // A state number (2 complete, 3 fault, 6 cancelled, 9 to 17 the steps) and the percentage.
    virtual void UpdateProgress(int aState, int aPercentComplete) = 0;
    // The same with a text: a track name, an album label or a file name.
    virtual void UpdateProgress(int aState, int aPercentComplete, const QString& aTrackName) = 0;

    // These tracks are on the device but no longer chosen: true deletes them, false ends the run
    // cancelled without deleting or copying anything.
    virtual bool ConfirmDeleteTracks(const TrackList& aTracksToDelete) = 0;
    // Protected tracks found by the scan: they are not copied.
    virtual void displayDrmTracksWarning(const TrackList& aDrmTracks) = 0;
    // Tracks whose files are not on this computer: they are not copied.
    virtual void displayTracksNotDownloadedWarning(const TrackList& aNotDownloaded) = 0;
    // The chosen tracks need aAdditionalSpaceRequired bytes more than the device has free: true
    // synchronises anyway, false cancels the run.
    virtual bool notEnoughSpace(qint64 aAdditionalSpaceRequired) = 0;

    // The run's thread has ended; its result lists (tracks not copied, not deleted) are final.
    virtual void syncFinished(const MusicSync& aSync) = 0;
};
