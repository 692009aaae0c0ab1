#pragma once

#include <QByteArray>
#include <QString>

// The plain text of a note of iOS 9 and later: ZICNOTEDATA.ZDATA is a gzip stream holding a
// protobuf message whose field 2 (the document) holds field 3 (the note) holding field 2 (the
// text). Null when the data is not such a stream; the unpacked size is bounded.
class NoteStoreBody
{
public:
    static QString text(const QByteArray& aZData);
    static QByteArray gunzip(const QByteArray& aData);

private:
    static constexpr qsizetype kMaxUnpackedBytes = 4 * 1024 * 1024;
};
