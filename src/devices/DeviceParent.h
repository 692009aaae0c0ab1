#pragma once

#include "devices/AndroidInfo.h"
#include "devices/Device.h"

#include <QList>
#include <QString>

#include <memory>
#include <vector>

// A physical device and the storages it offers, in discovery order. Owns its storages.
class DeviceParent
{
public:
    explicit DeviceParent(const QString& aName) : mName(aName) {}
    virtual ~DeviceParent() = default;
    DeviceParent(const DeviceParent&) = delete;
    DeviceParent& operator=(const DeviceParent&) = delete;

    virtual int GetDeviceType() = 0;
    // The information of the storage with the highest Android version; the first such wins.
    virtual void bestAndroidInfo(AndroidInfo& aInfo) const;

    const QString& name() const { return mName; }
    QList<Device*> children() const;
    Device* addChild(std::unique_ptr<Device> aDevice);

protected:
    // Destroys the storages now (a subclass whose storages use its members calls it first).
    void removeChildren() { mChildren.clear(); }

private:
    QString mName;
    std::vector<std::unique_ptr<Device>> mChildren;
};
