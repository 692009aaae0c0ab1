#include "library/PodcastRamCache.h"

#include "app/LogScope.h"
#include "library/LocalMusicLibrary.h"

#include <QMutexLocker>

PodcastRamCache& PodcastRamCache::instance()
{
    static PodcastRamCache cache;
    return cache;
}

PodcastRamCache::~PodcastRamCache()
{
    stop();
    wait();
}

void PodcastRamCache::stop()
{
    QMutexLocker lock(&mMutex);
    mStopRequested = true;
    if (mRunningLibrary)
        mRunningLibrary->stopRetrying();
}

void PodcastRamCache::setBackend(std::shared_ptr<itunes::Backend> aBackend)
{
    QMutexLocker lock(&mMutex);
    mBackend = std::move(aBackend);
    mStopRequested = false; // a new reading may run (a stop ended the previous window's)
}

void PodcastRamCache::podcasts(QStringList& aNames) const
{
    QMutexLocker lock(&mMutex);
    aNames = mPodcastNames;
}

void PodcastRamCache::run()
{
    LogScope log("PodcastRamCache::run");
    std::shared_ptr<itunes::Backend> backend;
    {
        QMutexLocker lock(&mMutex);
        backend = mBackend;
    }
    if (!backend) {
        logMessage("! No library to read the podcast names from");
        emit updated();
        return;
    }
    LocalMusicLibrary library(backend);
    {
        QMutexLocker lock(&mMutex);
        if (mStopRequested)
            return;
        mRunningLibrary = &library;
    }
    library.refreshPodcasts();
    {
        QMutexLocker lock(&mMutex);
        mRunningLibrary = nullptr;
        mPodcastNames = library.podcasts();
    }
    emit updated();
}
