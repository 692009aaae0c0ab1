#include "settings/DeviceConfiguration.h"

#include "app/LogScope.h"
#include "settings/SyncSettings.h"

const QStringList& DeviceConfiguration::DataToCopy::allNames()
{
    static const QStringList names = {QStringLiteral("messages"), QStringLiteral("contacts"),
                                      QStringLiteral("calendar"), QStringLiteral("notes"),
                                      QStringLiteral("photos")};
    return names;
}

QStringList DeviceConfiguration::DataToCopy::names() const
{
    const bool chosen[] = {messages, contacts, calendar, notes, photos};
    QStringList names;
    for (int i = 0; i < allNames().size(); ++i) {
        if (chosen[i])
            names << allNames().at(i);
    }
    return names;
}

bool DeviceConfiguration::DataToCopy::fromNames(const QStringList& aNames, DataToCopy& aData)
{
    DataToCopy data;
    bool* chosen[] = {&data.messages, &data.contacts, &data.calendar, &data.notes, &data.photos};
    for (const QString& name : aNames) {
        const qsizetype index = allNames().indexOf(name.trimmed());
        if (index < 0)
            return false;
        *chosen[index] = true;
    }
    aData = data;
    return true;
}

bool DeviceConfiguration::read(const SyncSettings& aSettings, const QString& aId,
                               DeviceConfiguration& aConfiguration)
{
    DeviceConfiguration configuration;
    bool entireLibrary = false;
    if (aSettings.getConfig(aId, entireLibrary, configuration.podcastSetting, configuration.playlists,
                            configuration.podcasts) != SyncSettings::kResultOk)
        return false;
    configuration.music = entireLibrary                       ? Music::EntireLibrary
                          : configuration.playlists.isEmpty() ? Music::None
                                                              : Music::Playlists;
    configuration.playlists.removeAll(QString());
    configuration.podcasts.removeAll(QString());
    configuration.episodes = aSettings.numberOfEpisodesToSync(aId);
    configuration.albumArt = aSettings.enableArtworkSync(aId);
    configuration.refreshAlbumArt = aSettings.forceArtworkSync(aId);
    configuration.convertToMp3 = aSettings.convertAacToMp3(aId);
    configuration.backupPath = aSettings.selectedBackupPath(aId);
    configuration.copy.messages = aSettings.copyTextMessages(aId);
    configuration.copy.contacts = aSettings.copyAddressBook(aId);
    configuration.copy.calendar = aSettings.copyCalendar(aId);
    configuration.copy.notes = aSettings.copyNotes(aId);
    configuration.copy.photos = aSettings.copyPhotos(aId);
    for (const auto& entry : aSettings.getSettingsList(aId, SyncSettings::kPhotoFolders))
        configuration.photoFolders << entry.second;
    aConfiguration = configuration;
    return true;
}

int DeviceConfiguration::write(SyncSettings& aSettings, const QString& aId, const QString& aName) const
{
    LogScope log("DeviceConfiguration::write");
    const int started = aSettings.setConfig(
        aId, music == Music::EntireLibrary, podcastSetting,
        music == Music::Playlists ? playlists : QStringList(),
        podcastSetting == SyncSettings::PodcastsSelected ? podcasts : QStringList(), aName);
    if (started != SyncSettings::kResultOk)
        return log.ret(started);
    aSettings.setNumberOfEpisodesToSync(aId, episodes);
    aSettings.setEnableArtworkSync(aId, albumArt);
    aSettings.setForceArtworkSync(aId, refreshAlbumArt);
    aSettings.setConvertAacToMp3(aId, convertToMp3);
    writeBackup(aSettings, aId);
    return log.ret(aSettings.save());
}

void DeviceConfiguration::writeBackup(SyncSettings& aSettings, const QString& aId) const
{
    aSettings.setSelectedBackupPath(aId, backupPath);
    aSettings.setCopyTextMessages(aId, copy.messages);
    aSettings.setCopyAddressBook(aId, copy.contacts);
    aSettings.setCopyCalendar(aId, copy.calendar);
    aSettings.setCopyNotes(aId, copy.notes);
    aSettings.setCopyPhotos(aId, copy.photos);
    QList<QPair<QString, QString>> folders;
    for (const QString& folder : photoFolders)
        folders.append({QStringLiteral("folder"), folder});
    aSettings.setSettingsList(aId, SyncSettings::kPhotoFolders, folders);
    // A choice made again: what waited for a change is tried again.
    aSettings.setSettingsList(aId, SyncSettings::kTransferWaiting, {});
}
