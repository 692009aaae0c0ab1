// The date columns of a backup's databases, as text.
#include "backup/BackupDates.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    fuzz::home();
    const QString text = QString::fromUtf8(fuzz::bytes(aData, aSize));
    BackupDates::fromReferenceSeconds(text);
    BackupDates::fromBirthday(text);
    BackupDates::fromMessageDate(text.toLongLong());
    return 0;
}
