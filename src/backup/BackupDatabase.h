#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// One restored SQLite database of a backup (a private copy), open for reading under a connection
// name for as long as the object lives, with its write-ahead log applied. A database that is not
// SQLite (or is damaged) is "invalid" and its queries fail: the kind it holds fails.
class BackupDatabase
{
public:
    BackupDatabase(const QString& aPath, const QString& aConnectionName);
    ~BackupDatabase();
    BackupDatabase(const BackupDatabase&) = delete;
    BackupDatabase& operator=(const BackupDatabase&) = delete;

    // Whether a file begins as SQLite databases do (an encrypted backup's are ciphertext).
    static bool isSqliteFile(const QString& aPath);

    bool isOpen() const { return mOpen; }
    bool isValid() const { return mValid; }
    QString errorText() const { return mError; }
    bool hasTable(const QString& aName) const;
    QSqlQuery query() const;

    // The columns of a query's current row by name, read as text: null when the value is NULL or
    // the row has no such column (names compared without regard to case). Each column's position
    // is looked up once per query.
    class Row
    {
    public:
        explicit Row(const QSqlQuery& aQuery) : mQuery(aQuery) {}
        QString text(const QString& aColumn);
        QVariant value(const QString& aColumn);

    private:
        const QSqlQuery& mQuery;
        QHash<QString, int> mPositions;
    };

private:
    QString mConnectionName;
    bool mOpen = false;
    bool mValid = false;
    QString mError;
};
