// The parsed library kept between runs: its file format, checks and atomic replacement.
#include "library/itunes/xml/LibrarySnapshot.h"

#include "app/ApplicationPaths.h"
#include "app/DiagnosticLog.h"
#include "tracks/CacheEncoding.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <zlib.h>

#include <cstring>

namespace {

// "VLTSNAP" and the format's version; a snapshot of another version is parsed again. Version 2
// is little-endian throughout: its text is read without turning each character's bytes round.
constexpr char kMagic[] = "VLTSNAP";
constexpr quint32 kFormatVersion = 2;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_4;
// A snapshot larger than this is not read (100,000 tracks take about 25 MB).
constexpr qint64 kMaxSnapshotBytes = 1024LL * 1024 * 1024;
// The fewest bytes a track and a playlist take in the file: counts are checked against what is
// left before anything is reserved for them.
constexpr qint64 kMinTrackBytes = 4 + 4 * 4 + 8 + 4 + 4 + 8 + 1 + 1;
constexpr qint64 kMinPlaylistBytes = 4 + 4 + 4 + 1 + 4;
// The part of the file at each end whose checksum the identity holds.
constexpr qint64 kEndBytes = 64 * 1024;
// How long before it is read a file must have been modified last to be kept: more than the
// coarsest time granularity of the file systems a library lives on (FAT: 2 s).
constexpr qint64 kSettledNs = 3LL * 1000 * 1000 * 1000;

qint64 nanoseconds(const struct timespec& aTime)
{
    return static_cast<qint64>(aTime.tv_sec) * 1000000000LL + aTime.tv_nsec;
}

quint32 checksum(const char* aData, qint64 aSize)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes at most 4 GB at once; nothing checked here is larger.
    crc = crc32(crc, reinterpret_cast<const Bytef*>(aData), static_cast<uInt>(aSize));
    return static_cast<quint32>(crc);
}

// The checksum of aBytes bytes at aOffset of the open file; 0 when they can't be read whole.
quint32 checksumAt(int aFd, qint64 aOffset, qint64 aBytes)
{
    QByteArray buffer(static_cast<qsizetype>(aBytes), Qt::Uninitialized);
    qint64 done = 0;
    while (done < aBytes) {
        const ssize_t got = ::pread(aFd, buffer.data() + done, static_cast<size_t>(aBytes - done),
                                    static_cast<off_t>(aOffset + done));
        if (got <= 0)
            return 0;
        done += got;
    }
    return checksum(buffer.constData(), aBytes);
}

// Reads a snapshot's payload (what comes before its checksum) straight from its file, a block
// at a time, in the little-endian form QDataStream wrote it, and keeps the CRC-32 of every byte
// it reads: 100,000 tracks' texts are read without a call through a device per value. Offers
// what reading a snapshot takes of QDataStream's interface; a value the payload can't hold
// (too long, or past its end) sets the status, and nothing is allocated for it.
class SnapshotReader
{
public:
    SnapshotReader(QIODevice& aFile, qint64 aPayload) : mFile(aFile), mPayload(aPayload) {}

    QDataStream::Status status() const { return mStatus; }
    // Every byte of the payload read, and nothing went wrong.
    bool atEnd() const { return mStatus == QDataStream::Ok && mConsumed == mPayload; }
    quint32 checksum() const { return static_cast<quint32>(mCrc); }

