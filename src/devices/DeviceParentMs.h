#pragma once

#include "devices/DeviceParent.h"

// The parent of one USB drive: the drive is its only storage.
class DeviceParentMs : public DeviceParent
{
public:
    using DeviceParent::DeviceParent;
    int GetDeviceType() override { return Device::DeviceTypeUsbMassStorage; }
};
