#include "extract/ManifestMbdbReader.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

// Reads big-endian fields from a byte range, failing for good at the first field that would run
// past its end.
class FieldReader
{
public:
    explicit FieldReader(const QByteArray& aData) : mData(aData) {}

    bool atEnd() const { return mPos >= mData.size(); }
    bool failed() const { return mFailed; }

    quint64 number(int aBytes)
    {
        if (mFailed || mData.size() - mPos < aBytes) {
            mFailed = true;
            return 0;
        }
        quint64 value = 0;
        for (int i = 0; i < aBytes; ++i)
            value = (value << 8) | static_cast<quint8>(mData.at(mPos + i));
        mPos += aBytes;
        return value;
    }

    void skip(int aBytes)
    {
        if (mFailed || mData.size() - mPos < aBytes)
            mFailed = true;
        else
            mPos += aBytes;
    }

    // A string: 0xFFFF is none; the bytes are UTF-8.
    QByteArray string()
    {
        const quint64 length = number(2);
        if (mFailed || length == 0xFFFF)
            return QByteArray();
        if (static_cast<quint64>(mData.size() - mPos) < length) {
            mFailed = true;
            return QByteArray();
        }
        const QByteArray value = mData.mid(mPos, static_cast<qsizetype>(length));
        mPos += static_cast<qsizetype>(length);
        return value;
    }

private:
    const QByteArray& mData;
    qsizetype mPos = 6;
    bool mFailed = false;
};

} // namespace

bool ManifestMbdbReader::read(const QString& aPath, QList<ManifestEntry>& aEntries, QString& aError)
{
    QFile file(aPath);
    if (!file.open(QIODevice::ReadOnly)) {
        aError = file.errorString();
        return false;
    }
    return parse(file.readAll(), aEntries, aError);
}

bool ManifestMbdbReader::parse(const QByteArray& aData, QList<ManifestEntry>& aEntries, QString& aError)
{
    if (!aData.startsWith(QByteArray("mbdb\x05\x00", 6))) {
        aError = QStringLiteral("Manifest.mbdb has no mbdb header");
        return false;
    }
    FieldReader reader(aData);
    while (!reader.atEnd()) {
        const QByteArray domain = reader.string();
        const QByteArray path = reader.string();
        reader.string(); // link target
        reader.string(); // data hash
        reader.string(); // encryption key
        const quint64 mode = reader.number(2);
        reader.skip(8 + 4 * 5 + 8 + 1); // inode; uid, gid, mtime, atime, ctime; size; protection class
        const quint64 properties = reader.number(1);
        for (quint64 i = 0; i < properties && !reader.failed(); ++i) {
            reader.string();
            reader.string();
        }
        if (reader.failed()) {
            aError = QStringLiteral("Manifest.mbdb is cut or damaged");
            break;
        }
        if ((mode & 0xF000) != 0x8000) // folders and links have no stored bytes
            continue;
        const QByteArray id = QCryptographicHash::hash(domain + '-' + path, QCryptographicHash::Sha1).toHex();
        aEntries.append({QString::fromUtf8(domain), QString::fromUtf8(path), QString::fromLatin1(id)});
    }
    return true;
}
