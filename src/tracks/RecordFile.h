#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A binary file read and written in place at explicit positions. Reads go through a window of
// the file kept in memory, so reading a file field by field costs one system call per window,
// not one per field; writes go straight to the file and keep the window in step.
class RecordFile
{
public:
    enum ReadResult
    {
        ReadOk,
        ReadAtEnd,  // no byte left at the position
        ReadShort,  // the file ends inside the value
        ReadFailed, // the system refused the read
    };

    bool open(const QString& aPath);
    void close();
    bool isOpen() const { return mFile.isOpen(); }
    QString errorString() const { return mFile.errorString(); }
    qint64 size() const { return mSize; }

    ReadResult readAt(qint64 aPosition, char* aData, qint64 aLength);
    // Like readAt, but aData points at the bytes in the window instead of receiving a copy; valid
    // until the next read or write.
    ReadResult viewAt(qint64 aPosition, qint64 aLength, const char*& aData);
    bool writeAt(qint64 aPosition, const QByteArray& aData);
    // Appends at the end of the file; aStart receives the offset the data begins at.
    bool append(const QByteArray& aData, qint64& aStart);
    bool truncate();
    bool flush();

private:
    static constexpr qint64 kWindowSize = 64 * 1024;

    QFile mFile;
    qint64 mSize = 0;
    QByteArray mWindow;
    qint64 mWindowStart = 0;
};
