// Device configuration, named lists and cache file names of SyncSettings.
#include "settings/SyncSettings.h"

#include "app/ApplicationPaths.h"
#include "app/LogScope.h"

#include <QDir>

namespace {
const char* const kWarningKeys[] = {"delete-without-warning", "dont-warn-usb", "dont-warn-drm",
                                    "dont-warn-not-copied", "dont-warn-not-deleted"};

void appendTextElement(QDomDocument& aDocument, QDomElement& aParent, const QString& aTag,
                       const QString& aText)
{
    QDomElement element = aDocument.createElement(aTag);
    element.appendChild(aDocument.createTextNode(SyncSettings::xmlText(aText)));
    aParent.appendChild(element);
}

// The text of the first aTag child and of each following aTag sibling, in order; at least one
// entry, an empty string when there is none.
QStringList childTexts(const QDomElement& aParent, const QString& aTag)
{
    QDomElement child = aParent.firstChildElement(aTag);
    QStringList texts{child.text()};
    for (child = child.nextSiblingElement(aTag); !child.isNull(); child = child.nextSiblingElement(aTag))
        texts.append(child.text());
    return texts;
}
} // namespace

int SyncSettings::setConfig(const QString& aId, bool aSyncEntireLibrary, int aPodcastSyncSetting,
                            const QStringList& aPlaylists, const QStringList& aPodcasts,
                            const QString& aDeviceName)
{
    LogScope log("SyncSettings::setConfig");
    bool warnings[std::size(kWarningKeys)];
    for (std::size_t i = 0; i < std::size(kWarningKeys); ++i)
        warnings[i] = getBooleanValue(aId, QLatin1String(kWarningKeys[i]), false);

    QDomElement root = documentElement();
    if (root.isNull()) {
        root = createElement(QStringLiteral("settings"));
        appendChild(root);
    }
    QString cachePath;
    const QDomElement old = deviceElement(aId);
    if (!old.isNull()) {
        cachePath = old.firstChildElement(QStringLiteral("cache")).text();
        old.parentNode().removeChild(old);
    }
    // A device keeps its cache file across reconfigurations.
    if (cachePath.isEmpty())
        generateUniqueCacheFilename(cachePath);

    QDomElement device = createElement(QStringLiteral("device"));
    appendTextElement(*this, device, QStringLiteral("id"), aId);
    appendTextElement(*this, device, QStringLiteral("name"), aDeviceName);
    appendTextElement(*this, device, QStringLiteral("cache"), cachePath);
    if (!aSyncEntireLibrary) {
        for (const QString& playlist : aPlaylists)
            appendTextElement(*this, device, QStringLiteral("playlist"), playlist);
        if (aPlaylists.isEmpty())
            appendTextElement(*this, device, QStringLiteral("playlist"), kDontSyncMusic);
    }
    if (aPodcastSyncSetting == PodcastsSelected) {
        for (const QString& podcast : aPodcasts)
            appendTextElement(*this, device, QStringLiteral("podcast"), podcast);
    }
    root.appendChild(device);
    // Written on the new element itself: with a second element of the same id earlier in the
    // file, a lookup by id would find that one.
    for (std::size_t i = 0; i < std::size(kWarningKeys); ++i) {
        if (warnings[i])
            replaceChildValue(device, QLatin1String(kWarningKeys[i]), QStringLiteral("true"));
    }
    replaceChildValue(device, QStringLiteral("podcast-sync-setting"), QString::number(aPodcastSyncSetting));
    return log.ret(save());
}

int SyncSettings::getConfig(const QString& aId, bool& aSyncEntireLibrary, int& aPodcastSyncSetting,
                            QStringList& aPlaylists, QStringList& aPodcasts) const
{
    LogScope log("SyncSettings::getConfig");
    const QDomElement device = deviceElement(aId);
    if (device.isNull())
        return log.ret(kDeviceNotFound);
    const QStringList playlists = childTexts(device, QStringLiteral("playlist"));
    aSyncEntireLibrary = playlists.first().isEmpty();
    aPlaylists.append(playlists);
    if (aPlaylists.size() == 1 && aPlaylists.first() == kDontSyncMusic) {
        aSyncEntireLibrary = false;
        aPlaylists.clear();
    }
    aPodcastSyncSetting = getIntValue(aId, QStringLiteral("podcast-sync-setting"), PodcastsNone);
    aPodcasts.append(childTexts(device, QStringLiteral("podcast")));
    return log.ret(kResultOk);
}

int SyncSettings::getCacheFilename(const QString& aId, QString& aPath) const
{
    LogScope log("SyncSettings::getCacheFilename");
    const QDomElement device = deviceElement(aId);
    if (device.isNull())
        return log.ret(kDeviceNotFound);
    aPath = device.firstChildElement(QStringLiteral("cache")).text();
    return log.ret(kResultOk);
}

