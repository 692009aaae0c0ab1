#pragma once

#include <QString>
#include <QStringList>

class SyncSettings;

// What one device is configured to get: its music, its podcasts and how many episodes, album
// art, the MP3 conversion, and the data of another phone's backup. The setup wizard and
// veltrane-sync's configure fill one and write it here, the one writer of a device's entry.
struct DeviceConfiguration
{
    enum class Music
    {
        EntireLibrary,
        Playlists, // the playlists named below
        None,
    };

    // What of another phone's data the next run copies; each is switched off once it arrived.
    struct DataToCopy
    {
        bool messages = false;
        bool contacts = false;
        bool calendar = false;
        bool notes = false;
        bool photos = false;

        bool any() const { return messages || contacts || calendar || notes || photos; }
        // "messages,contacts,calendar,notes,photos", each named only when chosen.
        QStringList names() const;
        // The names of names(); false for a name that is none of them.
        static bool fromNames(const QStringList& aNames, DataToCopy& aData);
        static const QStringList& allNames();
    };

    Music music = Music::EntireLibrary;
    QStringList playlists;
    int podcastSetting = 0; // SyncSettings::PodcastSyncSetting
    QStringList podcasts;   // with PodcastsSelected
    int episodes = 0;       // the newest per podcast; 0: all
    bool albumArt = true;   // art for the tracks a run copies
    // The next run sends the art of the tracks already on the device again.
    bool refreshAlbumArt = true;
    bool convertToMp3 = false;
    QString backupPath; // an iPhone backup folder or a BlackBerry file; empty: none
    DataToCopy copy;
    QStringList photoFolders; // folders of this computer whose photos go with a BlackBerry backup

    // The device's configuration; false (and aConfiguration untouched) when it has none.
    static bool read(const SyncSettings& aSettings, const QString& aId, DeviceConfiguration& aConfiguration);
    // Writes the device's entry afresh with every value above (its warnings and its track cache
    // are kept) and saves the file; the result of the save.
    int write(SyncSettings& aSettings, const QString& aId, const QString& aName) const;
    // Writes only the backup, what to copy from it and the photo folders (not saved).
    void writeBackup(SyncSettings& aSettings, const QString& aId) const;
};
