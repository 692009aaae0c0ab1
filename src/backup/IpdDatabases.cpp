#include "backup/IpdDatabases.h"
#include "app/DiagnosticLog.h"

#include <QFile>

namespace {

// Reads little- and big-endian integers from a byte range; fails for good at the first read that
// would pass its end.
class ByteReader
{
public:
    ByteReader(const char* aData, qint64 aSize) : mData(aData), mSize(aSize) {}

    qint64 pos() const { return mPos; }
    qint64 left() const { return mSize - mPos; }
    bool failed() const { return mFailed; }
    void seek(qint64 aPos) { mPos = aPos; }

    quint64 le(int aBytes) { return take(aBytes, false); }
    quint64 be(int aBytes) { return take(aBytes, true); }
    QByteArray bytes(qint64 aCount)
    {
        if (mFailed || aCount < 0 || aCount > left()) {
            mFailed = true;
            return QByteArray();
        }
        QByteArray out(mData + mPos, static_cast<qsizetype>(aCount));
        mPos += aCount;
        return out;
    }
    bool skip(qint64 aCount)
    {
        if (mFailed || aCount < 0 || aCount > left())
            return !(mFailed = true);
        mPos += aCount;
        return true;
    }

private:
    quint64 take(int aBytes, bool aBigEndian)
    {
        if (mFailed || left() < aBytes) {
            mFailed = true;
            return 0;
        }
        quint64 value = 0;
        for (int i = 0; i < aBytes; ++i) {
            const quint64 byte = static_cast<quint8>(mData[mPos + i]);
            value |= aBigEndian ? byte << (8 * (aBytes - 1 - i)) : byte << (8 * i);
        }
        mPos += aBytes;
        return value;
    }

    const char* mData;
    qint64 mSize;
    qint64 mPos = 0;
    bool mFailed = false;
};

constexpr int kRecordHeaderBytes = 7; // version, handle, unique id

} // namespace

void IpdDatabases::addPlaceholder(const QString& aName)
{
    mNames.append(aName);
    mRecords.append(QList<IpdRecord>());
}

bool IpdDatabases::readFile(const QString& aPath)
{
    QFile file(aPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() == 0)
        return read(QByteArray());
    // Mapped, not read: a large backup costs no memory beyond the records kept.
    const uchar* mapped = file.map(0, file.size());
    if (!mapped)
        return read(file.readAll());
    return read(
        QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), static_cast<qsizetype>(file.size())));
}

bool IpdDatabases::read(const QByteArray& aData)
{
    const qsizetype lineEnd = aData.indexOf('\n');
    if (lineEnd < 0)
        return false;
    ByteReader in(aData.constData(), aData.size());
    in.seek(lineEnd + 1);
    in.le(1); // version
    const quint64 databases = in.be(2);
    logValue("numberOfDatabases", static_cast<int>(databases));
    if (in.le(1) != 0 || in.failed())
        return false;

    for (quint64 i = 0; i < databases; ++i) {
        // The whole 16-bit length: names of 128 bytes and more are names too.
        const quint64 length = in.le(2);
        const QByteArray name = in.bytes(static_cast<qint64>(length));
        if (in.failed()) {
            logMessage("! The IPD file ends inside a database name");
            break;
        }
        const qsizetype nul = name.indexOf('\0');
        addPlaceholder(QString::fromUtf8(nul >= 0 ? name.left(nul) : name));
    }

    while (!in.failed() && in.left() > 0) {
        const qint64 start = in.pos();
        const quint64 id = in.le(2);
        if (in.failed())
            break;
        if (id == 0xFFFF) {
            logMessage("Special database ID 0xff");
            in.skip(4);
            continue;
        }
        const quint64 length = in.le(4);
        if (in.failed() || length < kRecordHeaderBytes || static_cast<qint64>(length) > in.left()) {
            logValue("*** Unexpected file location", static_cast<int>(start));
            break; // a record that can't be where it says: nothing after it can be trusted
        }
        const qint64 end = in.pos() + static_cast<qint64>(length);
        if (id >= static_cast<quint64>(mNames.size())) {
            in.seek(end); // no such database: the record is passed over
            continue;
        }
        in.skip(kRecordHeaderBytes);
        IpdRecord record;
        bool whole = true;
        while (in.pos() < end) {
            const qint64 fieldStart = in.pos();
            const quint64 fieldLength = in.le(2);
            const quint64 type = in.le(1);
            if (in.failed() || static_cast<qint64>(fieldLength) > end - in.pos()) {
                logValue(in.failed() || static_cast<qint64>(fieldLength) > in.left()
                             ? "*** ERROR: Bad field - file position"
                             : "*** Unexpected file location",
                         static_cast<int>(fieldStart));
                whole = false;
                break;
            }
            record.append({static_cast<quint8>(type), in.bytes(static_cast<qint64>(fieldLength))});
        }
        if (in.failed())
            break;
        in.seek(end);
        if (whole)
            mRecords[static_cast<qsizetype>(id)].append(record);
    }
    return true;
}

QList<IpdRecord> IpdDatabases::recordsOf(const QString& aName) const
{
    QList<IpdRecord> out;
    for (qsizetype i = 0; i < mNames.size(); ++i)
        if (mNames.at(i) == aName)
            out += mRecords.at(i);
    return out;
}
