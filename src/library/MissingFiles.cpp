#include "library/MissingFiles.h"

#include "app/LogScope.h"
#include "library/LocalMusicLibrary.h"
#include "tracks/SourceFile.h"

#include <QFileInfo>
#include <QHash>

namespace {

// The folder part of aPath, ending in '/'.
QString folderOf(const QString& aPath)
{
    return aPath.left(aPath.lastIndexOf(QLatin1Char('/')) + 1);
}

// The longest folder prefix aLeft and aRight share, ending in '/'.
QString sharedFolder(const QString& aLeft, const QString& aRight)
{
    qsizetype same = 0;
    while (same < aLeft.size() && same < aRight.size() && aLeft.at(same) == aRight.at(same))
        ++same;
    return aLeft.left(aLeft.lastIndexOf(QLatin1Char('/'), same - 1) + 1);
}

} // namespace

MissingFiles MissingFiles::of(std::shared_ptr<itunes::Backend> aBackend, const std::function<bool()>& aStop)
{
    LogScope log("MissingFiles::of");
    MissingFiles result;
    LocalMusicLibrary library(std::move(aBackend));
    library.stopRetrying(); // a library that isn't there has no missing files to tell of
    std::shared_ptr<itunes::Playlist> music;
    std::shared_ptr<itunes::TrackCollection> tracks;
    int count = 0;
    if (library.getPlaylist(QString(), music) != 0 || music->tracks(tracks) != itunes::kOk || !tracks ||
        tracks->count(count) != itunes::kOk)
        return result;
    QHash<QString, int> foreign; // drive or share -> missing files there
    QString shared;              // the folder every missing file of this computer's kind is in
    int local = 0;
    for (int i = 1; i <= count && !(aStop && aStop()); ++i) {
        std::shared_ptr<itunes::Track> track;
        std::shared_ptr<itunes::FileTrack> file;
        QString location;
        if (tracks->item(i, track) != itunes::kOk || !track || track->fileTrack(file) != itunes::kOk ||
            !file || file->location(location) != itunes::kOk || location.isEmpty())
            continue;
        ++result.tracks;
        if (QFileInfo::exists(location))
            continue;
        ++result.missing;
        const QString prefix = SourceFile::foreignPrefix(location);
        if (!prefix.isEmpty()) {
            ++foreign[prefix];
        } else if (location.startsWith(QLatin1Char('/'))) {
            shared = local++ == 0 ? folderOf(location) : sharedFolder(shared, location);
        }
    }
    for (auto it = foreign.cbegin(); it != foreign.cend(); ++it) {
        if (it.value() > result.underPrefix) {
            result.prefix = it.key();
            result.underPrefix = it.value();
        }
    }
    // Files of this computer's kind, most of them under one folder that isn't here (a Mac's
    // /Users/name/Music/, a disk not mounted).
    if (local > result.underPrefix && shared.size() > 1 && !QFileInfo::exists(shared)) {
        result.prefix = shared;
        result.underPrefix = local;
    }
    logValue("Tracks with files", result.tracks);
    logValue("Missing", result.missing);
    return result;
}
