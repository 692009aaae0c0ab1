#include "tracks/DevicePaths.h"

#include <algorithm>

QString DevicePaths::cutToUtf8Bytes(const QString& aText, int aBytes)
{
    int bytes = 0;
    qsizetype end = 0;
    while (end < aText.size()) {
        const char32_t code = aText.at(end).isHighSurrogate() && end + 1 < aText.size()
                                  ? QChar::surrogateToUcs4(aText.at(end), aText.at(end + 1))
                                  : aText.at(end).unicode();
        const int width = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        if (bytes + width > aBytes)
            break;
        bytes += width;
        end += code >= 0x10000 ? 2 : 1;
    }
    return aText.left(end);
}

namespace {

char16_t asciiLower(char16_t aUnit)
{
    return aUnit >= u'A' && aUnit <= u'Z' ? static_cast<char16_t>(aUnit + (u'a' - u'A')) : aUnit;
}

} // namespace

bool DevicePaths::Key::same(const Key& aLeft, const Key& aRight)
{
    // Folded forms hold no upper case ASCII, so one comparison serves both kinds of key.
    const qsizetype size = aLeft.text.size();
    if (size != aRight.text.size())
        return false;
    const QChar* left = aLeft.text.constData();
    const QChar* right = aRight.text.constData();
    for (qsizetype unit = 0; unit < size; ++unit) {
        if (left[unit] != right[unit] &&
            asciiLower(left[unit].unicode()) != asciiLower(right[unit].unicode()))
            return false;
    }
    return true;
}

size_t DevicePaths::Key::hash(const Key& aKey, size_t aSeed)
{
    size_t hash = aSeed ^ 0xcbf29ce484222325ULL;
    for (const QChar unit : aKey.text)
        hash = (hash ^ asciiLower(unit.unicode())) * 0x100000001b3ULL;
    return hash;
}

DevicePaths::Key DevicePaths::key(const QString& aDevicePath)
{
    const bool ascii = std::all_of(aDevicePath.begin(), aDevicePath.end(),
                                   [](QChar aChar) { return aChar.unicode() < 0x80; });
    if (ascii)
        return Key{aDevicePath};
    return Key{aDevicePath.normalized(QString::NormalizationForm_C).toCaseFolded()};
}

bool DevicePaths::claim(const QString& aDevicePath, const QString& aUniqueId)
{
    Key path = key(aDevicePath);
    const auto held = mHolders.constFind(path);
    if (held != mHolders.constEnd())
        return held.value() == aUniqueId;
    mHolders.insert(std::move(path), aUniqueId);
    return true;
}

void DevicePaths::release(const QString& aDevicePath, const QString& aUniqueId)
{
    const Key path = key(aDevicePath);
    if (mHolders.value(path) == aUniqueId)
        mHolders.remove(path);
}

QString DevicePaths::holder(const QString& aDevicePath) const
{
    return mHolders.value(key(aDevicePath));
}

QString DevicePaths::freePathFor(const QString& aDevicePath, const QString& aUniqueId) const
{
    const QString current = holder(aDevicePath);
    if (current.isEmpty() || current == aUniqueId)
        return aDevicePath;
    const qsizetype nameStart = aDevicePath.lastIndexOf(QLatin1Char('\\')) + 1;
    qsizetype dot = aDevicePath.lastIndexOf(QLatin1Char('.'));
    if (dot <= nameStart)
        dot = aDevicePath.size();
    const QString folder = aDevicePath.left(nameStart);
    const QString stem = aDevicePath.mid(nameStart, dot - nameStart);
    const QString extension = aDevicePath.mid(dot);
    for (int n = 2;; ++n) {
        const QString number = QStringLiteral(" (%1)").arg(n);
        const int room = 255 - static_cast<int>((number + extension).toUtf8().size());
        const QString candidate = folder + cutToUtf8Bytes(stem, room) + number + extension;
        const QString held = holder(candidate);
        if (held.isEmpty() || held == aUniqueId)
            return candidate;
    }
}
