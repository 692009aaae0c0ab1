// A note's body as iOS 9 and later store it: gzip around a protobuf.
#include "backup/NoteStoreBody.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    fuzz::home();
    const QByteArray bytes = fuzz::bytes(aData, aSize);
    NoteStoreBody::text(bytes);
    NoteStoreBody::gunzip(bytes);
    return 0;
}
