#include "devices/DeviceParent.h"

void DeviceParent::bestAndroidInfo(AndroidInfo& aInfo) const
{
    aInfo.androidVersion = -1;
    for (const auto& child : mChildren) {
        const AndroidInfo& info = child->androidInfo();
        if (info.androidVersion > aInfo.androidVersion) {
            aInfo.androidVersion = info.androidVersion;
            aInfo.screenPixels = info.screenPixels;
            aInfo.supportsPlaylistsFromPlaylistsVlt = info.supportsPlaylistsFromPlaylistsVlt;
            aInfo.supportsAlbumArtFromTracksXml = info.supportsAlbumArtFromTracksXml;
            aInfo.androidInfoRead = info.androidInfoRead;
        }
    }
}

QList<Device*> DeviceParent::children() const
{
    QList<Device*> devices;
    for (const auto& child : mChildren)
        devices.append(child.get());
    return devices;
}

Device* DeviceParent::addChild(std::unique_ptr<Device> aDevice)
{
    mChildren.push_back(std::move(aDevice));
    return mChildren.back().get();
}
