#pragma once

#include <QThread>

class LocalMusicLibrary;

// Runs the library's initialisation on its own thread, so that the window stays responsive
// while iTunes (or its library file) is not there yet.
class LocalLibraryInitialiseThread : public QThread
{
    Q_OBJECT

public:
    explicit LocalLibraryInitialiseThread(LocalMusicLibrary* aLibrary) : mLibrary(aLibrary) {}

protected:
    void run() override;

private:
    LocalMusicLibrary* mLibrary;
};