QDomElement SyncSettings::listElement(const QString& aId, const QString& aName) const
{
    const QDomElement device = deviceElement(aId);
    const QDomNodeList lists = device.elementsByTagName(QStringLiteral("list"));
    for (int i = 0; i < lists.size(); ++i) {
        const QDomElement list = lists.at(i).toElement();
        if (list.attribute(QStringLiteral("name")) == aName)
            return list;
    }
    return {};
}

QDomElement SyncSettings::findListElement(const QString& aId, const QString& aName, bool aCreate)
{
    QDomElement device = deviceElement(aId);
    if (device.isNull())
        return {};
    const QDomElement found = listElement(aId, aName);
    if (!found.isNull() || !aCreate)
        return found;
    QDomElement list = createElement(QStringLiteral("list"));
    list.setAttribute(QStringLiteral("name"), xmlText(aName));
    device.appendChild(list);
    return list;
}

QList<QPair<QString, QString>> SyncSettings::getSettingsList(const QString& aId, const QString& aName) const
{
    QList<QPair<QString, QString>> entries;
    const QDomElement list = listElement(aId, aName);
    for (QDomElement entry = list.firstChildElement(); !entry.isNull(); entry = entry.nextSiblingElement())
        entries.append({entry.attribute(QStringLiteral("key")), entry.attribute(QStringLiteral("value"))});
    return entries;
}

void SyncSettings::removeSettingsList(const QString& aId, const QString& aName)
{
    const QDomElement list = findListElement(aId, aName, false);
    if (!list.isNull())
        list.parentNode().removeChild(list);
}

void SyncSettings::setSettingsList(const QString& aId, const QString& aName,
                                   const QList<QPair<QString, QString>>& aEntries)
{
    removeSettingsList(aId, aName);
    if (aEntries.isEmpty())
        return;
    QDomElement list = findListElement(aId, aName, true);
    for (const auto& [key, value] : aEntries) {
        QDomElement entry = createElement(QStringLiteral("entry"));
        entry.setAttribute(QStringLiteral("key"), xmlText(key));
        entry.setAttribute(QStringLiteral("value"), xmlText(value));
        list.appendChild(entry);
    }
}

void SyncSettings::getUsedCacheFilenames(QStringList& aNames) const
{
    aNames.clear();
    const QDomNodeList devices = elementsByTagName(QStringLiteral("device"));
    for (int i = 0; i < devices.size(); ++i) {
        const QDomElement cache = devices.at(i).toElement().firstChildElement(QStringLiteral("cache"));
        if (!cache.isNull())
            aNames.append(cache.text());
    }
}

void SyncSettings::generateUniqueCacheFilename(QString& aPath) const
{
    QStringList used;
    getUsedCacheFilenames(used);
    for (int n = 0;; ++n) {
        const QString candidate =
            ApplicationPaths::kordaFolder() + QStringLiteral("/mcache") + QString::number(n);
        if (!used.contains(candidate)) {
            aPath = candidate;
            return;
        }
    }
}

const QString SyncSettings::kLibraryPathMap = QStringLiteral("library-path-map");
const QString SyncSettings::kITunesLibraryPath = QStringLiteral("itunes-library-path");
const QString SyncSettings::kTransferWaiting = QStringLiteral("transfer-waiting");
const QString SyncSettings::kPhotoFolders = QStringLiteral("photo_folders");

QList<QPair<QString, QString>> SyncSettings::getGlobalSettingsList(const QString& aName) const
{
    QList<QPair<QString, QString>> entries;
    const QDomElement root = documentElement();
    for (QDomElement list = root.firstChildElement(QStringLiteral("list")); !list.isNull();
         list = list.nextSiblingElement(QStringLiteral("list"))) {
        if (list.attribute(QStringLiteral("name")) != aName)
            continue;
        for (QDomElement entry = list.firstChildElement(); !entry.isNull();
             entry = entry.nextSiblingElement())
            entries.append(
                {entry.attribute(QStringLiteral("key")), entry.attribute(QStringLiteral("value"))});
        break;
    }
    return entries;
}

void SyncSettings::setGlobalSettingsList(const QString& aName, const QList<QPair<QString, QString>>& aEntries)
{
    QDomElement root = documentElement();
    if (root.isNull()) {
        root = createElement(QStringLiteral("settings"));
        appendChild(root);
    }
    for (QDomElement list = root.firstChildElement(QStringLiteral("list")); !list.isNull();) {
        const QDomElement next = list.nextSiblingElement(QStringLiteral("list"));
        if (list.attribute(QStringLiteral("name")) == aName)
            root.removeChild(list);
        list = next;
    }
    if (aEntries.isEmpty())
        return;
    QDomElement list = createElement(QStringLiteral("list"));
    list.setAttribute(QStringLiteral("name"), xmlText(aName));
    for (const auto& [key, value] : aEntries) {
        QDomElement entry = createElement(QStringLiteral("entry"));
        entry.setAttribute(QStringLiteral("key"), xmlText(key));
        entry.setAttribute(QStringLiteral("value"), xmlText(value));
        list.appendChild(entry);
    }
    root.appendChild(list);
}
