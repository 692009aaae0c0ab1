// The writing side of TrackCache: records of uploads and deletions, totals, integrity, header.
#include "tracks/TrackCache.h"

#include "app/LogScope.h"
#include "tracks/CacheEncoding.h"
#include "tracks/Track.h"
#include "tracks/TrackList.h"

#include <limits>

using namespace CacheEncoding;

namespace {
constexpr qint64 kHeaderSize = 44;
constexpr qint64 kIntegrityPayload = 36;
} // namespace

int TrackCache::readFlagsAt(qint32 aFlagsFilePosition, qint32& aFlags)
{
    char bytes[12];
    if (mCacheFile.readAt(aFlagsFilePosition, bytes, sizeof bytes) != RecordFile::ReadOk ||
        qFromLittleEndian<qint32>(bytes) != kFlags) {
        logMessage("! No flags field at the recorded position");
        return kFormatError;
    }
    aFlags = qFromLittleEndian<qint32>(bytes + 8);
    return kResultOk;
}

int TrackCache::addTrack(Track& aTrack)
{
    LogScope log("TrackCache::addTrack");
    const QByteArray id = utf16Bytes(aTrack.deviceId());
    qint64 idOffset = 0;
    if (!mIdsFile.append(id, idOffset))
        return log.ret(kWriteFailed);
    qint32 flags = aTrack.needsConversion() ? kFlagConvertedToMp3 : 0;

    if (aTrack.inCache()) {
        // A re-upload: mark the existing record, and repoint its identifier at the new text.
        qint32 storedFlags = 0;
        if (readFlagsAt(aTrack.flagsFilePosition(), storedFlags) != kResultOk)
            return log.ret(kFormatError);
        char pointer[28];
        if (mCacheFile.readAt(aTrack.idFilePosition(), pointer, sizeof pointer) != RecordFile::ReadOk ||
            qFromLittleEndian<qint32>(pointer) != kIdOffset ||
            qFromLittleEndian<qint32>(pointer + 16) != kIdLength) {
            logMessage("! No identifier fields at the recorded position");
            return log.ret(kFormatError);
        }
        flags = storedFlags | kFlagOnDevice;
        QByteArray flagsField;
        appendTaggedInt(flagsField, flags);
        QByteArray idFields;
        appendRawInt(idFields, kIdOffset);
        appendTaggedLong(idFields, idOffset);
        appendRawInt(idFields, kIdLength);
        appendTaggedInt(idFields, static_cast<qint32>(id.size()));
        if (!mCacheFile.writeAt(aTrack.flagsFilePosition() + 4, flagsField) ||
            !mCacheFile.writeAt(aTrack.idFilePosition(), idFields))
            return log.ret(kWriteFailed);
    } else {
        const int appended = appendRecord(aTrack, aTrack.onRemoteDevice() ? (flags | kFlagOnDevice) : flags,
                                          idOffset, static_cast<qint32>(id.size()));
        if (appended != kResultOk)
            return log.ret(appended);
    }

    int result = kResultOk;
    if (aTrack.onRemoteDevice() && mIntegrityPosition == mTotalSizePosition + 16 && mTotalSizePosition != 0) {
        // The header as written here holds the total and the integrity value side by side: one
        // write for both.
        qint64 total = 0;
        if (__builtin_add_overflow(mTotalSizeOfUploadedFiles, aTrack.sizeOnDevice(), &total))
            total = std::numeric_limits<qint64>::max();
        mTotalSizeOfUploadedFiles = total;
        QByteArray fields;
        appendTaggedLong(fields, total);
        appendRawInt(fields, kHeaderIntegrity);
        appendTaggedInt(fields, static_cast<qint32>(mCacheFile.size()));
        result = mCacheFile.writeAt(mTotalSizePosition, fields) ? kResultOk : kWriteFailed;
    } else {
        result = writeIntegrityValue();
        if (result == kResultOk && aTrack.onRemoteDevice())
            result = incrementTotalSizeOfUploadedFiles(aTrack.sizeOnDevice());
    }
    if (!mCacheFile.flush() || !mIdsFile.flush())
        result = result == kResultOk ? kWriteFailed : result;
    return log.ret(result);
}

int TrackCache::appendRecord(Track& aTrack, qint32 aFlags, qint64 aIdOffset, qint32 aIdLength)
{
    QByteArray record;
    appendRawInt(record, kRecordStart);
    appendRawInt(record, kTrackName);
    appendString(record, aTrack.trackName());
    appendRawInt(record, kAlbumName);
    appendString(record, aTrack.albumName());
    appendRawInt(record, kArtistName);
    appendString(record, aTrack.artistName());
    appendRawInt(record, kLocalPath);
    appendString(record, aTrack.path());
    appendRawInt(record, kTrackNumber);
    appendTaggedInt(record, aTrack.trackNumberOnAlbum());
    if (aTrack.discNumber() > 1) {
        appendRawInt(record, kDiscNumber);
        appendTaggedInt(record, aTrack.discNumber());
    }
    const qint64 idFieldOffset = record.size();
    appendRawInt(record, kIdOffset);
    appendTaggedLong(record, aIdOffset);
    appendRawInt(record, kIdLength);
    appendTaggedInt(record, aIdLength);
    const qint64 flagsFieldOffset = record.size();
    appendRawInt(record, kFlags);
    appendTaggedInt(record, aFlags);
    appendRawInt(record, kSizeOnDevice);
    appendTaggedLong(record, aTrack.sizeOnDevice());
    qint64 recordStart = 0;
    if (!mCacheFile.append(record, recordStart))
        return kWriteFailed;
    // The track now has a record: a later deletion or re-upload in this run finds it.
    aTrack.setInCache(true);
    aTrack.setFlagsFilePosition(static_cast<qint32>(recordStart + flagsFieldOffset));
    aTrack.setIdFilePosition(recordStart + idFieldOffset);
    return kResultOk;
}

