#pragma once

#include <QString>

// Told the name of each track while a playlist is read (the sync engine shows progress with it).
class LocalMusicLibraryTaskObserver
{
public:
    virtual ~LocalMusicLibraryTaskObserver() = default;
    virtual void trackNameChanged(const QString& aTrackName) = 0;
};
