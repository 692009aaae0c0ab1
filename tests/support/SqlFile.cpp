#include "support/SqlFile.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

SqlFile::SqlFile(const QString& aPath) : mConnection(QUuid::createUuid().toString())
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), mConnection);
    db.setDatabaseName(aPath);
    if (!db.open())
        qFatal("test fixture: unable to make %s", qPrintable(aPath));
}

SqlFile::~SqlFile()
{
    QSqlDatabase::database(mConnection, false).close();
    QSqlDatabase::removeDatabase(mConnection);
}

void SqlFile::exec(const QString& aSql, const QVariantList& aValues)
{
    QSqlQuery query(QSqlDatabase::database(mConnection, false));
    bool ok = query.prepare(aSql);
    for (const QVariant& value : aValues)
        query.addBindValue(value);
    ok = ok && query.exec();
    if (!ok)
        qFatal("test fixture: %s: %s", qPrintable(aSql), qPrintable(query.lastError().text()));
}
