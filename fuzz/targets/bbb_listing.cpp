// 7z's listing of a .bbb archive, whose names and attributes the archive's author chose.
#include "backup/BbbArchive.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    fuzz::home();
    QString error;
    BbbArchive::checkListing(QString::fromUtf8(fuzz::bytes(aData, aSize)), error);
    return 0;
}
