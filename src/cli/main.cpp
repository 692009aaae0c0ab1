// veltrane-sync: synchronise a phone or player from a terminal or a script.
#include "app/ProgramOutput.h"
#include "app/Startup.h"
#include "cli/SyncCommands.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    Startup::begin(argc);
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veltrane-sync"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELTRANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Keeps a phone's or player's music in step with the iTunes library.\n\n"
                       "Commands:\n"
                       "  sync        synchronize the connected device (the default)\n"
                       "  configure   choose what the device gets\n"
                       "  devices     list the connected devices\n"
                       "  playlists   list the library's playlists\n"
                       "  podcasts    list the library's podcasts\n"
                       "  backups     list the iPhone backups iTunes made on this computer"));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("sync, configure, devices, playlists, podcasts or backups"));
    parser.setApplicationDescription(
        parser.applicationDescription() +
        QStringLiteral("\n\nExit codes of sync: 0 complete; 2 bad arguments or "
                       "nothing to synchronize; 3 ended by a fault; 4 device "
                       "not configured; 5 settings unreadable; 6 cancelled; "
                       "7 complete but tracks not copied; 8 complete but "
                       "chosen playlists missing (nothing deleted); 9 the "
                       "device was removed; 10 the device is full; 11 "
                       "another sync of the device is running; 12 the "
                       "track cache can't be written; 13 complete but data from another "
                       "phone's backup not all copied."));
    parser.addOptions({
        {QStringLiteral("device"),
         QStringLiteral("The device: a connected one's identity or name (as \"devices\" lists them), or a "
                        "mounted folder to treat as a USB player."),
         QStringLiteral("PATH")},
        {QStringLiteral("library"), QStringLiteral("The iTunes library XML file."), QStringLiteral("FILE")},
        {QStringLiteral("yes"),
         QStringLiteral("Delete tracks no longer chosen; synchronize even without enough space.")},
        {QStringLiteral("force"), QStringLiteral("Full resynchronization: copy every chosen track again.")},
        {QStringLiteral("music"),
         QStringLiteral("configure: all, none, or playlist names separated by commas."),
         QStringLiteral("WHAT"), QStringLiteral("all")},
        {QStringLiteral("playlist"),
         QStringLiteral("configure: a playlist to synchronize (repeatable; for names with commas)."),
         QStringLiteral("NAME")},
        {QStringLiteral("podcasts"),
         QStringLiteral("configure: none, all, or podcast names separated by commas."),
         QStringLiteral("WHAT"), QStringLiteral("none")},
        {QStringLiteral("podcast"), QStringLiteral("configure: a podcast to synchronize (repeatable)."),
         QStringLiteral("NAME")},
        {QStringLiteral("episodes"), QStringLiteral("configure: newest episodes per podcast (0: all)."),
         QStringLiteral("N"), QStringLiteral("0")},
        {QStringLiteral("album-art"), QStringLiteral("configure: on or off."), QStringLiteral("ON"),
         QStringLiteral("on")},
        {QStringLiteral("convert-mp3"), QStringLiteral("configure: convert AAC to MP3, on or off."),
         QStringLiteral("ON"), QStringLiteral("off")},
        {QStringLiteral("map-path"),
         QStringLiteral("configure: where the files of a library from another computer are here, as "
                        "FROM=TO (\"Z:/=/mnt/music\"); FROM= removes a mapping. Repeatable."),
         QStringLiteral("FROM=TO")},
        {QStringLiteral("backup"),
         QStringLiteral(
             "configure: another phone's backup whose data the next run copies: an iPhone backup "
             "folder or its device's name (see \"backups\"), a BlackBerry .ipd or .bbb file, or none."),
         QStringLiteral("BACKUP")},
        {QStringLiteral("copy"),
         QStringLiteral(
             "configure: what to copy from the backup: messages, contacts, calendar, notes, photos "
             "(separated by commas), or none."),
         QStringLiteral("WHAT")},
        {QStringLiteral("photo-folder"),
         QStringLiteral("configure: a folder of photos to copy with a BlackBerry backup (repeatable)."),
         QStringLiteral("FOLDER")},
    });
    // Not process(): it ends the program itself, with code 1 for a bad option, where every bad
    // argument is code 2 and the log's exit line is written.
    if (!parser.parse(QCoreApplication::arguments())) {
        ProgramOutput::err("veltrane-sync: " + parser.errorText().toLocal8Bit() + " (see --help)\n");
        Startup::end(2);
        return 2;
    }
    if (parser.isSet(helpOption) || parser.isSet(versionOption)) {
        ProgramOutput::out(parser.isSet(helpOption)
                               ? parser.helpText().toLocal8Bit()
                               : QByteArrayLiteral("veltrane-sync " VELTRANE_VERSION "\n"));
        Startup::end(0);
        return 0;
    }

    SyncCommands::Options options;
    options.devicePath = parser.value(QStringLiteral("device"));
    options.libraryFile = parser.value(QStringLiteral("library"));
    options.yes = parser.isSet(QStringLiteral("yes"));
    options.force = parser.isSet(QStringLiteral("force"));
    options.music = parser.value(QStringLiteral("music"));
    options.playlists = parser.values(QStringLiteral("playlist"));
    options.podcasts = parser.value(QStringLiteral("podcasts"));
    options.podcastNames = parser.values(QStringLiteral("podcast"));
    options.episodes = parser.value(QStringLiteral("episodes"));
    options.albumArt = parser.value(QStringLiteral("album-art"));
    options.convertToMp3 = parser.value(QStringLiteral("convert-mp3"));
    options.pathMappings = parser.values(QStringLiteral("map-path"));
    for (const char* name :
         {"music", "playlist", "podcasts", "podcast", "episodes", "album-art", "convert-mp3"})
        options.deviceOptionsGiven = options.deviceOptionsGiven || parser.isSet(QLatin1String(name));

    options.backup = parser.value(QStringLiteral("backup"));
    options.copy = parser.value(QStringLiteral("copy"));
    options.photoFolders = parser.values(QStringLiteral("photo-folder"));
    options.backupOptionsGiven = parser.isSet(QStringLiteral("backup")) ||
                                 parser.isSet(QStringLiteral("copy")) ||
                                 parser.isSet(QStringLiteral("photo-folder"));

    const QStringList arguments = parser.positionalArguments();
    const QString command = arguments.isEmpty() ? QStringLiteral("sync") : arguments.first();
    SyncCommands commands(options);
    int result = 2;
    if (command == QLatin1String("sync"))
        result = commands.sync();
    else if (command == QLatin1String("configure"))
        result = commands.configure();
    else if (command == QLatin1String("devices"))
        result = commands.listDevices();
    else if (command == QLatin1String("playlists"))
        result = commands.listPlaylists();
    else if (command == QLatin1String("podcasts"))
        result = commands.listPodcasts();
    else if (command == QLatin1String("backups"))
        result = commands.listBackups();
    else
        ProgramOutput::err("veltrane-sync: unknown command " + command.toLocal8Bit() + " (see --help)\n");
    Startup::end(result);
    return result;
}
