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
#include <QScopeGuard>
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

TrackCache::Read TrackCache::skipString(TextAt& aText)
{
    qint32 byteLength = 0;
    const Read result = readRawInt(byteLength);
    if (result != Read::Ok)
        return result == Read::AtEnd ? Read::Bad : result;
    // A length the file can't hold is damage, found before anything is allocated for it.
    const qint64 units = byteLength / 2;
    if (byteLength < 0 || 2 * units > mCacheFile.size() - mReadPosition)
        return Read::Bad;
    aText = TextAt{mReadPosition, units};
    mReadPosition += 2 * units;
    return Read::Ok;
}

TrackCache::Read TrackCache::viewText(const TextAt& aText, const char*& aBytes)
{
    aBytes = nullptr;
    switch (mCacheFile.viewAt(aText.position, 2 * aText.units, aBytes)) {
    case RecordFile::ReadOk:
        return Read::Ok;
    case RecordFile::ReadAtEnd:
    case RecordFile::ReadShort:
        return Read::Bad;
    case RecordFile::ReadFailed:
        break;
    }
    return Read::Failed;
}

TrackCache::Read TrackCache::readText(const TextAt& aText, const QString* aKnown, const QString& aLikely,
                                      QString& aValue)
{
    // Decoded from the file's window, with no copy of the bytes on the way, and only when
    // neither the library's text nor the last record's is the same.
    const char* bytes = nullptr;
    const Read result = viewText(aText, bytes);
    if (result != Read::Ok)
        return result;
    if (aText.units > 0 && aKnown && equalsUtf16Bytes(*aKnown, bytes, aText.units))
        aValue = *aKnown;
    else if (aText.units > 0 && equalsUtf16Bytes(aLikely, bytes, aText.units))
        aValue = aLikely;
    else
        aValue = fromUtf16Bytes(bytes, aText.units);
    return Read::Ok;
}

TrackCache::Read TrackCache::readTexts(const RecordTexts& aTexts, QString& aName, QString& aAlbum,
                                       QString& aArtist, QString& aPath)
{
    // The path first: the library's track of that path has the texts the record most likely
    // holds.
    const char* bytes = nullptr;
    Read result = viewText(aTexts.path, bytes);
    if (result != Read::Ok)
        return result;
    KnownTexts::Texts known;
    if (aTexts.path.units > 0 && mKnownTexts &&
        mKnownTexts->find(QByteArrayView(bytes, 2 * aTexts.path.units), known, mKnownNear))
        aPath = *known.path;
    else
        aPath = fromUtf16Bytes(bytes, aTexts.path.units);
    result = readText(aTexts.name, known.name, QString(), aName);
    if (result == Read::Ok)
        result = readText(aTexts.album, known.album, mPreviousAlbum, aAlbum);
    if (result == Read::Ok)
        result = readText(aTexts.artist, known.artist, mPreviousArtist, aArtist);
    if (result == Read::Ok) {
        mPreviousAlbum = aAlbum;
        mPreviousArtist = aArtist;
    }
    return result;
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
    Record record;
    int result = readRecord(record);
    if (result == kResultOk)
        result = makeTrack(record, aTrack);
    return log.ret(result);
}

int TrackCache::readRecord(Record& aRecord)
{
    qint32 start = 0;
    Read result = readRawInt(start);
    if (result == Read::AtEnd)
        return kEndOfFile;
    if (result != Read::Ok)
        return kFormatError;

    qint32 idLength = 0;
    for (bool more = true; more;) {
        qint32 fieldId = 0;
        result = readRawInt(fieldId);
        // The last record of the file has no following field id 0. A file cut inside the next
        // record's start ends this one too; reading the next one then reports the damage.
        if (result == Read::AtEnd || result == Read::Bad)
            break;
        if (result != Read::Ok)
            return kReadFailed;
        switch (fieldId) {
        case kRecordStart:
            mReadPosition -= 4;
            more = false;
            break;
        case kTrackName:
            result = skipString(aRecord.texts.name);
            break;
        case kAlbumName:
            result = skipString(aRecord.texts.album);
            break;
        case kArtistName:
            result = skipString(aRecord.texts.artist);
            break;
        case kLocalPath:
            result = skipString(aRecord.texts.path);
            break;
        case kTrackNumber:
            result = readTaggedInt(aRecord.trackNumber);
            break;
        case kDiscNumber:
            result = readTaggedInt(aRecord.discNumber);
            break;
        case kFlags:
            aRecord.flagsPosition = static_cast<qint32>(mReadPosition - 4);
            result = readTaggedInt(aRecord.flags);
            logValue("flagsFilePosition", aRecord.flagsPosition);
            logValue("trackFlags", aRecord.flags);
            break;
        case kSizeOnDevice:
            result = readTaggedLong(aRecord.sizeOnDevice);
            if (result == Read::Ok && (aRecord.sizeOnDevice < 0 || aRecord.sizeOnDevice > kLargestTrackSize))
                result = Read::Bad;
            break;
        case kIdOffset:
            aRecord.idPosition = mReadPosition - 4;
            result = readTaggedLong(aRecord.id.position);
            break;
        case kIdLength:
            result = readTaggedInt(idLength);
            break;
        default:
            logValue("Error at cache file pos:", static_cast<int>(mReadPosition - 4));
            return kFormatError;
        }
        if (result != Read::Ok)
            return result == Read::Failed ? kReadFailed : kFormatError;
    }

    // The identifier must lie inside the IDs file; nothing is allocated for one that doesn't.
    aRecord.id.units = idLength / 2;
    if (aRecord.id.position < 0 || idLength < 0 || aRecord.id.position > mIdsFile.size() ||
        2 * aRecord.id.units > mIdsFile.size() - aRecord.id.position) {
        logMessage("! Device identifier is outside the persistent IDs file");
        return kFormatError;
    }
    return kResultOk;
}