int TrackCache::rewrite(TrackList& aTracks)
{
    LogScope log("TrackCache::rewrite");
    if (!mCacheFile.truncate() || !mIdsFile.truncate())
        return log.ret(kWriteFailed);
    int result = writeHeader();
    if (result == kResultOk)
        result = readHeader(); // the payload positions of the new header
    qint64 total = 0;
    for (Track& track : aTracks) {
        if (result != kResultOk)
            break;
        const QByteArray id = utf16Bytes(track.deviceId());
        qint64 idOffset = 0;
        if (!mIdsFile.append(id, idOffset)) {
            result = kWriteFailed;
            break;
        }
        qint32 flags = track.convertedToMp3() ? kFlagConvertedToMp3 : 0;
        if (track.onRemoteDevice()) {
            flags |= kFlagOnDevice;
            total += track.sizeOnDevice();
        }
        result = appendRecord(track, flags, idOffset, static_cast<qint32>(id.size()));
    }
    if (result == kResultOk) {
        mTotalSizeOfUploadedFiles = total;
        result = setTotalSizeOfUploadedFiles(total);
    }
    if (result == kResultOk)
        result = writeIntegrityValue();
    if (result == kResultOk && (!mCacheFile.flush() || !mIdsFile.flush()))
        result = kWriteFailed;
    return log.ret(result);
}

int TrackCache::removeDeletedTrack(const Track& aTrack)
{
    LogScope log("TrackCache::removeDeletedTrack");
    logValue("flagsFilePosition", aTrack.flagsFilePosition());
    qint32 flags = 0;
    if (readFlagsAt(aTrack.flagsFilePosition(), flags) != kResultOk)
        return log.ret(kFormatError);
    flags &= ~kFlagOnDevice;
    logValue("writing flags:", flags);
    logValue("to position", aTrack.flagsFilePosition() + 4);
    QByteArray field;
    appendTaggedInt(field, flags);
    if (!mCacheFile.writeAt(aTrack.flagsFilePosition() + 4, field))
        return log.ret(kWriteFailed);
    return log.ret(decrementTotalSizeOfUploadedFiles(aTrack.sizeOnDevice()));
}

int TrackCache::setTotalSizeOfUploadedFiles(qint64 aTotal)
{
    LogScope log("TrackCache::setTotalSizeOfUploadedFiles");
    if (mTotalSizePosition == 0)
        return log.ret(kFormatError);
    QByteArray field;
    appendTaggedLong(field, aTotal);
    return log.ret(mCacheFile.writeAt(mTotalSizePosition, field) ? kResultOk : kWriteFailed);
}

int TrackCache::incrementTotalSizeOfUploadedFiles(qint64 aDelta)
{
    LogScope log("TrackCache::incrementTotalSizeOfUploadedFiles");
    // Saturating: the total is read from the file and may be damaged.
    if (__builtin_add_overflow(mTotalSizeOfUploadedFiles, aDelta, &mTotalSizeOfUploadedFiles))
        mTotalSizeOfUploadedFiles = std::numeric_limits<qint64>::max();
    return log.ret(setTotalSizeOfUploadedFiles(mTotalSizeOfUploadedFiles));
}

int TrackCache::decrementTotalSizeOfUploadedFiles(qint64 aDelta)
{
    LogScope log("TrackCache::decrementTotalSizeOfUploadedFiles");
    if (__builtin_sub_overflow(mTotalSizeOfUploadedFiles, aDelta, &mTotalSizeOfUploadedFiles) ||
        mTotalSizeOfUploadedFiles < 0)
        mTotalSizeOfUploadedFiles = 0;
    return log.ret(setTotalSizeOfUploadedFiles(mTotalSizeOfUploadedFiles));
}

int TrackCache::writeIntegrityValue()
{
    LogScope log("TrackCache::writeIntegrityValue");
    if (mIntegrityPosition == 0)
        return log.ret(kFormatError);
    QByteArray field;
    appendTaggedInt(field, static_cast<qint32>(mCacheFile.size()));
    return log.ret(mCacheFile.writeAt(mIntegrityPosition, field) ? kResultOk : kWriteFailed);
}

int TrackCache::writeHeader()
{
    LogScope log("TrackCache::writeHeader");
    QByteArray header;
    appendRawInt(header, kFormatMark);
    appendRawInt(header, kHeaderVersion);
    appendTaggedInt(header, 1);
    appendRawInt(header, kHeaderTotalSize);
    appendTaggedLong(header, 0);
    appendRawInt(header, kHeaderIntegrity);
    appendTaggedInt(header, 0);
    Q_ASSERT(header.size() == kHeaderSize);
    if (!mCacheFile.writeAt(0, header))
        return log.ret(kWriteFailed);
    mIntegrityPosition = kIntegrityPayload;
    const int result = writeIntegrityValue();
    if (result != kResultOk)
        return log.ret(result);
    return log.ret(mCacheFile.flush() ? kResultOk : kWriteFailed);
}

int TrackCache::clear()
{
    LogScope log("TrackCache::clear");
    if (!mCacheFile.truncate())
        return log.ret(kWriteFailed);
    return log.ret(writeHeader());
}
