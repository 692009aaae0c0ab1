#include "support/IpdBuilder.h"

namespace {

void le(QByteArray& aOut, quint64 aValue, int aBytes)
{
    for (int i = 0; i < aBytes; ++i)
        aOut.append(static_cast<char>((aValue >> (8 * i)) & 0xFF));
}

} // namespace

int IpdBuilder::addDatabase(const QByteArray& aName)
{
    mNames.append(aName);
    return static_cast<int>(mNames.size() - 1);
}

void IpdBuilder::addRecord(int aDatabase, const QList<Field>& aFields)
{
    QByteArray fields;
    for (const Field& field : aFields) {
        le(fields, static_cast<quint64>(field.data.size()), 2);
        fields.append(static_cast<char>(field.type));
        fields += field.data;
    }
    le(mRecords, static_cast<quint64>(aDatabase), 2);
    le(mRecords, static_cast<quint64>(7 + fields.size()), 4);
    mRecords.append('\x05');     // database version
    le(mRecords, mHandle++, 2);  // record handle
    le(mRecords, 0x12345678, 4); // unique id
    mRecords += fields;
}

QByteArray IpdBuilder::bytes() const
{
    QByteArray out("Inter@ctive Pager Backup/Restore File\n");
    out.append('\x02'); // version
    out.append(static_cast<char>((mNames.size() >> 8) & 0xFF));
    out.append(static_cast<char>(mNames.size() & 0xFF));
    out.append('\0');
    for (const QByteArray& name : mNames) {
        le(out, static_cast<quint64>(name.size() + 1), 2);
        out += name;
        out.append('\0');
    }
    return out + mRecords + mTail;
}

QByteArray IpdBuilder::smsHeader(bool aSent, qint64 aMilliseconds, int aSize)
{
    QByteArray header(aSize, '\0');
    header[0] = aSent ? '\x01' : '\x00';
    if (aSize > 20)
        for (int i = 0; i < 8; ++i)
            header[13 + i] = static_cast<char>((static_cast<quint64>(aMilliseconds) >> (8 * i)) & 0xFF);
    return header;
}

QByteArray IpdBuilder::subfield(quint8 aType, const QByteArray& aData)
{
    QByteArray out;
    le(out, static_cast<quint64>(aData.size()), 2);
    out.append(static_cast<char>(aType));
    return out + aData;
}

QByteArray IpdBuilder::utf16BE(const QString& aText)
{
    QByteArray out;
    for (const QChar c : aText) {
        out.append(static_cast<char>(c.unicode() >> 8));
        out.append(static_cast<char>(c.unicode() & 0xFF));
    }
    return out;
}
