#pragma once

#include "backup/PropertyList.h"

#include <QString>
#include <QStringList>

// Reads the recipients of an old iPhone message: every string of the message's plist.
class RecipientPlistContentHandler : public PlistContentHandler
{
public:
    void startElement(const QString& aLocalName) override;
    void characters(const QString& aText) override;

    QStringList recipients() const { return mRecipients; }

private:
    QStringList mRecipients;
    QString mElement;
};
