#include "library/PodcastRamCache.h"

#include "app/LogScope.h"
#include "library/LocalMusicLibrary.h"

#include <QMutexLocker>

PodcastRamCache::PodcastRamCache(std::shared_ptr<itunes::Backend> aBackend, QObject* aParent)
    : QObject(aParent), mBackend(std::move(aBackend)),
      mThread(makeThread(QStringLiteral("PodcastRamCache"), [this] { run(); }))
{
}

PodcastRamCache::~PodcastRamCache() = default;

void PodcastRamCache::start()
{
    mThread->start();
}

bool PodcastRamCache::isReading() const
{
    return mThread->isRunning();
}

void PodcastRamCache::podcasts(QStringList& aNames) const
{
    QMutexLocker lock(&mMutex);
    aNames = mPodcastNames;
}

void PodcastRamCache::run()
{
    LogScope log("PodcastRamCache::run");
    if (!mBackend) {
        logMessage("! No library to read the podcast names from");
        emit updated();
        return;
    }
    // Its calls give up at once when the owner stops this thread.
    LocalMusicLibrary library(mBackend);
    library.refreshPodcasts();
    if (stopRequested())
        return;
    {
        QMutexLocker lock(&mMutex);
        mPodcastNames = library.podcasts();
    }
    emit updated();
}
