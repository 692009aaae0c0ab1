#pragma once

#include <QtGlobal>

class Device;

// Used and free bytes of a mounted device; both 0 when it isn't mounted. Returns the last error
// code of the device's queries, 0 on success.
class SpaceCalculator
{
public:
    static int calculate(Device& aDevice, qint64& aUsedSpace, qint64& aFreeSpace);
};
