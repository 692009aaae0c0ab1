#include "devices/SpaceCalculator.h"

#include "app/LogScope.h"
#include "devices/Device.h"

int SpaceCalculator::calculate(Device& aDevice, qint64& aUsedSpace, qint64& aFreeSpace)
{
    LogScope log("SpaceCalculator::calculate");
    aUsedSpace = 0;
    aFreeSpace = 0;
    int result = 0;
    if (!aDevice.IsMounted())
        return log.ret(result);
    logMessage("Device is mounted");
    qint64 capacity = 0;
    result = aDevice.GetStorageCapacity(capacity);
    if (result != 0) {
        logMessage("Can't get storage capacity");
        return log.ret(result);
    }
    qint64 free = 0;
    result = aDevice.GetFreeStorageSpace(free);
    if (result != 0)
        logMessage("Can't get free storage space");
    aFreeSpace = free;
    aUsedSpace = capacity - free;
    return log.ret(result);
}
