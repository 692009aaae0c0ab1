#pragma once

#include <QByteArray>
#include <QString>

// The plain text of a message's attributedBody (iOS 16 and later often leave the text column
// empty): an NSAttributedString in Apple's typedstream form, whose string follows the class
// name "NSString" and a type marker ("+"), as a length (one byte; or 0x81 and two bytes, or 0x82
// and four, little-endian) and that many bytes of UTF-8. Null when the blob holds no string or a
// length runs past its end.
class TypedStreamText
{
public:
    static QString text(const QByteArray& aAttributedBody);
};
