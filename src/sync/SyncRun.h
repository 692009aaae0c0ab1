#pragma once

#include "sync/BlockingQuestion.h"
#include "sync/KeepAwake.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class Device;
class DeviceParent;
class LocalMusicLibrary;
class MusicSync;
class SyncFrontEnd;

// One synchronisation as a front end drives it: owns the MusicSync of the run and joins it to
// the front end, so that every front end gets the run's reports and questions the same way, on
// the thread that made this object. Progress arrives queued; each question makes the run wait
// until the front end has answered, unless the run is cancelled or destroyed meanwhile (the run
// then takes "don't delete" and "don't go on"). Destroying a SyncRun cancels the run and waits
// for its thread; the front end must outlive it.
class SyncRun : public QObject
{
    Q_OBJECT

public:
    SyncRun(LocalMusicLibrary& aLibrary, Device& aDevice, DeviceParent* aParent, SyncFrontEnd& aFrontEnd,
            KeepAwake::Factory aKeepAwake, QObject* aQObjectParent = nullptr);
    ~SyncRun() override;

    void start(bool aForceFullResync);
    // Any thread. The run stops at its next check; a question on screen no longer holds it.
    void cancel();
    bool isRunning() const;
    // The run waits for the front end's answer to a question.
    bool isWaitingForAnswer() const { return mQuestions.waiting(); }
    // Waits for the run's thread, at most aMilliseconds; true when it has ended.
    bool wait(unsigned long aMilliseconds);

    MusicSync& sync() { return *mSync; }
    const MusicSync& sync() const { return *mSync; }

signals:
    // After the front end's syncFinished.
    void finished();

private:
    void askConfirmDeleteTracks();
    void askDrmTracksFound();
    void askTracksNotDownloaded();
    void askNotEnoughSpace(qint64 aAdditionalSpaceRequired);
    // A warning the run waits for the front end to have shown.
    void tell(const std::function<void(SyncFrontEnd&)>& aWarning);
    void onThreadFinished();
    // Reports travel in order through one queue that the front end's thread empties on a timer
    // (and before each question and the end): thousands of tracks would otherwise wake it
    // thousands of times.
    void queueProgress(int aState, int aPercent, const QString& aText, bool aWithText);
    void deliverProgress();

    struct Progress
    {
        int state;
        int percent;
        QString text;
        bool withText;
    };

    SyncFrontEnd& mFrontEnd;
    QMutex mProgressMutex;
    std::vector<Progress> mProgress;
    QTimer mDelivery;
    BlockingQuestion mQuestions;
    std::unique_ptr<MusicSync> mSync;
};
