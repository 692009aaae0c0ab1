#include "tracks/TrackCache.h"

#include "app/ApplicationPaths.h"
#include "app/LogScope.h"
#include "settings/SyncSettings.h"
#include "tracks/CacheEncoding.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <unistd.h>
#include <utility>

using namespace CacheEncoding;

namespace {

// Larger sizes are damage: with at most 2 GiB of records, sums of sizes this big can't overflow.
constexpr qint64 kLargestTrackSize = qint64(1) << 38;

// The cache path comes from the settings file; a cache is only ever kept in the KORDA folder.
// The folders are compared as they really are, so a home reached through a link is the same.
bool isInsideKordaFolder(const QString& aPath)
{
    const QFileInfo info(aPath);
    if (info.fileName().isEmpty() || info.fileName() == QLatin1String("..") ||
        info.fileName() == QLatin1String("."))
        return false;
    const QString korda = QDir(ApplicationPaths::kordaFolder()).canonicalPath();
    const QString folder = QDir(info.absolutePath()).canonicalPath();
    return !korda.isEmpty() && folder == korda;
}

} // namespace

TrackCache::~TrackCache()
{
    close();
}

int TrackCache::open(const QString& aDeviceId)
{
    LogScope log("TrackCache::open");
    close();
    mTotalSizeOfUploadedFiles = 0;
    mTotalSizePosition = 0;
    mIntegrityPosition = 0;
    SyncSettings settings;
    if (settings.load() != SyncSettings::kResultOk) {
        logMessage("Can't load settings settings");
        return log.ret(SyncSettings::kCannotOpen);
    }
    QString cacheFileName;
    if (settings.getCacheFilename(aDeviceId, cacheFileName) != SyncSettings::kResultOk) {
        logMessage("Can't get cache file name");
        return log.ret(SyncSettings::kDeviceNotFound);
    }
    logValue("cacheFileName", cacheFileName);
    if (!isInsideKordaFolder(cacheFileName)) {
        logMessage("! Cache file is not in the KORDA folder: refused");
        return log.ret(kCannotOpen);
    }
    QDir().mkpath(QFileInfo(cacheFileName).absolutePath());
    return log.ret(openFiles(cacheFileName));
}

int TrackCache::removeFiles(const QString& aDeviceId)
{
    LogScope log("TrackCache::removeFiles");
    SyncSettings settings;
    if (settings.load() != SyncSettings::kResultOk)
        return log.ret(SyncSettings::kCannotOpen);
    QString cacheFileName;
    if (settings.getCacheFilename(aDeviceId, cacheFileName) != SyncSettings::kResultOk)
        return log.ret(SyncSettings::kDeviceNotFound);
    if (!isInsideKordaFolder(cacheFileName)) {
        logValue("! Cache file is not in the KORDA folder: not removed", cacheFileName);
        return log.ret(kCannotOpen);
    }
    // unlink removes a link itself, never what it points to.
    ::unlink(QFile::encodeName(cacheFileName).constData());
    ::unlink(QFile::encodeName(cacheFileName + QLatin1Char('p')).constData());
    return log.ret(kResultOk);
}

int TrackCache::openFiles(const QString& aCachePath)
{
    LogScope log("TrackCache::openFiles");
    close();
    logMessage(QFileInfo::exists(aCachePath) ? "Cache file exists" : "Cache file does not exist");
    if (!mCacheFile.open(aCachePath)) {
        logMessage("Can't open cache file");
        return log.ret(kCannotOpen);
    }
    logMessage("Opening persistent IDs file");
    if (!mIdsFile.open(aCachePath + QLatin1Char('p'))) {
        logMessage("Can't open persistent IDs file");
        mCacheFile.close();
        return log.ret(kCannotOpen);
    }
    mReadPosition = 0;
    if (mCacheFile.size() == 0) {
        logMessage("New cache file");
        const int result = writeHeader();
        return log.ret(result == kResultOk ? kNewCacheFile : result);
    }
    return log.ret(kResultOk);
}

void TrackCache::close()
{
    if (mCacheFile.isOpen()) {
        mCacheFile.flush();
        mCacheFile.close();
    }
    if (mIdsFile.isOpen()) {
        mIdsFile.flush();
        mIdsFile.close();
    }
}

TrackCache::Read TrackCache::readBytes(char* aData, qint64 aLength)
{
    switch (mCacheFile.readAt(mReadPosition, aData, aLength)) {
    case RecordFile::ReadOk:
        mReadPosition += aLength;
        return Read::Ok;
    case RecordFile::ReadAtEnd:
        return Read::AtEnd;
    case RecordFile::ReadShort:
        return Read::Bad;
    case RecordFile::ReadFailed:
        break;
    }
    return Read::Failed;
}

