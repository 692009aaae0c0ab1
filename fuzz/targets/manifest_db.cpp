// An iPhone backup's Manifest.db (a SQLite database the backup holds).
#include "extract/ManifestDbReader.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    const QString path = fuzz::file(QStringLiteral("backup/Manifest.db"), fuzz::bytes(aData, aSize));
    QFile::remove(path + QStringLiteral("-wal"));
    QList<ManifestEntry> entries;
    QString error;
    ManifestDbReader::read(path, entries, error);
    return 0;
}
