// The library snapshot in the home folder (maybe damaged or planted): the fuzzer's bytes are its
// body, behind a header naming a real library file and before a correct checksum, so that every
// input reaches the reader of tracks and playlists.
#include "fuzz/FuzzSupport.h"
#include "library/itunes/xml/LibrarySnapshot.h"

#include <QDataStream>

#include <zlib.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    static const QString library = fuzz::file(QStringLiteral("library.xml"), QByteArray("<plist/>"));
    static const LibrarySnapshot::FileIdentity identity = LibrarySnapshot::identityOf(library);
    QByteArray bytes;
    {
        // Format 2: little-endian, the checksum after it big-endian.
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream.setVersion(QDataStream::Qt_6_4);
        stream.setByteOrder(QDataStream::LittleEndian);
        stream.writeRawData("VLTSNAP", 8);
        stream << quint32(2) << QStringLiteral("fuzz") << identity.path << identity.device << identity.inode
               << identity.size << identity.modifiedNs << identity.changedNs << identity.headChecksum
               << identity.tailChecksum;
        stream.writeRawData(reinterpret_cast<const char*>(aData), static_cast<int>(aSize));
        const quint32 checksum = static_cast<quint32>(crc32(crc32(0L, Z_NULL, 0),
                                                            reinterpret_cast<const Bytef*>(bytes.constData()),
                                                            static_cast<uInt>(bytes.size())));
        stream.setByteOrder(QDataStream::BigEndian);
        stream << checksum;
    }
    const QString path = fuzz::file(QStringLiteral("KORDA/library-snapshot"), bytes);
    XmlLibrary read;
    LibrarySnapshot(path, QStringLiteral("fuzz")).load(identity, read);
    return 0;
}
