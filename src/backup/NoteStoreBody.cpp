#include "backup/NoteStoreBody.h"

#include <zlib.h>

namespace {

// Reads a protobuf varint; false at the end of the data or past ten bytes.
bool varint(const QByteArray& aData, qsizetype& aPos, quint64& aValue)
{
    aValue = 0;
    for (int shift = 0; shift < 70 && aPos < aData.size(); shift += 7) {
        const quint8 byte = static_cast<quint8>(aData.at(aPos++));
        aValue |= static_cast<quint64>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

// The bytes of the first length-delimited field aField of the message aData; false when absent
// or damaged.
bool field(const QByteArray& aData, quint64 aField, QByteArray& aBytes)
{
    qsizetype pos = 0;
    while (pos < aData.size()) {
        quint64 key = 0;
        quint64 value = 0;
        if (!varint(aData, pos, key))
            return false;
        switch (key & 7) {
        case 0:
            if (!varint(aData, pos, value))
                return false;
            break;
        case 1:
            pos += 8;
            break;
        case 5:
            pos += 4;
            break;
        case 2:
            if (!varint(aData, pos, value) || value > static_cast<quint64>(aData.size() - pos))
                return false;
            if ((key >> 3) == aField) {
                aBytes = aData.mid(pos, static_cast<qsizetype>(value));
                return true;
            }
            pos += static_cast<qsizetype>(value);
            break;
        default:
            return false;
        }
    }
    return false;
}

} // namespace

QByteArray NoteStoreBody::gunzip(const QByteArray& aData)
{
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 32) != Z_OK) // 32: a gzip or zlib header, found by zlib
        return QByteArray();
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(aData.constData()));
    stream.avail_in = static_cast<uInt>(aData.size());
    QByteArray out;
    char buffer[64 * 1024];
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END)
            break;
        out.append(buffer, static_cast<qsizetype>(sizeof buffer - stream.avail_out));
        if (out.size() > kMaxUnpackedBytes) {
            status = Z_MEM_ERROR;
            break;
        }
        if (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0)
            break; // cut short: keep what came out, it is checked below
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END ? out : QByteArray();
}

QString NoteStoreBody::text(const QByteArray& aZData)
{
    const QByteArray proto = gunzip(aZData);
    QByteArray document;
    QByteArray note;
    QByteArray text;
    if (proto.isEmpty() || !field(proto, 2, document) || !field(document, 3, note) || !field(note, 2, text))
        return QString();
    return QString::fromUtf8(text);
}
