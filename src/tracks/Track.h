#pragma once

#include <QString>
#include <QStringView>
#include <QVarLengthArray>
#include <QtGlobal>

// The record of one music file in a sync: made by the library scan for the files on the chosen
// playlists and by the track cache for the music already on the device, merged by unique id.
// A plain value: copies are independent.
class Track
{
public:
    Track() = default;
    // The library form.
    Track(const QString& aTrackName, const QString& aAlbumName, const QString& aArtistName,
          int aTrackNumberOnAlbum, const QString& aPath, bool aOnLocalSyncPlaylist, bool aOnRemoteDevice,
          bool aInCache, const QString& aDeviceId = QString());

    // The cache form (the texts are taken over: a reader moves them in).
    void set(QString aTrackName, QString aAlbumName, QString aArtistName, int aTrackNumberOnAlbum,
             QString aPath, bool aOnLocalSyncPlaylist, bool aOnRemoteDevice, bool aInCache,
             qint32 aFlagsFilePosition, QString aDeviceId, qint64 aSizeOnDevice);

    // Title + album + artist + track number, the disc number when above 1, then "mp3" when the
    // device copy is or will be an MP3. Tracks on disc 1 or without a disc number keep the
    // identity they had before disc numbers counted, so caches written then stay valid.
    QString uniqueId() const;
    // The unique id written into a buffer on the stack, and returned as a view of it: looking
    // a track up allocates nothing.
    using IdText = QVarLengthArray<QChar, 256>;
    QStringView writeUniqueId(IdText& aText) const;
    // Whether aId is this track's unique id (compared piece by piece, with no id made for it).
    bool hasUniqueId(QStringView aId) const;
    bool needsConversion() const;
    // The last three characters of the path; empty for paths under four characters.
    QString extension() const;
    // The converter's output for a track that needs conversion, else the local file.
    QString uploadSourcePath() const;
    // Bytes on the device: the recorded size while the track has a device identity, else 0.
    qint64 sizeOnDevice() const;
    // Takes aOther's copy of each text (title, album, artist, path) equal to its own, so that
    // the two tracks share one.
    void shareTextsWith(const Track& aOther);
    // Writes the track to the diagnostics log.
    void dump() const;

    const QString& trackName() const { return mTrackName; }
    const QString& albumName() const { return mAlbumName; }
    const QString& artistName() const { return mArtistName; }
    const QString& path() const { return mPath; }
    int trackNumberOnAlbum() const { return mTrackNumberOnAlbum; }
    int discNumber() const { return mDiscNumber; }
    const QString& iTunesId() const { return mITunesId; }
    const QString& deviceId() const { return mDeviceId; }
    // The library id as its decimal text (made when asked for: it is kept as its number).
    QString getLibraryId() const;
    // The library id's number, when it is the decimal form of one (every id a library gives).
    bool libraryNumber(int& aNumber) const
    {
        aNumber = mLibraryNumber;
        return mHasLibraryId && mLibraryNumber >= 0;
    }
    bool hasLibraryId() const { return mHasLibraryId; }
    bool onLocalSyncPlaylist() const { return mOnLocalSyncPlaylist; }
    bool onRemoteDevice() const { return mOnRemoteDevice; }
    bool inCache() const { return mInCache; }
    qint32 flagsFilePosition() const { return mFlagsFilePosition; }
    qint64 idFilePosition() const { return mIdFilePosition; }
    qint64 recordedSizeOnDevice() const { return mSizeOnDevice; }
    qint64 localSize() const { return mLocalSize; }
    qint64 dateAdded() const { return mDateAdded; }
    bool convertToMp3() const { return mConvertToMp3; }
    int bitRate() const { return mBitRate; }
    bool convertedToMp3() const { return mConvertedToMp3; }
    bool isCompilation() const { return mIsCompilation; }

    void setPath(const QString& aPath) { mPath = aPath; }
    void setDiscNumber(int aDisc) { mDiscNumber = aDisc; }
    void setITunesId(const QString& aId) { mITunesId = aId; }
    void setDeviceId(const QString& aId) { mDeviceId = aId; }
    void setLibraryId(const QString& aId);
    void setLibraryIdOf(const Track& aOther)
    {
        libraryId = aOther.libraryId;
        mLibraryNumber = aOther.mLibraryNumber;
        mHasLibraryId = aOther.mHasLibraryId;
    }
    // aId as a number, when it is the decimal form of one ("0", "7", "4711"; not "007" or "-1").
    static bool plainNumber(QStringView aId, int& aNumber);
    void setOnLocalSyncPlaylist(bool aValue) { mOnLocalSyncPlaylist = aValue; }
    void setOnRemoteDevice(bool aValue) { mOnRemoteDevice = aValue; }
    void setInCache(bool aValue) { mInCache = aValue; }
    void setFlagsFilePosition(qint32 aPosition) { mFlagsFilePosition = aPosition; }
    void setIdFilePosition(qint64 aPosition) { mIdFilePosition = aPosition; }
    void setSizeOnDevice(qint64 aSize) { mSizeOnDevice = aSize; }
    void setLocalSize(qint64 aSize) { mLocalSize = aSize; }
    void setDateAdded(qint64 aDate) { mDateAdded = aDate; }
    void setConvertToMp3(bool aValue) { mConvertToMp3 = aValue; }
    void setBitRate(int aKbps) { mBitRate = aKbps; }
    void setConvertedToMp3(bool aValue) { mConvertedToMp3 = aValue; }
    void setIsCompilation(bool aValue) { mIsCompilation = aValue; }

private:
    struct IdEnding;
    template <typename Text> void fillUniqueId(Text& aText) const;

    QString mTrackName;
    QString mAlbumName;
    QString mArtistName;
    QString mPath;
    qint32 mTrackNumberOnAlbum = 0;
    qint32 mDiscNumber = 0; // 0: not known
    QString mITunesId;
    QString mDeviceId;
    QString libraryId;          // an id that is no plain number (none a library gives)
    qint32 mLibraryNumber = -1; // an id that is: a string per track of 100,000 isn't kept
    bool mHasLibraryId = false;
    bool mOnLocalSyncPlaylist = false;
    bool mOnRemoteDevice = false;
    bool mInCache = false;
    qint32 mFlagsFilePosition = 0;
    qint64 mIdFilePosition = 0;
    qint64 mSizeOnDevice = 0;
    qint64 mLocalSize = 0;
    qint64 mDateAdded = 0;
    bool mConvertToMp3 = false;
    qint32 mBitRate = 0;
    bool mConvertedToMp3 = false;
    bool mIsCompilation = false;
};
