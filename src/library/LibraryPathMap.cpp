#include "library/LibraryPathMap.h"

#include "settings/SyncSettings.h"

#include <QDir>

#include <algorithm>

LibraryPathMap::LibraryPathMap(const QList<QPair<QString, QString>>& aMappings)
{
    for (const auto& [from, to] : aMappings) {
        const QString prefix = normalisedPrefix(from);
        if (!prefix.isEmpty() && !to.isEmpty())
            mMappings.append({prefix, to});
    }
    std::stable_sort(mMappings.begin(), mMappings.end(), [](const auto& aLeft, const auto& aRight) {
        return aLeft.first.size() > aRight.first.size();
    });
}

LibraryPathMap LibraryPathMap::fromSettings()
{
    SyncSettings settings;
    if (settings.load() != SyncSettings::kResultOk)
        return LibraryPathMap();
    return LibraryPathMap(settings.getGlobalSettingsList(SyncSettings::kLibraryPathMap));
}

bool LibraryPathMap::parse(const QString& aText, QString& aFrom, QString& aTo)
{
    // The local folder may hold "=" itself; a drive or a share never does.
    const qsizetype equals = aText.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return false;
    aFrom = aText.left(equals);
    aTo = aText.mid(equals + 1);
    return true;
}

QString LibraryPathMap::normalisedPrefix(const QString& aFrom)
{
    QString prefix = aFrom;
    prefix.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (prefix.size() >= 2 && prefix.at(1) == QLatin1Char(':'))
        prefix[0] = prefix.at(0).toUpper();
    if (prefix.size() == 2 && prefix.at(1) == QLatin1Char(':'))
        prefix += QLatin1Char('/');
    return prefix;
}

QList<QPair<QString, QString>> LibraryPathMap::withMapping(QList<QPair<QString, QString>> aMappings,
                                                           const QString& aFrom, const QString& aTo)
{
    const QString prefix = normalisedPrefix(aFrom);
    aMappings.erase(
        std::remove_if(aMappings.begin(), aMappings.end(),
                       [&](const auto& aMapping) { return normalisedPrefix(aMapping.first) == prefix; }),
        aMappings.end());
    if (!aTo.isEmpty())
        aMappings.append({prefix, QDir::cleanPath(aTo)});
    return aMappings;
}

bool LibraryPathMap::startsWithPrefix(const QString& aLocation, const QString& aPrefix)
{
    if (aLocation.size() < aPrefix.size())
        return false;
    const bool drive = aPrefix.size() >= 2 && aPrefix.at(1) == QLatin1Char(':');
    if (drive && aLocation.at(0).toUpper() != aPrefix.at(0).toUpper())
        return false;
    return QStringView(aLocation).mid(drive ? 1 : 0, aPrefix.size() - (drive ? 1 : 0)) ==
           QStringView(aPrefix).mid(drive ? 1 : 0);
}

QString LibraryPathMap::apply(const QString& aLocation) const
{
    if (mMappings.isEmpty())
        return aLocation;
    QString location = aLocation;
    location.replace(QLatin1Char('\\'), QLatin1Char('/'));
    for (const auto& [prefix, folder] : mMappings) {
        if (!startsWithPrefix(location, prefix))
            continue;
        // A prefix ends a name: "Z:/Mus" does not map "Z:/Music/a.mp3".
        if (!prefix.endsWith(QLatin1Char('/')) && location.size() > prefix.size() &&
            location.at(prefix.size()) != QLatin1Char('/'))
            continue;
        QStringView rest = QStringView(location).sliced(prefix.size());
        while (rest.startsWith(QLatin1Char('/')))
            rest = rest.sliced(1);
        // Made in one allocation: a library maps each of its 100,000 locations.
        const bool slash = folder.endsWith(QLatin1Char('/'));
        QString mapped;
        mapped.reserve(folder.size() + (slash ? 0 : 1) + rest.size());
        mapped.append(folder);
        if (!slash)
            mapped.append(QLatin1Char('/'));
        mapped.append(rest);
        return mapped;
    }
    return aLocation;
}
