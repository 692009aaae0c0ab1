// The extractor's file list, as the run reads it back (the extractor is another process).
#include "backup/AppleExtractor.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    const QString home = fuzz::home();
    QDir().mkpath(home + QStringLiteral("/extracted"));
    const QString list = fuzz::file(QStringLiteral("extracted/backup_file_list"), fuzz::bytes(aData, aSize));
    AppleExtractor extractor;
    extractor.readFileList(list, home + QStringLiteral("/extracted"));
    return 0;
}
