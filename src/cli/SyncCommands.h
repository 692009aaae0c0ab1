#pragma once

#include "backends/Backends.h"

#include <QString>
#include <QStringList>

#include <memory>

class Device;
class DeviceList;
class DeviceParent;
class LocalMusicLibrary;
struct DeviceConfiguration;

// The commands of veltrane-sync, on the same engine, settings and caches as the window. Each
// returns the process's exit code: 0 only when it did what was asked.
class SyncCommands
{
public:
    struct Options
    {
        QString devicePath; // a connected device's identity or name, or a mounted folder taken as a USB drive
        QString libraryFile; // empty: the configured or usual library location
        bool yes = false;
        bool force = false;
        QString music = QStringLiteral("all"); // all, none, or playlist names separated by commas
        QStringList playlists;                 // more playlists, one name each
        QString podcasts = QStringLiteral("none");
        QStringList podcastNames; // more podcasts, one name each
        QString episodes = QStringLiteral("0");
        QString albumArt = QStringLiteral("on");
        QString convertToMp3 = QStringLiteral("off");
        QStringList pathMappings; // FROM=TO
        bool deviceOptionsGiven = false;
        QString backup;           // a backup folder or file, a found iPhone backup's name or id, or none
        QString copy;             // messages,contacts,calendar,notes,photos, or none
        QStringList photoFolders; // folders of the computer whose photos go with a BlackBerry backup
        bool backupOptionsGiven = false;
    };

    // Exit codes beside the run's end states (3 fault, 4 not configured, 5 settings unreadable,
    // 6 cancelled).
    static constexpr int kExitComplete = 0;
    static constexpr int kExitUsage = 2;
    static constexpr int kExitTracksNotCopied = 7;
    static constexpr int kExitPlaylistsMissing = 8;
    static constexpr int kExitDeviceRemoved = 9;
    static constexpr int kExitDeviceFull = 10;
    static constexpr int kExitAlreadySyncing = 11;
    static constexpr int kExitCacheUnwritable = 12;
    static constexpr int kExitDataNotCopied = 13;

    explicit SyncCommands(const Options& aOptions);
    ~SyncCommands();

    int sync();
    int configure();
    int listDevices();
    int listPlaylists();
    int listPodcasts();
    int listBackups();

private:
    // A line on the standard output; a line naming the program on the standard error.
    static void say(const QString& aText);
    static void complain(const QString& aText);
    // The library, when its file can be read; else an error is printed.
    LocalMusicLibrary* openLibrary();
    void complainAboutLibrary(const QString& aProblem);
    Device* findDevice();
    // The connected devices, phones included (their refresher's pass is waited for); the
    // reason a phone could not be opened is printed.
    DeviceList& connectedDevices();
    int configurePathMappings();
    // The option values that need no device or library; false (with the reason printed) for a
    // value they can't take.
    bool readDeviceOptions(DeviceConfiguration& aConfiguration);
    // The music and podcasts the options choose, each name checked against the library.
    bool chooseMusic(LocalMusicLibrary& aLibrary, DeviceConfiguration& aConfiguration);
    // Applies the backup options to the configuration; false (with the reason printed) when they
    // name nothing usable.
    bool applyBackupOptions(DeviceConfiguration& aConfiguration);
    // The folder or file a --backup value names; empty (with the reason printed) when none.
    QString backupNamed(const QString& aName);
    // configure with backup options only: the device keeps its music choice.
    int configureBackupOnly();
    static void sayConfiguration(const DeviceConfiguration& aConfiguration);
    static void sayBackup(const DeviceConfiguration& aConfiguration);

    Options mOptions;
    Backends mBackends;
    std::unique_ptr<DeviceParent> mOwnParent;
    std::unique_ptr<DeviceList> mDeviceList;
    std::unique_ptr<LocalMusicLibrary> mLibrary;
    DeviceParent* mParent = nullptr;
    bool mPhoneInUse = false;      // a phone was left alone: another Veltrane run has it
    bool mOpenFailureSaid = false; // the device list reported why a phone could not be opened
};
