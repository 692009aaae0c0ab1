#pragma once

#include "backends/Backends.h"

#include <QString>
#include <QStringList>

#include <memory>

class Device;
class DeviceList;
class DeviceParent;
class LocalMusicLibrary;

// The commands of veltrane-sync, on the same engine, settings and caches as the window. Each
// returns the process's exit code: 0 only when it did what was asked.
class SyncCommands
{
public:
    struct Options
    {
        QString devicePath;  // a mounted folder taken as a USB drive; empty: the connected device
        QString libraryFile; // empty: the configured or usual library location
        bool yes = false;
        bool force = false;
        QString music = QStringLiteral("all"); // all, none, or playlist names separated by commas
        QString podcasts = QStringLiteral("none");
        int episodes = 0;
        bool albumArt = true;
        bool convertToMp3 = false;
    };

    explicit SyncCommands(const Options& aOptions);
    ~SyncCommands();

    int sync();
    int configure();
    int listDevices();
    int listPlaylists();
    int listPodcasts();

private:
    // The library, when its file can be read; else an error is printed.
    LocalMusicLibrary* openLibrary();
    Device* findDevice();

    Options mOptions;
    Backends mBackends;
    std::unique_ptr<DeviceParent> mOwnParent;
    std::unique_ptr<DeviceList> mDeviceList;
    std::unique_ptr<LocalMusicLibrary> mLibrary;
    DeviceParent* mParent = nullptr;
};