TrackCache::Read TrackCache::readRawInt(qint32& aValue)
{
    char bytes[4];
    const Read result = readBytes(bytes, 4);
    if (result == Read::Ok)
        aValue = qFromLittleEndian<qint32>(bytes);
    return result;
}

TrackCache::Read TrackCache::readTaggedInt(qint32& aValue)
{
    char bytes[8];
    const Read result = readBytes(bytes, 8);
    if (result == Read::Ok)
        aValue = qFromLittleEndian<qint32>(bytes + 4); // the length word is not used
    return result == Read::AtEnd ? Read::Bad : result;
}

TrackCache::Read TrackCache::readTaggedLong(qint64& aValue)
{
    char bytes[12];
    const Read result = readBytes(bytes, 12);
    if (result == Read::Ok)
        aValue = qFromLittleEndian<qint64>(bytes + 4);
    return result == Read::AtEnd ? Read::Bad : result;
}

TrackCache::Read TrackCache::readString(QString& aValue, const QString& aLikely)
{
    qint32 byteLength = 0;
    Read result = readRawInt(byteLength);
    if (result != Read::Ok)
        return result == Read::AtEnd ? Read::Bad : result;
    const qint64 units = byteLength / 2;
    // A length the file can't hold is damage, found before anything is allocated for it.
    if (byteLength < 0 || 2 * units > mCacheFile.size() - mReadPosition)
        return Read::Bad;
    // Decoded from the file's window, with no copy of the bytes on the way.
    const char* bytes = nullptr;
    switch (mCacheFile.viewAt(mReadPosition, 2 * units, bytes)) {
    case RecordFile::ReadOk:
        break;
    case RecordFile::ReadAtEnd:
    case RecordFile::ReadShort:
        return Read::Bad;
    case RecordFile::ReadFailed:
        return Read::Failed;
    }
    mReadPosition += 2 * units;
    aValue = units > 0 && equalsUtf16Bytes(aLikely, bytes, units) ? aLikely : fromUtf16Bytes(bytes, units);
    return Read::Ok;
}

int TrackCache::readHeader()
{
    LogScope log("TrackCache::readHeader");
    mReadPosition = 0;
    qint32 mark = 0;
    Read result = readRawInt(mark);
    if (result == Read::AtEnd)
        return log.ret(kEndOfFile);
    if (result == Read::Failed)
        return log.ret(kReadFailed);
    if (result == Read::Bad || mark != kFormatMark)
        return log.ret(kFormatError);
    bool seenVersion = false;
    bool seenTotal = false;
    bool seenIntegrity = false;
    for (;;) {
        qint32 fieldId = 0;
        result = readRawInt(fieldId);
        if (result == Read::AtEnd)
            return log.ret(seenVersion && seenTotal && seenIntegrity ? kResultOk : kEndOfFile);
        if (result != Read::Ok)
            return log.ret(result == Read::Failed ? kReadFailed : kFormatError);
        qint32 unused = 0;
        switch (fieldId) {
        case kRecordStart:
            mReadPosition -= 4; // the record reader starts at the field id 0
            return log.ret(kResultOk);
        case kHeaderVersion:
            result = readTaggedInt(unused);
            seenVersion = true;
            break;
        case kHeaderTotalSize:
            mTotalSizePosition = mReadPosition;
            result = readTaggedLong(mTotalSizeOfUploadedFiles);
            if (result == Read::Ok && mTotalSizeOfUploadedFiles < 0)
                result = Read::Bad;
            seenTotal = true;
            break;
        case kHeaderIntegrity:
            mIntegrityPosition = mReadPosition;
            result = readTaggedInt(unused);
            seenIntegrity = true;
            break;
        default:
            logValue("Error at cache file pos:", static_cast<int>(mReadPosition - 4));
            return log.ret(kFormatError);
        }
        if (result != Read::Ok)
            return log.ret(result == Read::Failed ? kReadFailed : kFormatError);
    }
}

