#pragma once

// Told when the set of connected devices may have changed (on the device list's thread).
class MDeviceListObserver
{
public:
    virtual ~MDeviceListObserver() = default;
    virtual void DeviceListChanged() = 0;
};