int TrackCache::makeTrack(const Record& aRecord, Track& aTrack)
{
    // Read in place: the identifier's UTF-16 units become the string's.
    QString deviceId(static_cast<qsizetype>(aRecord.id.units), Qt::Uninitialized);
    if (mIdsFile.readAt(aRecord.id.position, reinterpret_cast<char*>(deviceId.data()),
                        2 * aRecord.id.units) != RecordFile::ReadOk)
        return kFormatError;
    qFromLittleEndian<quint16>(deviceId.data(), deviceId.size(), deviceId.data());

    QString name, album, artist, path;
    const Read result = readTexts(aRecord.texts, name, album, artist, path);
    if (result != Read::Ok)
        return result == Read::Failed ? kReadFailed : kFormatError;
    aTrack = Track();
    aTrack.set(std::move(name), std::move(album), std::move(artist), aRecord.trackNumber, std::move(path),
               false, (aRecord.flags & kFlagOnDevice) != 0, true, aRecord.flagsPosition, std::move(deviceId),
               aRecord.sizeOnDevice);
    aTrack.setIdFilePosition(aRecord.idPosition);
    aTrack.setDiscNumber(aRecord.discNumber);
    if (aRecord.flags & kFlagConvertedToMp3)
        aTrack.setConvertedToMp3(true);
    return kResultOk;
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

int TrackCache::updateTrackList(TrackList& aTrackList, int aMaximum, const KnownTextsSource& aKnownTexts)
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
    // The library is read beside the cache. Until it has been, the records are only found
    // (where each text lies: quick), then made into tracks with its texts, so that a text is
    // either the library's or decoded once, never decoded and then dropped. With the diagnostics
    // log on, each record is listed as it is read, as the log has always shown.
    std::shared_ptr<const KnownTexts> known = aKnownTexts ? aKnownTexts(false) : nullptr;
    const bool waitForTexts = !known && aKnownTexts && !logIsOn();
    const auto forgetKnown = qScopeGuard([this] { mKnownTexts = nullptr; });
    mKnownTexts = known.get();
    mKnownNear = -1;
    std::deque<Record> waiting;
    for (int n = 0; result == kResultOk && (aMaximum == -1 || n < aMaximum); ++n) {
        if (!waitForTexts) {
            result = readAndAddTrack(aTrackList);
            continue;
        }
        Record record;
        result = readRecord(record);
        if (result == kResultOk)
            waiting.push_back(record);
    }
    if (!waiting.empty()) {
        known = aKnownTexts(true);
        mKnownTexts = known.get();
        // The records found before the file's end or a damage are listed; one that can't be
        // made into a track is the damage then.
        const int added = addRecords(waiting, aTrackList);
        if (added != kResultOk)
            result = added;
    }
    if (aMaximum != -1)
        aTrackList.setTotalSizeOnDevice(mTotalSizeOfUploadedFiles);
    return log.ret(result == kEndOfFile ? kResultOk : result);
}

int TrackCache::addRecords(std::deque<Record>& aRecords, TrackList& aTrackList)
{
    // Taken from the front, so that what the records take is given back as the tracks grow.
    for (; !aRecords.empty(); aRecords.pop_front()) {
        Track track;
        const int result = makeTrack(aRecords.front(), track);
        if (result != kResultOk) {
            aRecords.clear();
            return result;
        }
        aTrackList.addTrack(std::move(track));
    }
    return kResultOk;
}
