#pragma once

#include "extract/ManifestEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Reads Manifest.mbdb (backups before iOS 10): the header "mbdb\5\0", then one record per file
// of big-endian fields: domain, path, link target, data hash and encryption key as strings (a
// 16-bit length, 0xFFFF for none), mode (16 bits), inode (64), uid, gid, mtime, atime, ctime
// (32 each), size (64), protection class and property count (8 each), then the properties as
// name and value strings. A file's bytes are kept under the SHA-1 of "domain-path", in hex.
// Every length is checked against what is left of the file: a cut or damaged manifest ends the
// reading at the damaged record, with the records before it kept.
class ManifestMbdbReader
{
public:
    static bool read(const QString& aPath, QList<ManifestEntry>& aEntries, QString& aError);
    // The same, on the manifest's bytes.
    static bool parse(const QByteArray& aData, QList<ManifestEntry>& aEntries, QString& aError);
};
