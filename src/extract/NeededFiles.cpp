#include "extract/NeededFiles.h"

#include <QStringList>

namespace {

const QString kNotesGroupDomain = QStringLiteral("AppDomainGroup-group.com.apple.notes");
const QString kWalSuffix = QStringLiteral("-wal");

bool isNeededDatabase(const ManifestEntry& aEntry, const QString& aPath)
{
    static const QStringList databases = {
        QStringLiteral("Library/AddressBook/AddressBook.sqlitedb"),
        QStringLiteral("Library/AddressBook/AddressBookImages.sqlitedb"),
        QStringLiteral("Library/SMS/sms.db"),
        QStringLiteral("Library/Calendar/Calendar.sqlitedb"),
        QStringLiteral("Library/Notes/notes.sqlite"),
        QStringLiteral("Library/Notes/notes.db"),
    };
    if (aEntry.mDomain == kNotesGroupDomain)
        return aPath == QLatin1String("NoteStore.sqlite");
    return databases.contains(aPath);
}

} // namespace

NeededFiles::Use NeededFiles::use(const ManifestEntry& aEntry)
{
    const QString& path = aEntry.mRelativePath;
    if (isNeededDatabase(aEntry, path))
        return RestoreAndList;
    if (path.endsWith(kWalSuffix) && isNeededDatabase(aEntry, path.chopped(kWalSuffix.size())))
        return RestoreOnly;
    if (path.startsWith(QLatin1String("Library/SMS/Attachments/")) ||
        path.startsWith(QLatin1String("Library/SMS/Parts/")))
        return RestoreAndList;
    if (isCameraRoll(aEntry))
        return RestoreAndList;
    return NotNeeded;
}

bool NeededFiles::isCameraRoll(const ManifestEntry& aEntry)
{
    return (aEntry.mDomain == QLatin1String("CameraRollDomain") ||
            aEntry.mDomain == QLatin1String("MediaDomain")) &&
           aEntry.mRelativePath.startsWith(QLatin1String("Media/DCIM/"));
}

QString NeededFiles::listPlace(const ManifestEntry& aEntry)
{
    if (aEntry.mDomain == kNotesGroupDomain)
        return aEntry.mDomain + aEntry.mRelativePath;
    return aEntry.mRelativePath;
}
