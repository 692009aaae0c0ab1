#include "backup/PropertyList.h"

#include "app/XmlLimits.h"

#include <QFile>
#include <QXmlStreamReader>

#include <plist/plist.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Far deeper than any real plist; stops a document made of nesting alone.
constexpr int kMaxDepth = 256;

struct PlistFree
{
    void operator()(plist_t aPlist) const { plist_free(aPlist); }
};

} // namespace

namespace {

// What a binary plist would cost once its shared references are copied out into a tree (libplist
// does; so does the XML it writes): the nodes and bytes of that tree, within aBudget. A document
// of 200 bytes can reference one object from many places at each of many levels and expand
// into gigabytes; one whose references make a loop never ends. False for either, and for a
// trailer or table that doesn't hold together.
class BinaryPlistCost
{
public:
    explicit BinaryPlistCost(const QByteArray& aData) : mData(aData) {}

    bool within(qint64 aBudget)
    {
        if (mData.size() < 40)
            return false;
        const auto* trailer = reinterpret_cast<const uchar*>(mData.constData()) + mData.size() - 32;
        mOffsetSize = trailer[6];
        mRefSize = trailer[7];
        mObjects = number(trailer + 8, 8);
        const quint64 top = number(trailer + 16, 8);
        mTable = number(trailer + 24, 8);
        if (mOffsetSize < 1 || mOffsetSize > 8 || mRefSize < 1 || mRefSize > 8 || mObjects == 0 ||
            mObjects > static_cast<quint64>(mData.size()) || top >= mObjects ||
            mTable + mObjects * mOffsetSize > static_cast<quint64>(mData.size()) - 32)
            return false;
        mBudget = aBudget;
        mCost.assign(mObjects, -1);
        return cost(top, 0) >= 0;
    }

private:
    quint64 number(const uchar* aAt, int aSize) const
    {
        quint64 value = 0;
        for (int i = 0; i < aSize; ++i)
            value = (value << 8) | aAt[i];
        return value;
    }
    // The cost of object aIndex and all it references; -1 past the budget, in a loop, or damaged.
    qint64 cost(quint64 aIndex, int aDepth)
    {
        if (aIndex >= mObjects || aDepth > 256)
            return -1;
        if (mCost[aIndex] == -2)
            return -1; // a loop
        if (mCost[aIndex] >= 0)
            return mCost[aIndex];
        mCost[aIndex] = -2;
        const auto* bytes = reinterpret_cast<const uchar*>(mData.constData());
        const quint64 offset = number(bytes + mTable + aIndex * mOffsetSize, mOffsetSize);
        if (offset >= static_cast<quint64>(mData.size()))
            return -1;
        const uchar marker = bytes[offset];
        const int type = marker >> 4;
        quint64 count = marker & 0x0F;
        quint64 at = offset + 1;
        if (count == 0x0F && type != 0x0 && type != 0x1 && type != 0x2 && type != 0x3) {
            // The count follows as an integer object.
            if (at >= static_cast<quint64>(mData.size()) || (bytes[at] >> 4) != 0x1)
                return -1;
            const int size = 1 << (bytes[at] & 0x0F);
            if (size > 8 || at + 1 + size > static_cast<quint64>(mData.size()))
                return -1;
            count = number(bytes + at + 1, size);
            at += 1 + size;
        }
        qint64 total = 16; // a node of the tree
        if (type == 0xA || type == 0xC || type == 0xD) {
            const quint64 references = type == 0xD ? count * 2 : count;
            if (references > static_cast<quint64>(mData.size()) ||
                at + references * mRefSize > static_cast<quint64>(mData.size()))
                return -1;
            for (quint64 i = 0; i < references; ++i) {
                const qint64 child = cost(number(bytes + at + i * mRefSize, mRefSize), aDepth + 1);
                if (child < 0)
                    return -1;
                total += child;
                if (total > mBudget)
                    return -1;
            }
        } else {
            total += static_cast<qint64>(std::min<quint64>(count, static_cast<quint64>(mData.size()))) * 2;
        }
        mCost[aIndex] = total;
        return total > mBudget ? -1 : total;
    }

