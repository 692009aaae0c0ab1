#include "devices/mtp/DeviceParentMtpMac.h"

#include "app/LogScope.h"

DeviceParentMtpMac::DeviceParentMtpMac(std::unique_ptr<::MtpDevice> aDevice,
                                       const PortableDeviceRecord& aRecord, const QString& aFriendlyName)
    : DeviceParent(aFriendlyName.isEmpty() ? aRecord.description : aFriendlyName),
      mDevice(std::move(aDevice)), mRecord(aRecord), mFriendlyName(aFriendlyName), mVendor(vendorOf(aRecord)),
      mProduct(productOf(aRecord))
{
}

DeviceParentMtpMac::~DeviceParentMtpMac()
{
    removeChildren();
}

QString DeviceParentMtpMac::vendorOf(const PortableDeviceRecord& aRecord)
{
    return aRecord.manufacturer;
}

QString DeviceParentMtpMac::productOf(const PortableDeviceRecord& aRecord)
{
    return aRecord.description + QStringLiteral(" at ") + aRecord.id;
}

::MtpDevice& DeviceParentMtpMac::MtpDevice()
{
    LogScope log("DeviceParentMtpMac::MtpDevice");
    return *mDevice;
}
