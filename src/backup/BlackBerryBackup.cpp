#include "backup/BlackBerryBackup.h"
#include "app/LogScope.h"
#include "backup/BbbArchive.h"
#include "backup/BlackBerryContacts.h"
#include "backup/BlackBerryMessages.h"
#include "backup/IpdDatabases.h"

#include <QDir>
#include <QFileInfo>

bool BlackBerryBackup::isBlackBerryBackup(const QString& aPath)
{
    return (aPath.size() > 4 && aPath.endsWith(QLatin1String("ipd"))) || aPath.endsWith(QLatin1String("bbb"));
}

int BlackBerryBackup::readBlackBerryBackup(const QString& aBackupPath, const QString& aOutputFolder,
                                           int aMask)
{
    LogScope log("readBlackBerryBackup");
    logValue("blackberry_database_file", aBackupPath);
    logValue("mask", aMask);
    QDir().mkpath(aOutputFolder);
    IpdDatabases databases;
    QStringList inputs{aBackupPath};
    if (aBackupPath.size() > 4 && aBackupPath.endsWith(QLatin1String("bbb"))) {
        // Unpacked into a folder of its own, beside the XML files.
        const QString unpacked = aOutputFolder + QStringLiteral("/bbb");
        QDir(unpacked).removeRecursively();
        QString error;
        if (!BbbArchive::unpack(aBackupPath, unpacked, error))
            logValue("! Archive not unpacked", error);
        if (QFileInfo(unpacked + QStringLiteral("/Manifest.xml")).isFile()) {
            databases.addPlaceholder(QStringLiteral("Null-database"));
            inputs.clear();
            for (int n = 1;; ++n) {
                const QString dat = unpacked + QStringLiteral("/Databases/%1.dat").arg(n);
                if (!QFileInfo(dat).isFile())
                    break;
                inputs << dat;
            }
        }
    }
    for (const QString& input : inputs)
        if (!databases.readFile(input))
            logValue("! Not an IPD file", input);

    int written = 0;
    if (databases.has(QStringLiteral("SMS Messages")) &&
        BlackBerryMessages::write(databases.recordsOf(QStringLiteral("SMS Messages")),
                                  aOutputFolder + QStringLiteral("/messages.xml")))
        ++written;
    if (databases.has(QStringLiteral("Address Book - All")) &&
        BlackBerryContacts::write(databases.recordsOf(QStringLiteral("Address Book - All")),
                                  aOutputFolder + QStringLiteral("/address.xml")))
        ++written;
    return log.ret(written);
}
