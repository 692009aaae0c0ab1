#include "library/itunes/xml/ITunesXmlBackend.h"

#include "app/LogScope.h"
#include "library/itunes/xml/LibraryLocation.h"
#include "library/itunes/xml/LibrarySnapshot.h"
#include "library/itunes/xml/XmlLibraryObjects.h"
#include "library/itunes/xml/XmlLibraryParser.h"
#include "settings/SyncSettings.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <mutex>

void ITunesXmlBackend::noteFailure(const QString& aWhy)
{
    // Said once: the library asks again every 250 ms while there is no library.
    if (aWhy == mLastFailure)
        return;
    mLastFailure = aWhy;
    logValue("! iTunes library unavailable", aWhy);
}

QString ITunesXmlBackend::libraryPath()
{
    if (!mFixedPath.isEmpty())
        return mFixedPath;
    const QFileInfo settings(SyncSettings::filePath());
    QString state = settings.filePath();
    if (settings.exists())
        state += QLatin1Char('#') + QString::number(settings.size()) + QLatin1Char('@') +
                 QString::number(settings.lastModified().toMSecsSinceEpoch());
    if (mLocatedPath.isEmpty() || state != mSettingsState || !QFileInfo::exists(mLocatedPath)) {
        mLocatedPath = LibraryLocation::findLibraryFile();
        mSettingsState = state;
    }
    return mLocatedPath;
}

std::shared_ptr<const XmlLibrary> ITunesXmlBackend::library(QString& aPath)
{
    QMutexLocker lock(&mMutex);
    aPath = libraryPath();
    if (aPath.isEmpty()) {
        noteFailure(QStringLiteral("no iTunes library XML file found"));
        return nullptr;
    }
    const QFileInfo info(aPath);
    if (!info.isFile()) {
        noteFailure(aPath + QStringLiteral(": no such file"));
        return nullptr;
    }
    // The path map of the settings names the files: read again when it changed since.
    const std::shared_ptr<const LibraryPathMap> map = pathMapLocked();
    if (mCached && aPath == mCachedPath && info.size() == mCachedSize &&
        info.lastModified() == mCachedModified && mCached->mappedWith() == map->mappings())
        return mCached;

    LogScope log("ITunesXmlBackend::library");
    logValue("Reading iTunes library", aPath);
    auto parsed = std::make_shared<XmlLibrary>();
    parsed->xmlFolder = info.absolutePath();
    QFile file(aPath);
    if (!file.open(QIODevice::ReadOnly)) {
        noteFailure(aPath + QStringLiteral(": ") + file.errorString());
        return nullptr;
    }
    // The file as opened: what the snapshot must have been made from, or what is parsed.
    const LibrarySnapshot::FileIdentity read = LibrarySnapshot::identityOf(file.handle(), aPath);
    const LibrarySnapshot snapshot;
    if (snapshot.load(read, *parsed)) {
        logMessage("Library file unchanged since its snapshot");
    } else {
        QString error;
        if (!XmlLibraryParser::parse(file, *parsed, error)) {
            // Often a file iTunes is still writing: the next attempt reads it whole.
            noteFailure(aPath + QStringLiteral(": ") + error);
            return nullptr;
        }
        // Kept for the next run only when the file at the path is still the one read, unchanged.
        if (read == LibrarySnapshot::identityOf(aPath))
            snapshot.save(read, *parsed);
    }
    logValue("Tracks", static_cast<int>(parsed->tracks.size()));
    logValue("Playlists", static_cast<int>(parsed->playlists.size()));
    mLastFailure.clear();
    // Its files named as this computer names them (the snapshot keeps them as the file wrote
    // them), and its texts by those paths, made here, beside the run that reads its cache.
    parsed->applyPathMap(*map);
    mCachedTexts = std::make_shared<const LibraryTexts>(parsed);
    parsed->locationsNeedLooking();
    mCached = std::move(parsed);
    mCachedPath = aPath;
    mCachedSize = info.size();
    mCachedModified = info.lastModified();
    return mCached;
}

qint32 ITunesXmlBackend::createApplication(std::shared_ptr<itunes::Application>& aApplication)
{
    QString path;
    std::shared_ptr<const XmlLibrary> parsed = library(path);
    if (!parsed)
        return itunes::kServerExecFailure;
    aApplication = makeXmlApplication(std::move(parsed), path);
    return itunes::kOk;
}

QString ITunesXmlBackend::unavailableReason()
{
    QString path;
    if (library(path))
        return QString();
    QMutexLocker lock(&mMutex);
    return mLastFailure;
}

bool ITunesXmlBackend::locationsNeedLooking()
{
    QString path;
    const std::shared_ptr<const XmlLibrary> parsed = library(path);
    if (!parsed)
        return true; // the look-up finds out for itself
    return parsed->locationsNeedLooking();
}

std::shared_ptr<const KnownTexts> ITunesXmlBackend::knownTexts(int aWaitMs)
{
    // The library is read holding the lock: it is free once the library has been read.
    if (!mMutex.tryLock(aWaitMs))
        return nullptr;
    const std::unique_lock<QMutex> lock(mMutex, std::adopt_lock);
    if (!mCached)
        return nullptr;
    // The path map changed since (the settings): the next read names the paths anew.
    if (mCached->mappedWith() != pathMapLocked()->mappings())
        return nullptr;
    return mCachedTexts; // made with the library
}

bool ITunesXmlBackend::inspect(const QString& aPath, itunes::LibrarySummary& aSummary, QString& aError)
{
    LogScope log("ITunesXmlBackend::inspect");
    QString path = aPath;
    if (path.isEmpty()) {
        QMutexLocker lock(&mMutex);
        path = libraryPath();
    }
    aSummary = itunes::LibrarySummary{path};
    if (path.isEmpty()) {
        aError = QStringLiteral("no iTunes library XML file found");
        return log.ret(false);
    }
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        aError = file.exists() ? file.errorString() : QStringLiteral("no such file");
        return log.ret(false);
    }
    XmlLibrary parsed;
    if (!XmlLibraryParser::parse(file, parsed, aError))
        return log.ret(false);
    aSummary.tracks = static_cast<int>(parsed.tracks.size());
    for (const XmlLibrary::PlaylistData& playlist : parsed.playlists) {
        if (playlist.kind == itunes::kPlaylistKindUser && playlist.specialKind != itunes::kSpecialKindFolder)
            ++aSummary.playlists;
    }
    return log.ret(true);
}

QString ITunesXmlBackend::lastFailure() const
{
    QMutexLocker lock(&mMutex);
    return mLastFailure;
}

std::shared_ptr<const LibraryPathMap> ITunesXmlBackend::pathMapLocked()
{
    // Read again only when the settings file changed.
    const QFileInfo settings(SyncSettings::filePath());
    const QString state = settings.exists() ? QString::number(settings.size()) + QLatin1Char('@') +
                                                  QString::number(settings.lastModified().toMSecsSinceEpoch())
                                            : QString();
    if (!mPathMap || state != mPathMapState) {
        mPathMap = std::make_shared<const LibraryPathMap>(LibraryPathMap::fromSettings());
        mPathMapState = state;
    }
    return mPathMap;
}
