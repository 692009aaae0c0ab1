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

BlackBerryBackup::Result BlackBerryBackup::readBlackBerryBackup(const QString& aBackupPath,
                                                                const QString& aOutputFolder, int aMask)
{
    LogScope log("readBlackBerryBackup");
    logValue("blackberry_database_file", aBackupPath);
    logValue("mask", aMask);
    Result result;
    const QFileInfo backup(aBackupPath);
    if (!backup.exists())
        result.problem = QStringLiteral("%1 is not there").arg(QDir::toNativeSeparators(aBackupPath));
    else if (!backup.isFile() || !backup.isReadable())
        result.problem = QStringLiteral("%1 can't be read").arg(QDir::toNativeSeparators(aBackupPath));
    else if (backup.size() == 0)
        result.problem = QStringLiteral("%1 is empty").arg(QDir::toNativeSeparators(aBackupPath));
    if (!result.problem.isEmpty())
        return result;
    QDir().mkpath(aOutputFolder);
    IpdDatabases databases;
    QStringList inputs{aBackupPath};
    if (aBackupPath.endsWith(QLatin1String("bbb"))) {
        // Unpacked into a folder of its own, beside the XML files; an archive that can't be
        // unpacked is never read as if it were an IPD file.
        const QString unpacked = aOutputFolder + QStringLiteral("/bbb");
        QDir(unpacked).removeRecursively();
        QString error;
        if (!BbbArchive::unpack(aBackupPath, unpacked, error)) {
            logValue("! Archive not unpacked", error);
            result.problem = QStringLiteral("%1: %2").arg(backup.fileName(), error);
            return result;
        }
        if (!QFileInfo(unpacked + QStringLiteral("/Manifest.xml")).isFile()) {
            result.problem = QStringLiteral("%1 holds no BlackBerry backup").arg(backup.fileName());
            return result;
        }
        databases.addPlaceholder(QStringLiteral("Null-database"));
        inputs.clear();
        for (int n = 1;; ++n) {
            const QString dat = unpacked + QStringLiteral("/Databases/%1.dat").arg(n);
            if (!QFileInfo(dat).isFile())
                break;
            inputs << dat;
        }
    }
    int read = 0;
    for (const QString& input : inputs) {
        if (databases.readFile(input))
            ++read;
        else
            logValue("! Not an IPD file", input);
    }
    if (read == 0 && !inputs.isEmpty()) {
        result.problem = QStringLiteral("%1 is no BlackBerry backup, or is damaged").arg(backup.fileName());
        return result;
    }
    if (databases.has(QStringLiteral("SMS Messages")) &&
        BlackBerryMessages::write(databases.recordsOf(QStringLiteral("SMS Messages")),
                                  aOutputFolder + QStringLiteral("/messages.xml")))
        ++result.written;
    if (databases.has(QStringLiteral("Address Book - All")) &&
        BlackBerryContacts::write(databases.recordsOf(QStringLiteral("Address Book - All")),
                                  aOutputFolder + QStringLiteral("/address.xml")))
        ++result.written;
    log.ret(result.written);
    return result;
}
