#include "backup/PropertyList.h"

#include <QFile>
#include <QXmlStreamReader>

#include <plist/plist.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace {

// Far deeper than any real plist; stops a document made of nesting alone.
constexpr int kMaxDepth = 256;

struct PlistFree
{
    void operator()(plist_t aPlist) const { plist_free(aPlist); }
};

} // namespace

QByteArray PropertyList::toXml(const QByteArray& aData)
{
    if (!aData.startsWith("bplist00"))
        return aData;
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
