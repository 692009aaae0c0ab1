#pragma once

// Hand-built track cache bytes, written here independently of the cache's own encoder.
#include <QByteArray>
#include <QString>
#include <QtEndian>

namespace cachebytes {

inline QByteArray raw(qint32 aValue)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(aValue, bytes.data());
    return bytes;
}

inline QByteArray taggedInt(qint32 aValue)
{
    return raw(4) + raw(aValue);
}

inline QByteArray taggedLong(qint64 aValue)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian(aValue, bytes.data());
    return raw(8) + bytes;
}

inline QByteArray utf16(const QString& aText)
{
    QByteArray bytes;
    for (QChar c : aText) {
        bytes.append(static_cast<char>(c.unicode() & 0xff));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

inline QByteArray string(const QString& aText)
{
    return raw(static_cast<qint32>(aText.size() * 2)) + utf16(aText);
}

inline QByteArray header(qint64 aTotal, qint32 aIntegrity)
{
    return raw(1000) + raw(1001) + taggedInt(1) + raw(1002) + taggedLong(aTotal) + raw(1003) +
           taggedInt(aIntegrity);
}

} // namespace cachebytes
