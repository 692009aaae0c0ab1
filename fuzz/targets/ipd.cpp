// A BlackBerry .ipd backup: its databases, then the messages and contacts made from them.
#include "backup/BlackBerryContacts.h"
#include "backup/BlackBerryMessages.h"
#include "backup/IpdDatabases.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    const QString home = fuzz::home();
    IpdDatabases databases;
    databases.read(fuzz::bytes(aData, aSize));
    BlackBerryMessages::write(databases.recordsOf(QStringLiteral("SMS Messages")), home + QStringLiteral("/m.xml"));
    BlackBerryContacts::write(databases.recordsOf(QStringLiteral("Address Book - All")),
                              home + QStringLiteral("/a.xml"));
    return 0;
}