    int readRawData(char* aData, int aLength)
    {
        if (!take(aLength))
            return -1;
        std::memcpy(aData, mBuffer.constData() + mAt - aLength, static_cast<std::size_t>(aLength));
        return aLength;
    }
    template <typename Integer> SnapshotReader& readInteger(Integer& aValue)
    {
        aValue = 0;
        if (take(sizeof aValue))
            aValue = qFromLittleEndian<Integer>(mBuffer.constData() + mAt - qsizetype(sizeof aValue));
        return *this;
    }
    SnapshotReader& operator>>(qint32& aValue) { return readInteger(aValue); }
    SnapshotReader& operator>>(quint32& aValue) { return readInteger(aValue); }
    SnapshotReader& operator>>(qint64& aValue) { return readInteger(aValue); }
    SnapshotReader& operator>>(quint64& aValue) { return readInteger(aValue); }
    SnapshotReader& operator>>(bool& aValue)
    {
        qint8 byte = 0;
        readInteger(byte);
        aValue = byte != 0;
        return *this;
    }
    SnapshotReader& operator>>(double& aValue)
    {
        quint64 bits = 0;
        readInteger(bits);
        std::memcpy(&aValue, &bits, sizeof aValue);
        return *this;
    }
    SnapshotReader& operator>>(QString& aValue) { return readString(aValue, nullptr); }
    // A string equal to *aLikely (when given) is given its text, shared, instead of a copy of
    // its own.
    SnapshotReader& readString(QString& aValue, const QString* aLikely)
    {
        aValue = QString();
        quint32 bytes = 0;
        readInteger(bytes);
        if (mStatus != QDataStream::Ok || bytes == 0xFFFFFFFFu) // a null string
            return *this;
        if (bytes % 2 != 0 || bytes > mPayload - mConsumed) {
            mStatus = QDataStream::ReadCorruptData;
            return *this;
        }
        if (!take(bytes))
            return *this;
        // The track cache's text is the same UTF-16, little-endian: read the same way.
        const char* text = mBuffer.constData() + mAt - bytes;
        const qint64 units = bytes / 2;
        if (aLikely && units > 0 && CacheEncoding::equalsUtf16Bytes(*aLikely, text, units))
            aValue = *aLikely;
        else
            aValue = CacheEncoding::fromUtf16Bytes(text, units);
        return *this;
    }

private:
    static constexpr qint64 kBlock = 256 * 1024;

    // Moves past aLength bytes, reading more of the file first when the buffer holds fewer.
    bool take(qint64 aLength)
    {
        if (mStatus != QDataStream::Ok)
            return false;
        if (aLength > mPayload - mConsumed) {
            mStatus = QDataStream::ReadPastEnd;
            return false;
        }
        if (aLength > mBuffer.size() - mAt && !fill(aLength))
            return false;
        mAt += aLength;
        mConsumed += aLength;
        return true;
    }
    bool fill(qint64 aLength)
    {
        const qint64 kept = mBuffer.size() - mAt;
        std::memmove(mBuffer.data(), mBuffer.constData() + mAt, static_cast<std::size_t>(kept));
        const qint64 wanted = qMin(qMax(aLength, kBlock), mPayload - mConsumed);
        mBuffer.resize(static_cast<qsizetype>(wanted));
        mAt = 0;
        for (qint64 have = kept; have < wanted;) {
            const qint64 got = mFile.read(mBuffer.data() + have, wanted - have);
            if (got <= 0) { // a file shorter than it was
                mStatus = QDataStream::ReadPastEnd;
                return false;
            }
            mCrc = crc32(mCrc, reinterpret_cast<const Bytef*>(mBuffer.constData() + have),
                         static_cast<uInt>(got));
            have += got;
        }
        return true;
    }

    QIODevice& mFile;
    const qint64 mPayload;
    qint64 mConsumed = 0;
    QByteArray mBuffer;
    qint64 mAt = 0; // the next byte's place in mBuffer
    QDataStream::Status mStatus = QDataStream::Ok;
    uLong mCrc = crc32(0L, Z_NULL, 0);
};

void readIdentity(SnapshotReader& aStream, LibrarySnapshot::FileIdentity& aIdentity)
{
    aStream >> aIdentity.path >> aIdentity.device >> aIdentity.inode >> aIdentity.size >>
        aIdentity.modifiedNs >> aIdentity.changedNs >> aIdentity.headChecksum >> aIdentity.tailChecksum;
    aIdentity.valid = aStream.status() == QDataStream::Ok;
}

void writeIdentity(QDataStream& aStream, const LibrarySnapshot::FileIdentity& aIdentity)
{
    aStream << aIdentity.path << aIdentity.device << aIdentity.inode << aIdentity.size << aIdentity.modifiedNs
            << aIdentity.changedNs << aIdentity.headChecksum << aIdentity.tailChecksum;
}

// Passes what is written on to a file in blocks of 64 KB and keeps the CRC-32 of it.
class ChecksummedWriter : public QIODevice
{
public:
    explicit ChecksummedWriter(QIODevice& aTarget) : mTarget(aTarget) { mBlock.reserve(kBlock); }
    // Writes what is left; false when the file took less than all.
    bool finish() { return flush(); }
    quint32 checksum() const { return static_cast<quint32>(mCrc); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* aData, qint64 aSize) override
    {
        mBlock.append(aData, static_cast<qsizetype>(aSize));
        if (mBlock.size() >= kBlock && !flush())
            return -1;
        return aSize;
    }

private:
    static constexpr qsizetype kBlock = 64 * 1024;
    bool flush()
    {
        mCrc =
            crc32(mCrc, reinterpret_cast<const Bytef*>(mBlock.constData()), static_cast<uInt>(mBlock.size()));
        const bool whole = mTarget.write(mBlock) == mBlock.size();
        mBlock.clear();
        return whole;
    }

