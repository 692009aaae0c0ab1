#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtEndian>

#include <cstring>

namespace CacheEncoding {

// The primitive encodings of the track cache (little-endian, two's complement) and its field ids.

// Field ids of the header and of a track record.
enum FieldId : qint32
{
    kRecordStart = 0,
    kTrackName = 1,
    kAlbumName = 2,
    kArtistName = 3,
    kLocalPath = 4,
    kTrackNumber = 5,
    kFlags = 7,
    kSizeOnDevice = 8,
    kIdOffset = 9,
    kIdLength = 10,
    kDiscNumber = 11, // written only for discs above 1: caches without it read as before
    kHeaderVersion = 1001,
    kHeaderTotalSize = 1002,
    kHeaderIntegrity = 1003,
};

inline void appendRawInt(QByteArray& aOut, qint32 aValue)
{
    char bytes[4];
    qToLittleEndian(aValue, bytes);
    aOut.append(bytes, 4);
}

inline void appendTaggedInt(QByteArray& aOut, qint32 aValue)
{
    appendRawInt(aOut, 4);
    appendRawInt(aOut, aValue);
}

inline void appendTaggedLong(QByteArray& aOut, qint64 aValue)
{
    appendRawInt(aOut, 8);
    char bytes[8];
    qToLittleEndian(aValue, bytes);
    aOut.append(bytes, 8);
}

inline QByteArray utf16Bytes(const QString& aText)
{
    QByteArray bytes(aText.size() * 2, Qt::Uninitialized);
    qToLittleEndian<quint16>(aText.utf16(), aText.size(), bytes.data());
    return bytes;
}

// aText's units as the cache keeps them: its own on a little-endian machine, else converted
// into aStorage.
inline QByteArrayView utf16BytesView(const QString& aText, QByteArray& aStorage)
{
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    Q_UNUSED(aStorage);
    return QByteArrayView(reinterpret_cast<const char*>(aText.utf16()), 2 * aText.size());
#else
    aStorage = utf16Bytes(aText);
    return aStorage;
#endif
}

inline void appendString(QByteArray& aOut, const QString& aText)
{
    const QByteArray bytes = utf16Bytes(aText);
    appendRawInt(aOut, static_cast<qint32>(bytes.size()));
    aOut.append(bytes);
}

inline QString fromUtf16Bytes(const char* aData, qint64 aUnits)
{
    QString text(static_cast<qsizetype>(aUnits), Qt::Uninitialized);
    if (aUnits > 0) // no bytes may come with no address
        qFromLittleEndian<quint16>(aData, static_cast<qsizetype>(aUnits), text.data());
    return text;
}

// Whether aData holds aText's units: a repeated value (the album and artist of an album's
// tracks) is then shared instead of allocated again.
inline bool equalsUtf16Bytes(const QString& aText, const char* aData, qint64 aUnits)
{
    if (aText.size() != aUnits)
        return false;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    return std::memcmp(aText.constData(), aData, static_cast<std::size_t>(2 * aUnits)) == 0;
#else
    for (qsizetype unit = 0; unit < aText.size(); ++unit) {
        if (aText.at(unit).unicode() != qFromLittleEndian<quint16>(aData + 2 * unit))
            return false;
    }
    return true;
#endif
}

} // namespace CacheEncoding
