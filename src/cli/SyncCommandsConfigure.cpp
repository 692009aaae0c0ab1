// veltrane-sync's configure: what a device gets, and where a library's files are on this computer.
#include "cli/SyncCommands.h"

#include "devices/Device.h"
#include "library/LibraryPathMap.h"
#include "library/LocalMusicLibrary.h"
#include "settings/DeviceConfiguration.h"
#include "settings/SyncSettings.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// The names of a comma-separated option and of its repeatable one-name option, once each.
QStringList namesOf(const QString& aList, const QStringList& aMore)
{
    QStringList names = aList.split(QLatin1Char(','), Qt::SkipEmptyParts);
    names += aMore;
    names.removeDuplicates();
    return names;
}

} // namespace

int SyncCommands::configure()
{
    if (!mOptions.pathMappings.isEmpty()) {
        const int mapped = configurePathMappings();
        if (mapped != kExitComplete || (!mOptions.deviceOptionsGiven && !mOptions.backupOptionsGiven))
            return mapped;
    }
    if (mOptions.backupOptionsGiven && !mOptions.deviceOptionsGiven)
        return configureBackupOnly();

    DeviceConfiguration configuration;
    if (!readDeviceOptions(configuration))
        return kExitUsage;
    Device* device = findDevice();
    if (!device)
        return mPhoneInUse ? kExitAlreadySyncing : kExitUsage;
    LocalMusicLibrary* library = openLibrary();
    if (!library || !chooseMusic(*library, configuration))
        return kExitUsage;
    device->SetConfigured();
    const QString id = device->UniqueDeviceId();
    if (id == Device::kTemporaryDeviceId) {
        const QString problem = device->identityProblem();
        complain(QStringLiteral("%1 can't be configured: %2")
                     .arg(device->FriendlyName(),
                          problem.isEmpty() ? QStringLiteral("it has no identity and none could be given")
                                            : problem));
        return kExitUsage;
    }
    SyncSettings settings;
    settings.load();
    // The music choice starts the device's entry afresh; a backup chosen before stays chosen.
    DeviceConfiguration current;
    if (DeviceConfiguration::read(settings, id, current)) {
        configuration.backupPath = current.backupPath;
        configuration.copy = current.copy;
        configuration.photoFolders = current.photoFolders;
    }
    if (!applyBackupOptions(configuration))
        return kExitUsage;
    if (configuration.write(settings, id, device->FriendlyName()) != SyncSettings::kResultOk) {
        complain(QStringLiteral("can't write the settings file ") + SyncSettings::filePath());
        return kExitUsage;
    }
    say(QStringLiteral("Configured %1 (%2)").arg(device->FriendlyName(), id));
    sayConfiguration(configuration);
    return kExitComplete;
}

bool SyncCommands::readDeviceOptions(DeviceConfiguration& aConfiguration)
{
    bool episodesOk = false;
    aConfiguration.episodes = mOptions.episodes.toInt(&episodesOk);
    if (!episodesOk || aConfiguration.episodes < 0) {
        complain(QStringLiteral("--episodes takes a whole number (0: all episodes): ") + mOptions.episodes);
        return false;
    }
    for (const QString& value : {mOptions.albumArt, mOptions.convertToMp3}) {
        if (value != QLatin1String("on") && value != QLatin1String("off")) {
            complain(QStringLiteral("--album-art and --convert-mp3 take on or off: ") + value);
            return false;
        }
    }
    aConfiguration.albumArt = mOptions.albumArt == QLatin1String("on");
    aConfiguration.convertToMp3 = mOptions.convertToMp3 == QLatin1String("on");
    return true;
}

