#pragma once

// XML made to hurt its reader, as a phone, a backup or a planted file could hand it over.
#include <QByteArray>

// A document whose root aRoot holds aBody, under a DOCTYPE of nested entities: "&f;" in aBody
// stands for 40 * 20^5 bytes (5 GB) once expanded.
inline QByteArray entityBomb(const QByteArray& aRoot, const QByteArray& aBody)
{
    QByteArray xml =
        "<?xml version=\"1.0\"?><!DOCTYPE " + aRoot + " [<!ENTITY a \"" + QByteArray(40, 'a') + "\">";
    for (char level = 'b'; level <= 'f'; ++level)
        xml += "<!ENTITY " + QByteArray(1, level) + " \"" +
               QByteArray("&" + QByteArray(1, level - 1) + ";").repeated(20) + "\">";
    return xml + "]>" + aBody;
}
