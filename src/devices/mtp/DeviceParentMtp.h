#pragma once

#include "devices/DeviceParent.h"

// The branch of physical devices reached over MTP.
class DeviceParentMtp : public DeviceParent
{
public:
    using DeviceParent::DeviceParent;
    int GetDeviceType() override { return Device::DeviceTypeMtp; }
};
