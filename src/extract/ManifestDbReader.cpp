#include "extract/ManifestDbReader.h"
#include "backup/BackupDatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {

// A fileID names a stored file; anything but 40 hexadecimal digits could name a path.
bool isFileId(const QString& aId)
{
    if (aId.size() != 40)
        return false;
    for (const QChar c : aId)
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
              (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
              (c >= QLatin1Char('A') && c <= QLatin1Char('F'))))
            return false;
    return true;
}

} // namespace

bool ManifestDbReader::read(const QString& aPath, QList<ManifestEntry>& aEntries, QString& aError)
{
    if (!BackupDatabase::isSqliteFile(aPath)) {
        aError = QStringLiteral("Manifest.db is not a SQLite database (is the backup encrypted?)");
        return false;
    }
    const QString connection = QStringLiteral("manifest");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        QUrl url = QUrl::fromLocalFile(aPath);
        url.setQuery(QStringLiteral("immutable=1"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        if (!db.open()) {
            aError = db.lastError().text();
        } else {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (!query.exec(QStringLiteral("SELECT fileID, domain, relativePath, flags FROM Files"))) {
                aError = query.lastError().text();
            } else {
                ok = true;
                while (query.next()) {
                    const QString id = query.value(0).toString();
                    if (query.value(3).toInt() != 1 || !isFileId(id))
                        continue;
                    aEntries.append({query.value(1).toString(), query.value(2).toString(),
                                     id.left(2) + QLatin1Char('/') + id});
                }
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}
