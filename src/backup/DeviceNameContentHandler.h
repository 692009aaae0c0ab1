#pragma once

#include "backup/PropertyList.h"

#include <QString>

// Reads the device's name from a backup's Info.plist: the string that follows the key
// "Display Name".
class DeviceNameContentHandler : public PlistContentHandler
{
public:
    void startElement(const QString& aLocalName) override;
    void characters(const QString& aText) override;

    QString deviceName() const { return mDeviceName; }
    QString errorString() const { return QString(); }

private:
    QString mLastKey;
    QString mElement;
    QString mDeviceName;
};
