#pragma once

#include "extract/ManifestEntry.h"

#include <QList>
#include <QString>

// Reads Manifest.db (iOS 10 and later): the table Files lists fileID, domain, relativePath and
// flags (1 a file, 2 a folder, 4 a link); a file's bytes are kept at
// "<first two characters of fileID>/<fileID>". The database is opened immutable and read-only,
// so the backup is never touched, not even by a journal or a WAL index.
class ManifestDbReader
{
public:
    // The regular files of the manifest. False, with aError set, when it is not a readable
    // SQLite database (an encrypted backup's Manifest.db is not) or has no usable Files table.
    static bool read(const QString& aPath, QList<ManifestEntry>& aEntries, QString& aError);
};
