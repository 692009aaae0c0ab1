#pragma once

#include "tracks/KnownTexts.h"
#include "tracks/RecordFile.h"

#include <QString>

#include <deque>
#include <functional>
#include <memory>

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
    // aKnownTexts gives texts (the library's) that the tracks read share rather than copy:
    // asked first without waiting (aWait false), and once the records are found, with waiting
    // while they are being made (the library being read).
    using KnownTextsSource = std::function<std::shared_ptr<const KnownTexts>(bool aWait)>;
    int updateTrackList(TrackList& aTrackList, int aMaximum, const KnownTextsSource& aKnownTexts = nullptr);
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
    // Where a record's text lies in the cache file. The texts are decoded once the whole record
    // is read: the library's track of the record's path has the texts it most likely holds, and
    // those are shared rather than decoded again.
    struct TextAt
    {
        qint64 position = 0;
        qint64 units = 0;
    };
    struct RecordTexts
    {
        TextAt name, album, artist, path;
    };
    Read skipString(TextAt& aText);
    Read viewText(const TextAt& aText, const char*& aBytes);
    // aKnown (the library's, or null), then aLikely (the last record's) when equal, else decoded.
    Read readText(const TextAt& aText, const QString* aKnown, const QString& aLikely, QString& aValue);
    Read readTexts(const RecordTexts& aTexts, QString& aName, QString& aAlbum, QString& aArtist,
                   QString& aPath);
    // A record as found in the file: its values, and where its texts and device identifier lie.
    struct Record
    {
        RecordTexts texts;
        TextAt id; // in the IDs file
        qint64 idPosition = 0;
        qint64 sizeOnDevice = 0;
        qint32 trackNumber = 0, discNumber = 0, flags = 0, flagsPosition = 0;
    };
    // The next record, checked whole; the codes of readTrack().
    int readRecord(Record& aRecord);
    // Reads aRecord's texts and device identifier into aTrack.
    int makeTrack(const Record& aRecord, Track& aTrack);
    // Lists aRecords' tracks in their order, up to the first that can't be made; empties aRecords.
    int addRecords(std::deque<Record>& aRecords, TrackList& aTrackList);
    int readFlagsAt(qint32 aFlagsFilePosition, qint32& aFlags);
    int appendRecord(Track& aTrack, qint32 aFlags, qint64 aIdOffset, qint32 aIdLength);

    RecordFile mCacheFile;
    RecordFile mIdsFile;
    qint64 mReadPosition = 0;
    QString mPreviousAlbum, mPreviousArtist; // the last record's: an album's records follow each other
    const KnownTexts* mKnownTexts = nullptr; // while a list is read, once it has some
    int mKnownNear = -1;                     // where the last record's texts were found
    qint64 mTotalSizeOfUploadedFiles = 0;
    qint64 mTotalSizePosition = 0;
    qint64 mIntegrityPosition = 0;
};
