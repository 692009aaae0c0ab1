#pragma once

#include "devices/DeviceParent.h"
#include "devices/mtp/MtpDevice.h"
#include "devices/mtp/PortableDevice.h"

#include <QString>

#include <memory>

// One phone connected over MTP: its opened handle (with the folder cache), its names, and the
// vendor and product strings that tell it apart from other phones across refresher passes (the
// product string holds where it is plugged in: plugged in again, it is opened again). Its
// storages are its children.
class DeviceParentMtpMac : public DeviceParent
{
public:
    DeviceParentMtpMac(std::unique_ptr<::MtpDevice> aDevice, const PortableDeviceRecord& aRecord,
                       const QString& aFriendlyName);
    ~DeviceParentMtpMac() override;

    int GetDeviceType() override { return Device::DeviceTypeMtp; }

    // The opened phone (logged on entry and exit).
    ::MtpDevice& MtpDevice();
    // The strings a record of the same phone has.
    static QString vendorOf(const PortableDeviceRecord& aRecord);
    static QString productOf(const PortableDeviceRecord& aRecord);
    const QString& vendor() const { return mVendor; }
    const QString& product() const { return mProduct; }
    // Both 0: the numbers are logged only.
    int vendorId() const { return 0; }
    int productId() const { return 0; }
    const QString& friendlyName() const { return mFriendlyName; }
    const QString& description() const { return mRecord.description; }
    const QString& manufacturer() const { return mRecord.manufacturer; }

private:
    // Released after the storages that use it (the destructor removes them first).
    std::unique_ptr<::MtpDevice> mDevice;
    PortableDeviceRecord mRecord;
    QString mFriendlyName;
    QString mVendor;
    QString mProduct;
};
