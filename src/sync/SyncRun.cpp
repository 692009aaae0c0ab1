#include "sync/SyncRun.h"

#include "app/LogScope.h"
#include "sync/MusicSync.h"
#include "sync/SyncFrontEnd.h"
#include "tracks/TrackList.h"

SyncRun::SyncRun(LocalMusicLibrary& aLibrary, Device& aDevice, DeviceParent* aParent, SyncFrontEnd& aFrontEnd,
                 KeepAwake::Factory aKeepAwake, QObject* aQObjectParent)
    : QObject(aQObjectParent), mFrontEnd(aFrontEnd),
      mSync(std::make_unique<MusicSync>(&aLibrary, &aDevice, aParent))
{
    mSync->setKeepAwake(std::move(aKeepAwake));
    mDelivery.setInterval(20);
    connect(&mDelivery, &QTimer::timeout, this, &SyncRun::deliverProgress);
    // Reports are taken on the run's thread and delivered on this one, in the order the run made
    // them.
    connect(
        mSync.get(), qOverload<int, int>(&MusicSync::ProgressUpdate), this,
        [this](int aState, int aPercent) { queueProgress(aState, aPercent, QString(), false); },
        Qt::DirectConnection);
    connect(
        mSync.get(), qOverload<int, int, const QString&>(&MusicSync::ProgressUpdate), this,
        [this](int aState, int aPercent, const QString& aText) {
            queueProgress(aState, aPercent, aText, true);
        },
        Qt::DirectConnection);
    // The questions are taken on the run's thread, which then waits for the front end's answer.
    connect(mSync.get(), &MusicSync::ConfirmDeleteTracks, this, &SyncRun::askConfirmDeleteTracks,
            Qt::DirectConnection);
    connect(mSync.get(), &MusicSync::DrmTracksFound, this, &SyncRun::askDrmTracksFound, Qt::DirectConnection);
    connect(mSync.get(), &MusicSync::TracksNotDownloaded, this, &SyncRun::askTracksNotDownloaded,
            Qt::DirectConnection);
    connect(mSync.get(), &MusicSync::notEnoughSpace, this, &SyncRun::askNotEnoughSpace, Qt::DirectConnection);
    connect(mSync.get(), &MusicSync::finished, this, &SyncRun::onThreadFinished, Qt::QueuedConnection);
}

SyncRun::~SyncRun()
{
    LogScope log("SyncRun::~SyncRun");
    cancel();
    mSync->wait();
}

void SyncRun::start(bool aForceFullResync)
{
    mDelivery.start();
    mSync->StartInNewThread(aForceFullResync);
}

void SyncRun::cancel()
{
    mSync->Cancel();
    mQuestions.abandon();
}

bool SyncRun::isRunning() const
{
    return mSync->isRunning();
}

bool SyncRun::wait(unsigned long aMilliseconds)
{
    return mSync->wait(aMilliseconds);
}

// The questions copy what they show: the run's own lists may be gone when the answer comes. Each
// delivers the reports made before it first.

void SyncRun::askConfirmDeleteTracks()
{
    SyncFrontEnd* frontEnd = &mFrontEnd;
    const TrackList tracks = mSync->TracksToDelete();
    const std::optional<bool> answer = mQuestions.ask<bool>([this, frontEnd, tracks] {
        deliverProgress(); // this run is alive until the question is asked, not after
        return frontEnd->ConfirmDeleteTracks(tracks);
    });
    mSync->setDeleteConfirmed(answer.value_or(false));
}

void SyncRun::askDrmTracksFound()
{
    const TrackList tracks = mSync->GetDrmTracks();
    tell([tracks](SyncFrontEnd& aFrontEnd) { aFrontEnd.displayDrmTracksWarning(tracks); });
}

void SyncRun::askTracksNotDownloaded()
{
    const TrackList tracks = mSync->GetNotDownloadedTracks();
    tell([tracks](SyncFrontEnd& aFrontEnd) { aFrontEnd.displayTracksNotDownloadedWarning(tracks); });
}

void SyncRun::tell(const std::function<void(SyncFrontEnd&)>& aWarning)
{
    SyncFrontEnd* frontEnd = &mFrontEnd;
    mQuestions.ask<bool>([this, frontEnd, aWarning] {
        deliverProgress();
        aWarning(*frontEnd);
        return true;
    });
}

void SyncRun::askNotEnoughSpace(qint64 aAdditionalSpaceRequired)
{
    SyncFrontEnd* frontEnd = &mFrontEnd;
    const std::optional<bool> goOn = mQuestions.ask<bool>([this, frontEnd, aAdditionalSpaceRequired] {
        deliverProgress();
        return frontEnd->notEnoughSpace(aAdditionalSpaceRequired);
    });
    if (!goOn.value_or(false))
        mSync->Cancel();
}

void SyncRun::queueProgress(int aState, int aPercent, const QString& aText, bool aWithText)
{
    QMutexLocker lock(&mProgressMutex);
    mProgress.push_back({aState, aPercent, aText, aWithText});
}

void SyncRun::deliverProgress()
{
    std::vector<Progress> reports;
    {
        QMutexLocker lock(&mProgressMutex);
        reports.swap(mProgress);
    }
    for (const Progress& report : reports) {
        if (report.withText)
            mFrontEnd.UpdateProgress(report.state, report.percent, report.text);
        else
            mFrontEnd.UpdateProgress(report.state, report.percent);
    }
}

void SyncRun::onThreadFinished()
{
    mDelivery.stop();
    deliverProgress(); // every report before the end
    mFrontEnd.syncFinished(*mSync);
    emit finished();
}
