#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One field of a BlackBerry database record: a type and its bytes.
struct IpdField
{
    quint8 type = 0;
    QByteArray data;
};
using IpdRecord = QList<IpdField>;

// The databases of BlackBerry IPD files: a header line, a version byte, the number of databases
// (16 bits, big-endian), a zero byte, the names (a 16-bit little-endian length, then UTF-8 ending
// in NUL), then records until the end: database id (16 bits), record length (32), version (8),
// handle (16), unique id (32), and fields filling the rest of the record: length (16), type (8),
// data. Records belong to the database whose position in the name list is their id; the names of
// every file read are appended to one list.
//
// Every length and offset is checked against the record and the file: a damaged or hostile file
// is read up to the damage and never makes the reader read past its end or allocate more than
// its size.
class IpdDatabases
{
public:
    // Appends a name with no records (a placeholder that takes a position).
    void addPlaceholder(const QString& aName);
    // Reads one IPD file; false when it could not be opened or its header is not an IPD header.
    bool readFile(const QString& aPath);
    bool read(const QByteArray& aData);

    // The records of the database named aName (all databases of that name), in file order.
    QList<IpdRecord> recordsOf(const QString& aName) const;
    bool has(const QString& aName) const { return mNames.contains(aName); }
    const QStringList& names() const { return mNames; }

private:
    QStringList mNames;
    QList<QList<IpdRecord>> mRecords;
};
