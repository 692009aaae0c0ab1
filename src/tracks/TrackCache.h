#pragma once

#include "tracks/RecordFile.h"

#include <QString>

class Track;
class TrackList;

// The per-device record of the tracks put on the device: the cache file (a 44-byte header, then
// one record per uploaded track) and beside it the persistent IDs file (the device-side
// identifiers as UTF-16 text, pointed into by the records). Both are little-endian binary files
// extended and changed in place. Used by the sync thread alone, for one run at a time.
class TrackCache
{
public:
    static constexpr int kResultOk = 0;
    static constexpr int kNewCacheFile = -5001;
    static constexpr int kEndOfFile = -5002;
    static constexpr int kCannotOpen = -6001;
    static constexpr int kWriteFailed = -6002;
    static constexpr int kReadFailed = -6003;
    static constexpr int kFormatError = -6004;

    static constexpr qint32 kFormatMark = 1000;
    static constexpr qint32 kFlagOnDevice = 1;
    static constexpr qint32 kFlagConvertedToMp3 = 2;

    TrackCache() = default;
    ~TrackCache();
    TrackCache(const TrackCache&) = delete;
    TrackCache& operator=(const TrackCache&) = delete;

    // Opens the device's cache named in the settings; -5001 when a new, empty cache was made.
    int open(const QString& aDeviceId);
    // Removes the device's cache and IDs files (a full resynchronisation), only ever in the
    // KORDA folder whatever the settings name; 0, or the codes of open().
    static int removeFiles(const QString& aDeviceId);
    // Opens the cache at aCachePath and its IDs file aCachePath + "p".
    int openFiles(const QString& aCachePath);
    int readHeader();
    int readTrack(Track& aTrack);
    int readAndAddTrack(TrackList& aTrackList);
    // Reads up to aMaximum records (-1: all) into aTrackList; the end of the file is success.
    int updateTrackList(TrackList& aTrackList, int aMaximum);
    // Records an upload; a track with a record is marked in place, others get a new record (and
    // then carry its positions).
    int addTrack(Track& aTrack);
    int removeDeletedTrack(const Track& aTrack);
    int setTotalSizeOfUploadedFiles(qint64 aTotal);
    int incrementTotalSizeOfUploadedFiles(qint64 aDelta);
    int decrementTotalSizeOfUploadedFiles(qint64 aDelta);
    int writeIntegrityValue();
    int writeHeader();
    int clear();
    // Writes both files anew from aTracks (the records read before a damage): each track gets a
    // record with its flags and device identifier, and its new record positions.
    int rewrite(TrackList& aTracks);
    void close();

    qint64 totalSizeOfUploadedFiles() const { return mTotalSizeOfUploadedFiles; }
    bool isOpen() const { return mCacheFile.isOpen(); }

private:
    enum class Read
    {
        Ok,
        AtEnd,
        Bad,    // the file ends inside a value, or holds an impossible value
        Failed, // the system refused the read
    };
    Read readBytes(char* aData, qint64 aLength);
    Read readRawInt(qint32& aValue);
    Read readTaggedInt(qint32& aValue);
    Read readTaggedLong(qint64& aValue);
    // aLikely: the value this field most often repeats, shared when the record holds it again.
    Read readString(QString& aValue, const QString& aLikely = QString());
    int readFlagsAt(qint32 aFlagsFilePosition, qint32& aFlags);
    int appendRecord(Track& aTrack, qint32 aFlags, qint64 aIdOffset, qint32 aIdLength);

    RecordFile mCacheFile;
    RecordFile mIdsFile;
    qint64 mReadPosition = 0;
    QString mPreviousAlbum, mPreviousArtist; // the last record's: an album's records follow each other
    qint64 mTotalSizeOfUploadedFiles = 0;
    qint64 mTotalSizePosition = 0;
    qint64 mIntegrityPosition = 0;
};
