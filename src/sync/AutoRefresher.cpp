#include "sync/AutoRefresher.h"

#include "app/LogScope.h"
#include "devices/DeviceList.h"
#include "devices/SpaceCalculator.h"
#include "library/LocalMusicLibrary.h"
#include "sync/SyncState.h"

AutoRefresher::AutoRefresher(LocalMusicLibrary& aLibrary, DeviceList& aDeviceList, QObject* aParent)
    : QObject(aParent), mLibrary(aLibrary), mDeviceList(aDeviceList)
{
    connect(&mLibrary, &LocalMusicLibrary::localLibraryEvent, this, &AutoRefresher::timeout,
            Qt::QueuedConnection);
}

AutoRefresher::~AutoRefresher()
{
    stop();
}

void AutoRefresher::start()
{
    LogScope log("AutoRefresher::start");
    mLibrary.listenForITunesEvents();
    mDeviceList.EnableAutoRefresh(this);
}

void AutoRefresher::stop()
{
    LogScope log("AutoRefresher::stop");
    mDeviceList.DisableAutoRefresh();
}

void AutoRefresher::DeviceListChanged()
{
    LogScope log("AutoRefresher::DeviceListChanged");
    const int state = mDeviceList.DeviceIsConnected() ? SyncState::Ready : SyncState::NoPhone;
    logValue("deviceState", state);
    emit connectedDeviceStateChanged(state, 0);
    timeout();
}

void AutoRefresher::timeout()
{
    if (!mDeviceList.DeviceIsConnected())
        return;
    logMessage("Device is connected");
    qint64 used = 0, free = 0;
    SpaceCalculator::calculate(*mDeviceList.ConnectedDevice(), used, free);
    emit freeSpaceUpdate(used, free);
}
