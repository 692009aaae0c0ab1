// A backup's databases as the exporters read them (messages, contacts, calendar, notes).
#include "backup/AppleExtractor.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    const QString home = fuzz::home();
    const QString database = fuzz::file(QStringLiteral("extracted/db.sqlite"), fuzz::bytes(aData, aSize));
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
        QFile::remove(database + suffix);
    AppleExtractor extractor;
    extractor.mSmsDatabases << database;
    extractor.mAddressBookDatabases << database;
    extractor.mCalendarDatabases << database;
    extractor.mNotesDatabases << database;
    const QString out = home + QStringLiteral("/out.xml");
    extractor.generateMessagesXML(home, out);
    extractor.generateAddressBookXML(home, out);
    extractor.generateCalendarXML(home, out);
    extractor.generateNotesXML(home, out);
    return 0;
}
