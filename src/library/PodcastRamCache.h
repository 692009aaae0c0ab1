#pragma once

#include "library/itunes/ITunesTypeLibrary.h"

#include <QMutex>
#include <QStringList>
#include <QThread>

#include <memory>

class LocalMusicLibrary;

// Keeps the podcast names in memory, read on its own thread with a private library object, so
// the window never waits for iTunes to list them. One instance for the program; each start()
// runs one reading and ends with updated().
class PodcastRamCache : public QThread
{
    Q_OBJECT

public:
    static PodcastRamCache& instance();
    ~PodcastRamCache() override;

    // The library behind the names (the program's, from backends/). Set before start(); a
    // reading without one finds no names.
    void setBackend(std::shared_ptr<itunes::Backend> aBackend);
    void podcasts(QStringList& aNames) const;
    // Ends a reading that is waiting for iTunes; for shutdown.
    void stop();

signals:
    void updated();

protected:
    void run() override;

private:
    PodcastRamCache() = default;

    mutable QMutex mMutex;
    QStringList mPodcastNames;
    std::shared_ptr<itunes::Backend> mBackend;
    LocalMusicLibrary* mRunningLibrary = nullptr;
    bool mStopRequested = false;
};