bool SyncCommands::chooseMusic(LocalMusicLibrary& aLibrary, DeviceConfiguration& aConfiguration)
{
    aLibrary.refreshPlaylists();
    aLibrary.refreshPodcasts();
    const bool allOrNone = mOptions.music == QLatin1String("all") || mOptions.music == QLatin1String("none");
    aConfiguration.playlists = namesOf(allOrNone ? QString() : mOptions.music, mOptions.playlists);
    aConfiguration.music = !aConfiguration.playlists.isEmpty() ? DeviceConfiguration::Music::Playlists
                           : mOptions.music == QLatin1String("all")
                               ? DeviceConfiguration::Music::EntireLibrary
                               : DeviceConfiguration::Music::None;
    for (const QString& name : aConfiguration.playlists) {
        if (!aLibrary.playlists(true).contains(name)) {
            complain(QStringLiteral("no playlist named \"%1\" in the library (see veltrane-sync playlists)")
                         .arg(name));
            return false;
        }
    }
    const bool all = mOptions.podcasts == QLatin1String("all");
    aConfiguration.podcasts =
        namesOf(all || mOptions.podcasts == QLatin1String("none") ? QString() : mOptions.podcasts,
                mOptions.podcastNames);
    aConfiguration.podcastSetting = all                                 ? SyncSettings::PodcastsAll
                                    : aConfiguration.podcasts.isEmpty() ? SyncSettings::PodcastsNone
                                                                        : SyncSettings::PodcastsSelected;
    for (const QString& name : aConfiguration.podcasts) {
        if (!aLibrary.podcasts().contains(name)) {
            complain(QStringLiteral("no podcast named \"%1\" in the library (see veltrane-sync podcasts)")
                         .arg(name));
            return false;
        }
    }
    return true;
}

void SyncCommands::sayConfiguration(const DeviceConfiguration& aConfiguration)
{
    using Music = DeviceConfiguration::Music;
    say(QStringLiteral("  music: ") +
        (aConfiguration.music == Music::EntireLibrary ? QStringLiteral("the whole library")
         : aConfiguration.music == Music::None        ? QStringLiteral("none")
                                                      : aConfiguration.playlists.join(", ")));
    say(QStringLiteral("  podcasts: ") +
        (aConfiguration.podcastSetting == SyncSettings::PodcastsAll ? QStringLiteral("all")
         : aConfiguration.podcasts.isEmpty()                        ? QStringLiteral("none")
                                                                    : aConfiguration.podcasts.join(", ")) +
        (aConfiguration.episodes ? QStringLiteral(", newest %1 episodes").arg(aConfiguration.episodes)
                                 : QString()));
    say(QStringLiteral("  album art: %1, convert AAC to MP3: %2")
            .arg(aConfiguration.albumArt ? "on" : "off", aConfiguration.convertToMp3 ? "on" : "off"));
    sayBackup(aConfiguration);
}

int SyncCommands::configureBackupOnly()
{
    Device* device = findDevice();
    if (!device)
        return kExitUsage;
    SyncSettings settings;
    settings.load();
    const QString id = device->UniqueDeviceId();
    DeviceConfiguration configuration;
    if (!device->IsConfigured() || !DeviceConfiguration::read(settings, id, configuration)) {
        complain(QStringLiteral(
                     "%1 is not configured yet: choose its music first (veltrane-sync configure --music ...)")
                     .arg(device->FriendlyName()));
        return kExitUsage;
    }
    if (!applyBackupOptions(configuration))
        return kExitUsage;
    configuration.writeBackup(settings, id);
    if (settings.save() != SyncSettings::kResultOk) {
        complain(QStringLiteral("can't write the settings file ") + SyncSettings::filePath());
        return kExitUsage;
    }
    say(QStringLiteral("Configured %1 (%2)").arg(device->FriendlyName(), id));
    sayBackup(configuration);
    return kExitComplete;
}

int SyncCommands::configurePathMappings()
{
    SyncSettings settings;
    settings.load();
    QList<QPair<QString, QString>> mappings = settings.getGlobalSettingsList(SyncSettings::kLibraryPathMap);
    for (const QString& text : mOptions.pathMappings) {
        QString from, to;
        if (!LibraryPathMap::parse(text, from, to)) {
            complain(QStringLiteral("--map-path takes FROM=TO, as in \"Z:/=/mnt/music\": ") + text);
            return kExitUsage;
        }
        if (!to.isEmpty() && !QFileInfo(to).isAbsolute()) {
            complain(QStringLiteral("--map-path needs a full path after \"=\": ") + text);
            return kExitUsage;
        }
        mappings = LibraryPathMap::withMapping(mappings, from, to);
    }
    settings.setGlobalSettingsList(SyncSettings::kLibraryPathMap, mappings);
    if (settings.save() != 0) {
        complain(QStringLiteral("can't write the settings file ") + SyncSettings::filePath());
        return kExitUsage;
    }
    say(mappings.isEmpty() ? QStringLiteral("Library paths: no mappings") : QStringLiteral("Library paths:"));
    for (const auto& [from, to] : mappings)
        say(QStringLiteral("  %1 -> %2").arg(from, to));
    return kExitComplete;
}
