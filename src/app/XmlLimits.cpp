#include "app/XmlLimits.h"

#include <QXmlStreamReader>

namespace {

QString check(QXmlStreamReader& aReader, const XmlLimits::Limits& aLimits)
{
    int depth = 0;
    qint64 elements = 0;
    while (!aReader.atEnd()) {
        switch (aReader.readNext()) {
        case QXmlStreamReader::DTD:
            if (!aReader.entityDeclarations().isEmpty() || !aReader.notationDeclarations().isEmpty() ||
                aReader.text().contains(QLatin1Char('[')))
                return QStringLiteral("a document type with declarations of its own");
            break;
        case QXmlStreamReader::EntityReference:
            return QStringLiteral("an entity of its own");
        case QXmlStreamReader::StartElement:
            if (++depth > aLimits.depth)
                return QStringLiteral("elements nested deeper than %1 levels").arg(aLimits.depth);
            if (++elements > aLimits.elements)
                return QStringLiteral("more than %1 elements").arg(aLimits.elements);
            if (aReader.attributes().size() > aLimits.attributes)
                return QStringLiteral("an element with more than %1 attributes").arg(aLimits.attributes);
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return QString();
}

} // namespace

namespace XmlLimits {

QString problem(QIODevice& aXml, const Limits& aLimits)
{
    QXmlStreamReader reader(&aXml);
    return check(reader, aLimits);
}

QString problem(const QByteArray& aXml, const Limits& aLimits)
{
    QXmlStreamReader reader(aXml);
    return check(reader, aLimits);
}

} // namespace XmlLimits
