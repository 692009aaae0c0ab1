#pragma once

#include "backup/IpdDatabases.h"

#include <QString>

// address.xml from the records of a BlackBerry "Address Book - All" database. Each record is a
// person; its fields of type 10 hold subfields (a 16-bit little-endian length, a type, the data)
// for names, numbers, e-mail, organisation, web page and the home and work addresses. Texts are
// single bytes, or, with bit 0x80 of the type set, UTF-8 (first byte 0) or UTF-16 big-endian
// (first byte 1).
class BlackBerryContacts
{
public:
    static bool write(const QList<IpdRecord>& aRecords, const QString& aXmlPath);
};
