#include "ui/LibraryStartup.h"

#include "app/LogScope.h"
#include "library/LocalMusicLibrary.h"
#include "library/PodcastRamCache.h"

LibraryStartup::LibraryStartup(LocalMusicLibrary& aLibrary, PodcastRamCache& aPodcastNames, QObject* aParent)
    : QObject(aParent), mLibrary(aLibrary), mPodcastNames(aPodcastNames)
{
    mWaitTimer.setSingleShot(true);
    connect(&mWaitTimer, &QTimer::timeout, this, &LibraryStartup::initialise);
    connect(&mLibrary, &LocalMusicLibrary::initialisationComplete, this, [this] {
        LogScope log("SyncUi::iTunesStarted");
        mLibraryRead = true;
        emit libraryRead();
        mPodcastNames.start();
    });
    connect(&mLibrary, &LocalMusicLibrary::iTunesFailure, this, &LibraryStartup::onFailure);
    connect(&mPodcastNames, &PodcastRamCache::updated, this, &LibraryStartup::onPodcastNames);
}

void LibraryStartup::begin()
{
    // Long enough for the window to be painted before the library's thread takes a core; the
    // file is read on that thread, so the window never waits for it (a library of 100,000
    // tracks takes half a second: the first state comes that much sooner than after a longer
    // pause).
    mWaitTimer.start(kPauseBeforeReadingMs);
}

void LibraryStartup::initialise()
{
    LogScope log("SyncUi::waitExpired");
    mLibrary.initialiseInNewThread();
    explainMissingLibrary();
}

void LibraryStartup::explainMissingLibrary()
{
    // The reason the library's own thread met: nothing is read here, on the GUI thread.
    if (mLibraryRead)
        return;
    const QString problem = mLibrary.backend()->lastFailure();
    if (!problem.isEmpty())
        emit waitingForLibrary(problem);
}

void LibraryStartup::onFailure()
{
    // Waiting at start: once a second, say what is missing. There is no iTunes to nag about: the
    // library is a file, and what is wrong with it is said in the window.
    if (mFailures++ % 4 == 0)
        explainMissingLibrary();
}

void LibraryStartup::onPodcastNames()
{
    // Only the first reading finishes the start; later ones serve the wizard.
    if (mFinished || !mLibraryRead)
        return;
    mFinished = true;
    emit finished();
}
