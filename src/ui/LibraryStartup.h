#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class LocalMusicLibrary;
class PodcastRamCache;

// The window's start: 500 ms after the window is up the library is read on its own thread;
// while it can't be, what is missing is said; once it is there, the podcast names are read, and
// with them the start is over. On the GUI thread; the library and the names are the window's.
class LibraryStartup : public QObject
{
    Q_OBJECT

public:
    LibraryStartup(LocalMusicLibrary& aLibrary, PodcastRamCache& aPodcastNames, QObject* aParent = nullptr);

    void begin();

signals:
    // The library can't be read yet, and why (said again while it stays so).
    void waitingForLibrary(const QString& aProblem);
    // The library is there; the podcast names are being read.
    void libraryRead();
    // The podcast names are known: the start is over (once).
    void finished();

private:
    void initialise();
    void explainMissingLibrary();
    void onFailure();

    void onPodcastNames();

    LocalMusicLibrary& mLibrary;
    PodcastRamCache& mPodcastNames;
    static constexpr int kPauseBeforeReadingMs = 100;
    QTimer mWaitTimer;
    int mFailures = 0;
    bool mLibraryRead = false;
    bool mFinished = false;
};
