#pragma once

#include <QString>
#include <QVariantList>

// A SQLite file made by a test: statements run on it as written, values bound in order. Opens
// the file under a connection name of its own and closes it on destruction.
class SqlFile
{
public:
    explicit SqlFile(const QString& aPath);
    ~SqlFile();
    SqlFile(const SqlFile&) = delete;
    SqlFile& operator=(const SqlFile&) = delete;

    // Runs aSql; a statement that fails ends the program (a fixture that can't be made is no test).
    void exec(const QString& aSql, const QVariantList& aValues = {});

private:
    QString mConnection;
};
