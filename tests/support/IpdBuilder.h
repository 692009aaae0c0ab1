#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes BlackBerry IPD files: the header line, the database names, then records of typed fields.
class IpdBuilder
{
public:
    struct Field
    {
        quint8 type;
        QByteArray data;
    };

    // Adds a database; its id is its position.
    int addDatabase(const QByteArray& aName);
    void addRecord(int aDatabase, const QList<Field>& aFields);
    // Raw bytes appended after the records (damaged or hostile endings).
    void appendRaw(const QByteArray& aBytes) { mTail += aBytes; }
    QByteArray bytes() const;

    // Field data helpers.
    static QByteArray smsHeader(bool aSent, qint64 aMilliseconds, int aSize = 40);
    // A contact subfield: 16-bit little-endian length, type, data.
    static QByteArray subfield(quint8 aType, const QByteArray& aData);
    static QByteArray utf16BE(const QString& aText);

private:
    QList<QByteArray> mNames;
    QByteArray mRecords;
    QByteArray mTail;
    quint16 mHandle = 1;
};
