#pragma once

// The one way a thread is owned here: a unique pointer whose deleter stops and joins the thread.
#include <QString>
#include <QThread>

#include <functional>
#include <memory>

// Stops a thread its owner lets go of: asks it to stop (QThread::requestInterruption, which long
// work polls through stopRequested()), ends its event loop, waits for it, then deletes it.
struct ThreadStopper
{
    void operator()(QThread* aThread) const;
};

// A thread owned by one object: destroying or resetting the pointer stops and joins the thread.
// Declare it after every member its work uses, so that it is joined before they are destroyed.
using OwnedThread = std::unique_ptr<QThread, ThreadStopper>;

// A thread, not yet started, that runs aWork; aName is the thread's name in debuggers and the
// system's thread list. Connect to its signals, then start() it (again once it has finished).
OwnedThread makeThread(const QString& aName, std::function<void()> aWork);
// A started thread that runs only its event loop, for worker objects moved onto it.
OwnedThread startEventLoopThread(const QString& aName);

// True when the owner of the calling thread has asked it to stop; never on the main thread.
inline bool stopRequested()
{
    return QThread::currentThread()->isInterruptionRequested();
}
