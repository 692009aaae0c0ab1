#include "backup/RecipientPlistContentHandler.h"

void RecipientPlistContentHandler::startElement(const QString& aLocalName)
{
    mElement = aLocalName;
}

void RecipientPlistContentHandler::characters(const QString& aText)
{
    if (aText.isEmpty() || aText.at(0) == QLatin1Char('\n'))
        return;
    if (mElement.compare(QLatin1String("string"), Qt::CaseInsensitive) == 0)
        mRecipients.append(aText);
}
