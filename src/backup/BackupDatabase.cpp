#include "backup/BackupDatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>
#include <QStringList>

namespace {

bool schemaReadable(const QSqlDatabase& aDb)
{
    QSqlQuery check(aDb);
    return check.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
}

} // namespace

bool BackupDatabase::isSqliteFile(const QString& aPath)
{
    QFile file(aPath);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
}

BackupDatabase::BackupDatabase(const QString& aPath, const QString& aConnectionName)
    : mConnectionName(aConnectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), mConnectionName);
    // A missing file is no database (opening it would make an empty one).
    if (!QFileInfo(aPath).isFile()) {
        mError = QStringLiteral("no such file");
        return;
    }
    db.setDatabaseName(aPath);
    // A restored database is a private copy: opened so that SQLite applies its write-ahead log,
    // which holds the newest rows (a read-only or immutable open would leave them out). Nothing
    // is written to it.
    mOpen = db.open();
    if (!mOpen) {
        mError = db.lastError().text();
        return;
    }
    // SQLite opens anything lazily; the header and a look at the schema tell a database.
    const bool header = isSqliteFile(aPath);
    mValid = header && schemaReadable(db);
    if (!mValid)
        mError = header ? db.lastError().text() : QStringLiteral("not a SQLite database");
}

BackupDatabase::~BackupDatabase()
{
    {
        QSqlDatabase db = QSqlDatabase::database(mConnectionName, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(mConnectionName);
}

bool BackupDatabase::hasTable(const QString& aName) const
{
    return QSqlDatabase::database(mConnectionName, false).tables().contains(aName);
}

QSqlQuery BackupDatabase::query() const
{
    QSqlQuery q(QSqlDatabase::database(mConnectionName, false));
    q.setForwardOnly(true);
    return q;
}

QVariant BackupDatabase::Row::value(const QString& aColumn)
{
    auto found = mPositions.constFind(aColumn);
    if (found == mPositions.cend())
        found = mPositions.insert(aColumn, mQuery.record().indexOf(aColumn));
    return found.value() < 0 ? QVariant() : mQuery.value(found.value());
}

QString BackupDatabase::Row::text(const QString& aColumn)
{
    const QVariant v = value(aColumn);
    return v.isNull() ? QString() : v.toString();
}
