#include "support/ZipWriter.h"

#include <zlib.h>

namespace {

void le(QByteArray& aOut, quint64 aValue, int aBytes)
{
    for (int i = 0; i < aBytes; ++i)
        aOut.append(static_cast<char>((aValue >> (8 * i)) & 0xFF));
}

} // namespace

void ZipWriter::addFile(const QByteArray& aName, const QByteArray& aContent)
{
    mEntries.append({aName, aContent, 0100644u << 16});
}

void ZipWriter::addLink(const QByteArray& aName, const QByteArray& aTarget)
{
    mEntries.append({aName, aTarget, 0120777u << 16});
}

QByteArray ZipWriter::bytes() const
{
    QByteArray out;
    QByteArray central;
    for (const Entry& entry : mEntries) {
        const quint32 crc =
            static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>(entry.content.constData()),
                                       static_cast<uInt>(entry.content.size())));
        const quint64 offset = static_cast<quint64>(out.size());
        le(out, 0x04034b50, 4);
        le(out, 10, 2); // version needed
        le(out, 0, 2);  // flags
        le(out, 0, 2);  // stored
        le(out, 0, 4);  // time and date
        le(out, crc, 4);
        le(out, static_cast<quint64>(entry.content.size()), 4);
        le(out, static_cast<quint64>(entry.content.size()), 4);
        le(out, static_cast<quint64>(entry.name.size()), 2);
        le(out, 0, 2);
        out += entry.name + entry.content;

        le(central, 0x02014b50, 4);
        le(central, (3 << 8) | 20, 2); // made by Unix
        le(central, 10, 2);
        le(central, 0, 2);
        le(central, 0, 2);
        le(central, 0, 4);
        le(central, crc, 4);
        le(central, static_cast<quint64>(entry.content.size()), 4);
        le(central, static_cast<quint64>(entry.content.size()), 4);
        le(central, static_cast<quint64>(entry.name.size()), 2);
        le(central, 0, 2); // extra
        le(central, 0, 2); // comment
        le(central, 0, 2); // disk
        le(central, 0, 2); // internal attributes
        le(central, entry.externalAttributes, 4);
        le(central, offset, 4);
        central += entry.name;
    }
    const quint64 centralOffset = static_cast<quint64>(out.size());
    out += central;
    le(out, 0x06054b50, 4);
    le(out, 0, 2);
    le(out, 0, 2);
    le(out, static_cast<quint64>(mEntries.size()), 2);
    le(out, static_cast<quint64>(mEntries.size()), 2);
    le(out, static_cast<quint64>(central.size()), 4);
    le(out, centralOffset, 4);
    le(out, 0, 2);
    return out;
}
