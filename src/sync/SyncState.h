#pragma once

// The state numbers a run and the auto-refresher report and the front ends show.
namespace SyncState {

enum State : int
{
    NoPhone = 0,            // no device connected (auto-refresher)
    Ready = 1,              // a device is connected and can be synchronized (auto-refresher)
    Complete = 2,           // the run is complete
    Fault = 3,              // the run ended early: a fault, a device removed, a cache not written
    NotConfigured = 4,      // the device has no configuration: the setup wizard opens
    SettingsUnreadable = 5, // the settings file can't be read: the setup wizard opens
    Cancelled = 6,          // cancelled, or deletions declined
    Reserved = 7,           // changes nothing on screen; this and all above mean a run is busy
    ScanningLibrary = 8,    // the window reads the library at its start
    Preparing = 9,          // reading settings, carrying another phone's data
    PreparingToDelete = 10,
    AlbumArt = 11, // refreshing the art of tracks already on the device
    Deleting = 12,
    Copying = 13,
    Cancelling = 14, // the window was closed during a run
    Playlists = 15,
    Photos = 16,
    ConvertingVideo = 17,
};

// A run (or the window's start) is under way: the buttons are off.
inline bool isBusy(int aState)
{
    return aState >= Reserved;
}

} // namespace SyncState
