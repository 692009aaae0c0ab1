#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QIODevice>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The settings document "korda.xml" in the KORDA folder: global values and, for each configured
// device, its identity, name, track cache path, chosen playlists and podcasts and its switches.
// Holds nothing between uses: each user makes an instance, loads, reads or changes, and saves.
// Not shared between threads; the last save wins.
class SyncSettings : public QDomDocument
{
public:
    static constexpr int kResultOk = 0;
    static constexpr int kCannotOpen = -5003;
    static constexpr int kCannotWrite = -5004;
    static constexpr int kDeviceNotFound = -6000;
    static const QString kDontSyncMusic;

    enum PodcastSyncSetting
    {
        PodcastsNone = 0,
        PodcastsAll = 1,
        PodcastsSelected = 2,
    };

    // aText without the characters an XML file can't hold (all text written here goes through it).
    static QString xmlText(const QString& aText);

    // The settings file: the KORDA folder + "/korda.xml".
    static QString filePath();

    int load();
    int save();

    // Device element lookup.
    QDomElement deviceElement(const QString& aId) const;
    int deviceElementLine(const QString& aId) const;

    // Generic per-device values.
    QString getStringValue(const QString& aId, const QString& aKey) const;
    int getIntValue(const QString& aId, const QString& aKey, int aDefault) const;
    bool getBooleanValue(const QString& aId, const QString& aKey, bool aDefault) const;
    void setStringValue(const QString& aId, const QString& aKey, const QString& aValue);
    void setIntValue(const QString& aId, const QString& aKey, int aValue);
    void setBooleanValue(const QString& aId, const QString& aKey, bool aValue);

    // Global values (children of the root).
    QString getGlobalStringValue(const QString& aKey) const;
    void setGlobalStringValue(const QString& aKey, const QString& aValue);

    // Typed accessors.
    bool deleteWithoutWarning(const QString& aId) const;
    void setDeleteWithoutWarning(const QString& aId);
    bool convertAacToMp3(const QString& aId) const;
    void setConvertAacToMp3(const QString& aId, bool aValue);
    bool skipUsbEjectWarning(const QString& aId) const;
    void setSkipUsbEjectWarning(const QString& aId);
    bool skipDrmWarning(const QString& aId) const;
    void setSkipDrmWarning(const QString& aId);
    bool skipNotCopiedWarning(const QString& aId) const;
    void setSkipNotCopiedWarning(const QString& aId);
    bool forceArtworkSync(const QString& aId) const;
    void setForceArtworkSync(const QString& aId, bool aValue);
    bool enableArtworkSync(const QString& aId) const;
    void setEnableArtworkSync(const QString& aId, bool aValue);
    int numberOfEpisodesToSync(const QString& aId) const;
    void setNumberOfEpisodesToSync(const QString& aId, int aValue);
    bool copyTextMessages(const QString& aId) const;
    void setCopyTextMessages(const QString& aId, bool aValue);
    bool copyAddressBook(const QString& aId) const;
    void setCopyAddressBook(const QString& aId, bool aValue);
    bool copyPhotos(const QString& aId) const;
    void setCopyPhotos(const QString& aId, bool aValue);
    bool copyCalendar(const QString& aId) const;
    void setCopyCalendar(const QString& aId, bool aValue);
    bool copyNotes(const QString& aId) const;
    void setCopyNotes(const QString& aId, bool aValue);
    QString selectedBackupPath(const QString& aId) const;
    void setSelectedBackupPath(const QString& aId, const QString& aValue);
    bool isFirstUse(const QString& aId) const;
    void setFirstUse(const QString& aId, bool aValue);
    QString skipUpdateMessage() const;
    void setSkipUpdateMessage(const QString& aValue);

    // Device configuration.
    int setConfig(const QString& aId, bool aSyncEntireLibrary, int aPodcastSyncSetting,
                  const QStringList& aPlaylists, const QStringList& aPodcasts, const QString& aDeviceName);
    int getConfig(const QString& aId, bool& aSyncEntireLibrary, int& aPodcastSyncSetting,
                  QStringList& aPlaylists, QStringList& aPodcasts) const;
    int getCacheFilename(const QString& aId, QString& aPath) const;

    // Named lists of key/value pairs under a device.
    QDomElement listElement(const QString& aId, const QString& aName) const;
    QDomElement findListElement(const QString& aId, const QString& aName, bool aCreate);
    QList<QPair<QString, QString>> getSettingsList(const QString& aId, const QString& aName) const;
    void removeSettingsList(const QString& aId, const QString& aName);
    // Replaces the list aName of the device (which must have an entry) with aEntries.
    void setSettingsList(const QString& aId, const QString& aName,
                         const QList<QPair<QString, QString>>& aEntries);

    // Named lists directly under the root: values of the whole program that are lists ("entry"
    // elements with "key" and "value" attributes, as in a device's lists).
    QList<QPair<QString, QString>> getGlobalSettingsList(const QString& aName) const;
    // Replaces the whole list; an empty one removes it.
    void setGlobalSettingsList(const QString& aName, const QList<QPair<QString, QString>>& aEntries);
    // The library's path mappings: a prefix of the library's file locations (a drive or a folder
    // of another computer) and the local folder it stands for.
    static const QString kLibraryPathMap;
    // The iTunes library file the user chose (global string value).
    static const QString kITunesLibraryPath;
    // A device's list of photo folders (DeviceConfiguration::photoFolders).
    static const QString kPhotoFolders;
    // A device's kinds of another phone's data that wait for the backup, Veltrane or the choice
    // to change before they are tried again (kind -> what they wait for, and why).
    static const QString kTransferWaiting;

    // Cache file names.
    void getUsedCacheFilenames(QStringList& aNames) const;
    void generateUniqueCacheFilename(QString& aPath) const;

private:
    // A settings file holds kilobytes: one larger, nested deeper, with more elements or
    // attributes than this program writes, or with a document type of its own (entities that
    // expand), is no settings file, and reading it would cost memory or time without end.
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;
    static constexpr int kMaxDepth = 64;
    static constexpr int kMaxAttributes = 16;
    static constexpr qint64 kMaxElements = 50000;
    // Copies the file as it is to korda.xml.bad before anything writes over it.
    static void keepDamagedCopy();

    void writeChildValue(const QString& aId, const QString& aKey, const QString& aText);
    // Removes the first aKey child of aDevice and appends a new one holding aText.
    void replaceChildValue(QDomElement& aDevice, const QString& aKey, const QString& aText);
};
