// A backup's Info.plist and Manifest.plist, in XML or binary, and a message's recipients.
#include "backup/DeviceNameContentHandler.h"
#include "backup/PropertyList.h"
#include "backup/RecipientPlistContentHandler.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    fuzz::home();
    const QByteArray bytes = fuzz::bytes(aData, aSize);
    DeviceNameContentHandler name;
    PropertyList::parse(bytes, name);
    RecipientPlistContentHandler recipients;
    PropertyList::parse(bytes, recipients);
    PropertyList::topLevelBool(bytes, QStringLiteral("IsEncrypted"));
    return 0;
}
