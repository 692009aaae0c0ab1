// A message's body in typedstream form (a backup's sms.db attributedBody).
#include "backup/TypedStreamText.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    fuzz::home();
    TypedStreamText::text(fuzz::bytes(aData, aSize));
    return 0;
}
