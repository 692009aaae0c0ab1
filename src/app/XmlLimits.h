#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// XML from outside the program (a phone's files, a backup's property lists, a settings file
// anyone can edit) is read only within limits: no document type with declarations of its own
// (entities that expand are the usual bomb; a plain <!DOCTYPE plist ...> line is fine), bounded
// nesting, attributes per element and elements in all. A document over a limit is refused whole
// before any reader builds anything from it; one that is merely damaged is left to its reader.
namespace XmlLimits {

struct Limits
{
    int depth = 64;
    int attributes = 64;
    qint64 elements = 1000000;
};

// Why the document is refused; empty when it is within the limits.
QString problem(QIODevice& aXml, const Limits& aLimits);
QString problem(const QByteArray& aXml, const Limits& aLimits);

} // namespace XmlLimits