int TrackCache::readTrack(Track& aTrack)
{
    LogScope log("TrackCache::readTrack");
    qint32 start = 0;
    Read result = readRawInt(start);
    if (result == Read::AtEnd)
        return log.ret(kEndOfFile);
    if (result != Read::Ok)
        return log.ret(kFormatError);

    QString name, album, artist, path;
    qint32 trackNumber = 0, discNumber = 0, flags = 0, idLength = 0, flagsPosition = 0;
    qint64 sizeOnDevice = 0, idOffset = 0, idPosition = 0;
    for (bool more = true; more;) {
        qint32 fieldId = 0;
        result = readRawInt(fieldId);
        // The last record of the file has no following field id 0. A file cut inside the next
        // record's start ends this one too; reading the next one then reports the damage.
        if (result == Read::AtEnd || result == Read::Bad)
            break;
        if (result != Read::Ok)
            return log.ret(kReadFailed);
        switch (fieldId) {
        case kRecordStart:
            mReadPosition -= 4;
            more = false;
            break;
        case kTrackName:
            result = readString(name);
            break;
        case kAlbumName:
            result = readString(album, mPreviousAlbum);
            break;
        case kArtistName:
            result = readString(artist, mPreviousArtist);
            break;
        case kLocalPath:
            result = readString(path);
            break;
        case kTrackNumber:
            result = readTaggedInt(trackNumber);
            break;
        case kDiscNumber:
            result = readTaggedInt(discNumber);
            break;
        case kFlags:
            flagsPosition = static_cast<qint32>(mReadPosition - 4);
            result = readTaggedInt(flags);
            logValue("flagsFilePosition", flagsPosition);
            logValue("trackFlags", flags);
            break;
        case kSizeOnDevice:
            result = readTaggedLong(sizeOnDevice);
            if (result == Read::Ok && (sizeOnDevice < 0 || sizeOnDevice > kLargestTrackSize))
                result = Read::Bad;
            break;
        case kIdOffset:
            idPosition = mReadPosition - 4;
            result = readTaggedLong(idOffset);
            break;
        case kIdLength:
            result = readTaggedInt(idLength);
            break;
        default:
            logValue("Error at cache file pos:", static_cast<int>(mReadPosition - 4));
            return log.ret(kFormatError);
        }
        if (result != Read::Ok)
            return log.ret(result == Read::Failed ? kReadFailed : kFormatError);
    }

    // The identifier must lie inside the IDs file; nothing is allocated for one that doesn't.
    const qint64 idUnits = idLength / 2;
    if (idOffset < 0 || idLength < 0 || idOffset > mIdsFile.size() ||
        2 * idUnits > mIdsFile.size() - idOffset) {
        logMessage("! Device identifier is outside the persistent IDs file");
        return log.ret(kFormatError);
    }
    // Read in place: the identifier's UTF-16 units become the string's.
    QString deviceId(static_cast<qsizetype>(idUnits), Qt::Uninitialized);
    if (mIdsFile.readAt(idOffset, reinterpret_cast<char*>(deviceId.data()), 2 * idUnits) !=
        RecordFile::ReadOk)
        return log.ret(kFormatError);
    qFromLittleEndian<quint16>(deviceId.data(), deviceId.size(), deviceId.data());

    mPreviousAlbum = album;
    mPreviousArtist = artist;
    aTrack = Track();
    aTrack.set(std::move(name), std::move(album), std::move(artist), trackNumber, std::move(path), false,
               (flags & kFlagOnDevice) != 0, true, flagsPosition, std::move(deviceId), sizeOnDevice);
    aTrack.setIdFilePosition(idPosition);
    aTrack.setDiscNumber(discNumber);
    if (flags & kFlagConvertedToMp3)
        aTrack.setConvertedToMp3(true);
    return log.ret(kResultOk);
}

int TrackCache::readAndAddTrack(TrackList& aTrackList)
{
    LogScope log("TrackCache::readAndAddTrack");
    Track track;
    const int result = readTrack(track);
    if (result == kResultOk) {
        logMessage("Added cached track to track list.");
        aTrackList.addTrack(std::move(track));
    }
    return log.ret(result);
}

int TrackCache::updateTrackList(TrackList& aTrackList, int aMaximum)
{
    LogScope log("TrackCache::updateTrackList");
    int result = readHeader();
    // Room in the list's indexes for the records the file may hold (most take more than 320
    // bytes, a third of them the texts that make a unique id), so that reading 100,000 of them
    // doesn't rehash the indexes or move their ids again and again.
    if (aMaximum == -1)
        aTrackList.reserveUniqueIds(aTrackList.count() +
                                        static_cast<int>(qMin<qint64>(mCacheFile.size() / 320, 1 << 22)),
                                    qMin<qint64>(mCacheFile.size() / 6, qint64(1) << 24));
    for (int n = 0; result == kResultOk && (aMaximum == -1 || n < aMaximum); ++n)
        result = readAndAddTrack(aTrackList);
    if (aMaximum != -1)
        aTrackList.setTotalSizeOnDevice(mTotalSizeOfUploadedFiles);
    return log.ret(result == kEndOfFile ? kResultOk : result);
}
