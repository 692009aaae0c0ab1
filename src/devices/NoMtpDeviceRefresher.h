#pragma once

#include "devices/DeviceParent.h"
#include "devices/MtpDeviceRefresher.h"

#include <QMutex>

// The refresher of a build without MTP support: it never finds a phone.
class NoMtpDeviceRefresher : public MtpDeviceRefresher
{
    Q_OBJECT

public:
    using MtpDeviceRefresher::MtpDeviceRefresher;

    bool isActive() override { return false; }
    void start(DeviceList&) override {}
    std::vector<std::unique_ptr<DeviceParent>> takeFoundParents() override { return {}; }
    QList<DeviceParent*> takeGoneParents() override { return {}; }
    void lock(int) override { mMutex.lock(); }
    void unlock() override { mMutex.unlock(); }

private:
    QMutex mMutex;
};