    QIODevice& mTarget;
    QByteArray mBlock;
    uLong mCrc = crc32(0L, Z_NULL, 0);
};

// Reads the tracks and playlists after the identity; false on anything that doesn't fit.
bool readLibrary(SnapshotReader& aStream, qint64 aBytes, XmlLibrary& aLibrary)
{
    aStream >> aLibrary.musicFolder;
    quint32 trackCount = 0;
    aStream >> trackCount;
    if (aStream.status() != QDataStream::Ok || trackCount > aBytes / kMinTrackBytes)
        return false;
    aLibrary.tracks.resize(trackCount);
    const XmlLibrary::TrackData* previous = nullptr;
    for (XmlLibrary::TrackData& track : aLibrary.tracks) {
        qint32 id = 0, trackNumber = 0, discNumber = 0;
        // An album's tracks mostly follow each other: they share one artist and one album string.
        aStream >> id >> track.name;
        aStream.readString(track.artist, previous ? &previous->artist : nullptr);
        aStream.readString(track.album, previous ? &previous->album : nullptr);
        aStream >> track.location >> track.size >> trackNumber >> discNumber >> track.dateAdded >>
            track.compilation >> track.hasFile;
        if (aStream.status() != QDataStream::Ok)
            return false;
        previous = &track;
        track.id = id;
        track.trackNumber = trackNumber;
        track.discNumber = discNumber;
    }
    quint32 playlistCount = 0;
    aStream >> playlistCount;
    if (aStream.status() != QDataStream::Ok || playlistCount > aBytes / kMinPlaylistBytes)
        return false;
    aLibrary.playlists.resize(playlistCount);
    for (XmlLibrary::PlaylistData& playlist : aLibrary.playlists) {
        qint32 kind = 0, specialKind = 0;
        quint32 entries = 0;
        aStream >> playlist.name >> kind >> specialKind >> playlist.smart >> entries;
        if (aStream.status() != QDataStream::Ok || entries > aBytes / 4)
            return false;
        playlist.kind = kind;
        playlist.specialKind = specialKind;
        playlist.tracks.resize(entries);
        for (int& track : playlist.tracks) {
            qint32 index = 0;
            aStream >> index;
            // Every entry names a track of this snapshot.
            if (index < 0 || static_cast<quint32>(index) >= trackCount)
                return false;
            track = index;
        }
        if (aStream.status() != QDataStream::Ok)
            return false;
    }
    return aStream.status() == QDataStream::Ok && aStream.atEnd();
}

} // namespace

bool LibrarySnapshot::FileIdentity::settled() const
{
    return valid && lookedAtNs - modifiedNs >= kSettledNs;
}

bool LibrarySnapshot::FileIdentity::operator==(const FileIdentity& aOther) const
{
    return valid && aOther.valid && path == aOther.path && device == aOther.device && inode == aOther.inode &&
           size == aOther.size && modifiedNs == aOther.modifiedNs && changedNs == aOther.changedNs &&
           headChecksum == aOther.headChecksum && tailChecksum == aOther.tailChecksum;
}

LibrarySnapshot::LibrarySnapshot()
    : LibrarySnapshot(ApplicationPaths::kordaFolder() + QStringLiteral("/library-snapshot"))
{
}

LibrarySnapshot::LibrarySnapshot(const QString& aSnapshotPath, const QString& aVersion)
    : mPath(aSnapshotPath), mVersion(aVersion.isEmpty() ? QStringLiteral(VELTRANE_VERSION) : aVersion)
{
}

