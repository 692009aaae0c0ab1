#pragma once

#include "app/OwnedThread.h"
#include "library/itunes/ITunesTypeLibrary.h"

#include <QMutex>
#include <QObject>
#include <QStringList>

#include <memory>

// Keeps the podcast names in memory, read on a thread of its own ("PodcastRamCache") with a
// private library object, so the window never waits for iTunes to list them. Held by the window,
// which hands it to the setup wizard. Each start() runs one reading (none while one runs) and
// ends with updated(), emitted on the reading's thread; the names are read after it from any
// thread. Destroying the cache stops a reading that waits for iTunes and joins it.
class PodcastRamCache : public QObject
{
    Q_OBJECT

public:
    // The library behind the names (the program's, from backends/); null finds no names.
    explicit PodcastRamCache(std::shared_ptr<itunes::Backend> aBackend, QObject* aParent = nullptr);
    ~PodcastRamCache() override;

    void start();
    bool isReading() const;
    void podcasts(QStringList& aNames) const;

signals:
    void updated();

private:
    void run();

    mutable QMutex mMutex;
    QStringList mPodcastNames;
    std::shared_ptr<itunes::Backend> mBackend;
    OwnedThread mThread; // last: joined before the members it uses go
};
