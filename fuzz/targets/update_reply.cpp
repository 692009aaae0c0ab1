// The update watcher's reply (a server's, or whoever answers in its place).
#include "fuzz/FuzzSupport.h"
#include "ui/SoftwareUpdateWatcher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    fuzz::home();
    static SoftwareUpdateWatcher watcher;
    watcher.parse(fuzz::bytes(aData, aSize));
    return 0;
}
