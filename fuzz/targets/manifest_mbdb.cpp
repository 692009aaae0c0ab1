// An older iPhone backup's Manifest.mbdb.
#include "extract/ManifestMbdbReader.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    fuzz::home();
    QList<ManifestEntry> entries;
    QString error;
    ManifestMbdbReader::parse(fuzz::bytes(aData, aSize), entries, error);
    return 0;
}