    const QByteArray& mData;
    int mOffsetSize = 0;
    int mRefSize = 0;
    quint64 mObjects = 0;
    quint64 mTable = 0;
    qint64 mBudget = 0;
    std::vector<qint64> mCost; // -1 not yet, -2 on the way
};

} // namespace

QByteArray PropertyList::toXml(const QByteArray& aData)
{
    if (!aData.startsWith("bplist00"))
        return aData;
    if (!BinaryPlistCost(aData).within(kMaxExpandedBytes))
        return QByteArray(); // a loop, a bomb, or no plist at all: never given to libplist
    plist_t root = nullptr;
    plist_from_bin(aData.constData(), static_cast<uint32_t>(aData.size()), &root);
    std::unique_ptr<void, PlistFree> owner(root);
    if (!root)
        return QByteArray();
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    if (!xml)
        return QByteArray();
    QByteArray result(xml, static_cast<qsizetype>(length));
    plist_to_xml_free(xml);
    return result;
}

bool PropertyList::parse(const QByteArray& aData, PlistContentHandler& aHandler)
{
    const QByteArray xml = toXml(aData);
    if (xml.isEmpty())
        return false;
    // A plist's XML has no entities of its own (an Apple plist's DOCTYPE line declares none).
    if (!XmlLimits::problem(xml, {kMaxDepth, 16, 4000000}).isEmpty())
        return false;
    QXmlStreamReader reader(xml);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > kMaxDepth)
                return false;
            aHandler.startElement(reader.name().toString());
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            aHandler.endElement(reader.name().toString());
            break;
        case QXmlStreamReader::Characters:
            aHandler.characters(reader.text().toString());
            break;
        default:
            break;
        }
    }
    return !reader.hasError();
}

QByteArray PropertyList::readFile(const QString& aPath, qint64 aMaxBytes, bool* aTooLarge)
{
    if (aTooLarge)
        *aTooLarge = false;
    // No FIFO or device is ever opened for reading: open without blocking and check the kind.
    const int fd = ::open(QFile::encodeName(aPath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    QFile file;
    struct stat status
    {
    };
    const bool stat = ::fstat(fd, &status) == 0;
    if (aTooLarge)
        *aTooLarge = stat && S_ISREG(status.st_mode) && status.st_size > aMaxBytes;
    if (!stat || !S_ISREG(status.st_mode) || status.st_size > aMaxBytes ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return QByteArray();
    }
    return file.read(aMaxBytes);
}

namespace {

// The value element that follows a given key at the top level of the root dictionary.
class TopLevelBoolHandler : public PlistContentHandler
{
public:
    explicit TopLevelBoolHandler(const QString& aKey) : mKey(aKey) {}

    void startElement(const QString& aLocalName) override
    {
        ++mDepth;
        if (mDepth == 3 && mKeyMatched && !mDone) {
            mValue = aLocalName == QLatin1String("true");
            mDone = true;
        }
        if (mDepth == 3)
            mInKey = aLocalName == QLatin1String("key");
        mKeyMatched = false;
    }
    void endElement(const QString& aLocalName) override
    {
        if (mDepth == 3 && mInKey && aLocalName == QLatin1String("key"))
            mKeyMatched = mKeyText == mKey;
        if (mDepth == 3)
            mInKey = false;
        mKeyText.clear();
        --mDepth;
    }
    void characters(const QString& aText) override
    {
        if (mInKey)
            mKeyText += aText;
    }
    bool value() const { return mValue; }

private:
    QString mKey;
    QString mKeyText;
    int mDepth = 0; // plist = 1, dict = 2, its keys and values = 3
    bool mInKey = false;
    bool mKeyMatched = false;
    bool mDone = false;
    bool mValue = false;
};

} // namespace

bool PropertyList::topLevelBool(const QByteArray& aData, const QString& aKey)
{
    TopLevelBoolHandler handler(aKey);
    parse(aData, handler);
    return handler.value();
}