LibrarySnapshot::FileIdentity LibrarySnapshot::identityOf(const QString& aLibraryFile)
{
    QFile file(aLibraryFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return identityOf(file.handle(), aLibraryFile);
}

LibrarySnapshot::FileIdentity LibrarySnapshot::identityOf(int aFd, const QString& aLibraryFile)
{
    FileIdentity identity;
    struct stat status = {};
    if (aFd < 0 || ::fstat(aFd, &status) != 0 || !S_ISREG(status.st_mode))
        return identity;
    struct timespec now = {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    identity.lookedAtNs = nanoseconds(now);
    identity.path = QFileInfo(aLibraryFile).absoluteFilePath();
    identity.device = static_cast<quint64>(status.st_dev);
    identity.inode = static_cast<quint64>(status.st_ino);
    identity.size = static_cast<qint64>(status.st_size);
    identity.modifiedNs = nanoseconds(status.st_mtim);
    identity.changedNs = nanoseconds(status.st_ctim);
    const qint64 head = qMin(identity.size, kEndBytes);
    const qint64 tailStart = qMax(qint64(0), identity.size - kEndBytes);
    identity.headChecksum = checksumAt(aFd, 0, head);
    identity.tailChecksum = checksumAt(aFd, tailStart, identity.size - tailStart);
    identity.valid = true;
    return identity;
}

bool LibrarySnapshot::load(const FileIdentity& aIdentity, XmlLibrary& aLibrary) const
{
    if (!aIdentity.valid)
        return false;
    QFile file(mPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxSnapshotBytes || file.size() < 12)
        return false;
    // The checksum of everything before its last 4 bytes is kept there: what is read is used
    // only when the two agree.
    const qint64 payload = file.size() - 4;
    SnapshotReader stream(file, payload);
    char magic[sizeof kMagic] = {};
    quint32 version = 0;
    if (stream.readRawData(magic, sizeof magic) != static_cast<int>(sizeof magic) ||
        qstrncmp(magic, kMagic, sizeof magic) != 0)
        return false;
    QString writtenBy;
    stream >> version >> writtenBy;
    if (version != kFormatVersion || writtenBy != mVersion)
        return false;
    FileIdentity kept;
    readIdentity(stream, kept);
    if (kept != aIdentity)
        return false;
    XmlLibrary read;
    const bool whole = readLibrary(stream, payload, read);
    QDataStream trailer(&file);
    quint32 stored = 0;
    trailer >> stored;
    if (!whole || trailer.status() != QDataStream::Ok || stored != stream.checksum()) {
        logValue("! Library snapshot damaged: parsing the library", mPath);
        return false;
    }
    aLibrary.musicFolder = std::move(read.musicFolder);
    aLibrary.tracks = std::move(read.tracks);
    aLibrary.playlists = std::move(read.playlists);
    return true;
}

bool LibrarySnapshot::save(const FileIdentity& aIdentity, const XmlLibrary& aLibrary) const
{
    if (!aIdentity.settled())
        return false;
    // Written straight into the file (a 100,000-track snapshot is 28 MB), the checksum kept on
    // the way; a half-written snapshot never takes the old one's place.
    QDir().mkpath(QFileInfo(mPath).absolutePath());
    QSaveFile file(mPath);
    ChecksummedWriter body(file);
    if (!file.open(QIODevice::WriteOnly) || !body.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        logValue("! Library snapshot not written", mPath);
        return false;
    }
    QDataStream stream(&body);
    stream.setVersion(kStreamVersion);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.writeRawData(kMagic, sizeof kMagic);
    stream << kFormatVersion << mVersion;
    writeIdentity(stream, aIdentity);
    stream << aLibrary.musicFolder << static_cast<quint32>(aLibrary.tracks.size());
    for (const XmlLibrary::TrackData& track : aLibrary.tracks)
        stream << static_cast<qint32>(track.id) << track.name << track.artist << track.album << track.location
               << track.size << static_cast<qint32>(track.trackNumber)
               << static_cast<qint32>(track.discNumber) << track.dateAdded << track.compilation
               << track.hasFile;
    stream << static_cast<quint32>(aLibrary.playlists.size());
    for (const XmlLibrary::PlaylistData& playlist : aLibrary.playlists) {
        stream << playlist.name << static_cast<qint32>(playlist.kind)
               << static_cast<qint32>(playlist.specialKind) << playlist.smart
               << static_cast<quint32>(playlist.tracks.size());
        for (int track : playlist.tracks)
            stream << static_cast<qint32>(track);
    }
    const bool written = stream.status() == QDataStream::Ok && body.finish();
    QDataStream trailer(&file);
    trailer << body.checksum();
    if (!written || trailer.status() != QDataStream::Ok || !file.commit()) {
        logValue("! Library snapshot not written", mPath);
        return false;
    }
    return true;
}
