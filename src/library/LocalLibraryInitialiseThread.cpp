#include "library/LocalLibraryInitialiseThread.h"

#include "library/LocalMusicLibrary.h"

void LocalLibraryInitialiseThread::run()
{
    mLibrary->initialise();
}
