#include "backup/DeviceNameContentHandler.h"

void DeviceNameContentHandler::startElement(const QString& aLocalName)
{
    mElement = aLocalName;
}

void DeviceNameContentHandler::characters(const QString& aText)
{
    // Text between elements (the indentation) starts with a line feed.
    if (aText.isEmpty() || aText.at(0) == QLatin1Char('\n'))
        return;
    if (mElement == QLatin1String("key"))
        mLastKey = aText;
    else if (mElement == QLatin1String("string") && mLastKey == QLatin1String("Display Name"))
        mDeviceName = aText;
}
