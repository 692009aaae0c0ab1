#include "tracks/DevicePaths.h"

#include <QHashFunctions>

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

bool DevicePaths::sameKey(const QString& aLeft, const QString& aRight)
{
    // Folded forms hold no upper case ASCII, so one comparison serves both kinds of key.
    const qsizetype size = aLeft.size();
    if (size != aRight.size())
        return false;
    const QChar* left = aLeft.constData();
    const QChar* right = aRight.constData();
    for (qsizetype unit = 0; unit < size; ++unit) {
        if (left[unit] != right[unit] &&
            asciiLower(left[unit].unicode()) != asciiLower(right[unit].unicode()))
            return false;
    }
    return true;
}

quint32 DevicePaths::hashOf(const QString& aKey)
{
    // Seeded per process: no drive or library can be made to collide its paths.
    quint64 hash = static_cast<quint64>(QHashSeed::globalSeed()) ^ 0xcbf29ce484222325ULL;
    for (const QChar unit : aKey)
        hash = (hash ^ asciiLower(unit.unicode())) * 0x100000001b3ULL;
    return static_cast<quint32>(hash ^ (hash >> 32));
}

QString DevicePaths::keyOf(const QString& aDevicePath)
{
    const bool ascii = std::all_of(aDevicePath.begin(), aDevicePath.end(),
                                   [](QChar aChar) { return aChar.unicode() < 0x80; });
    if (ascii)
        return aDevicePath;
    return aDevicePath.normalized(QString::NormalizationForm_C).toCaseFolded();
}

int DevicePaths::find(const QString& aKey) const
{
    return mSlots.find(hashOf(aKey), [&](int aHolder) {
        return sameKey(mHolders[static_cast<std::size_t>(aHolder)].key, aKey);
    });
}

bool DevicePaths::heldAs(const Holder& aHolder, QStringView aUniqueId)
{
    return aHolder.track ? aHolder.track->hasUniqueId(aUniqueId) : aHolder.uniqueId == aUniqueId;
}

int DevicePaths::findOrAdd(const QString& aDevicePath, Holder&& aNew)
{
    aNew.key = keyOf(aDevicePath);
    const int next = static_cast<int>(mHolders.size());
    const int held = mSlots.findOrAdd(hashOf(aNew.key), next, [&](int aHolder) {
        return sameKey(mHolders[static_cast<std::size_t>(aHolder)].key, aNew.key);
    });
    if (held == next) {
        mHolders.push_back(std::move(aNew));
        return -1;
    }
    return held;
}

bool DevicePaths::claim(const QString& aDevicePath, QStringView aUniqueId)
{
    const int held = findOrAdd(aDevicePath, Holder{QString(), aUniqueId.toString(), nullptr});
    return held < 0 || heldAs(mHolders[static_cast<std::size_t>(held)], aUniqueId);
}

bool DevicePaths::claim(const QString& aDevicePath, const Track& aTrack)
{
    const int held = findOrAdd(aDevicePath, Holder{QString(), QString(), &aTrack});
    if (held < 0)
        return true;
    const Holder& holder = mHolders[static_cast<std::size_t>(held)];
    Track::IdText uniqueId;
    return holder.track == &aTrack || heldAs(holder, aTrack.writeUniqueId(uniqueId));
}

void DevicePaths::release(const QString& aDevicePath, QStringView aUniqueId)
{
    const QString path = keyOf(aDevicePath);
    const int held = find(path);
    if (held < 0 || !heldAs(mHolders[static_cast<std::size_t>(held)], aUniqueId))
        return;
    mSlots.remove(hashOf(path), [held](int aHolder) { return aHolder == held; });
    mHolders[static_cast<std::size_t>(held)] = Holder();
}

QString DevicePaths::holder(const QString& aDevicePath) const
{
    const int held = find(keyOf(aDevicePath));
    if (held < 0)
        return QString();
    const Holder& holder = mHolders[static_cast<std::size_t>(held)];
    return holder.track ? holder.track->uniqueId() : holder.uniqueId;
}

QString DevicePaths::freePathFor(const QString& aDevicePath, QStringView aUniqueId) const
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
