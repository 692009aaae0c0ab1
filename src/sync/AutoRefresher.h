#pragma once

#include "devices/MDeviceListObserver.h"

#include <QObject>

class DeviceList;
class LocalMusicLibrary;

// Keeps the main window told whether a phone is ready (SyncState::Ready) or not (NoPhone) and how much
// space it has, from device-list changes and library events. Lives on the GUI thread.
class AutoRefresher : public QObject, public MDeviceListObserver
{
    Q_OBJECT

public:
    AutoRefresher(LocalMusicLibrary& aLibrary, DeviceList& aDeviceList, QObject* aParent = nullptr);
    ~AutoRefresher() override;

    void start();
    void stop();
    void DeviceListChanged() override;

public slots:
    void timeout();

signals:
    void connectedDeviceStateChanged(int aState, int aPercentComplete);
    void freeSpaceUpdate(qint64 aUsedSpaceAfterSync, qint64 aFreeSpaceAfterSync);

private:
    LocalMusicLibrary& mLibrary;
    DeviceList& mDeviceList;
};
