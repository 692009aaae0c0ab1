#include "backup/TypedStreamText.h"

namespace {

quint64 littleEndian(const QByteArray& aData, qsizetype aPos, int aBytes)
{
    quint64 value = 0;
    for (int i = aBytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<quint8>(aData.at(aPos + i));
    return value;
}

} // namespace

QString TypedStreamText::text(const QByteArray& aBody)
{
    const QByteArray className("NSString");
    const qsizetype found = aBody.indexOf(className);
    if (found < 0)
        return QString();
    qsizetype pos = found + className.size();
    // Class version and type markers come before the string: "\x01\x94\x84\x01+". Without them
    // the length follows the class name at once.
    const qsizetype marker = aBody.indexOf('+', pos);
    if (marker >= 0 && marker - pos <= 5)
        pos = marker + 1;
    if (pos >= aBody.size())
        return QString();
    const quint8 first = static_cast<quint8>(aBody.at(pos++));
    quint64 length = first;
    if (first == 0x81 || first == 0x82) {
        const int bytes = first == 0x81 ? 2 : 4;
        if (aBody.size() - pos < bytes)
            return QString();
        length = littleEndian(aBody, pos, bytes);
        pos += bytes;
    }
    if (length > static_cast<quint64>(aBody.size() - pos))
        return QString();
    return QString::fromUtf8(aBody.constData() + pos, static_cast<qsizetype>(length));
}
