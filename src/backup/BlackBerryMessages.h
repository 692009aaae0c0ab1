#pragma once

#include "backup/IpdDatabases.h"

#include <QString>

// messages.xml from the records of a BlackBerry "SMS Messages" database: field 1 the header
// (first byte 1 for a sent message; past 20 bytes, bytes 13 to 20 the time in milliseconds since
// 1970, little-endian), field 2 the address, field 4 the text (UTF-16 big-endian when field 7
// starts with 2, else UTF-8). A record lacking one of these fields is no message.
class BlackBerryMessages
{
public:
    static bool write(const QList<IpdRecord>& aRecords, const QString& aXmlPath);
};
