#pragma once

#include "devices/MDeviceListObserver.h"

#include <QWizardPage>

class DeviceList;
class QListWidget;

// The wizard's page where the user picks the phone: the connected devices by name, kept current
// while the page is shown (it observes the device list). Next needs a device that is mounted and
// not disabled (a phone without the phone application is).
class ConnectDevicePage : public QWizardPage, public MDeviceListObserver
{
    Q_OBJECT

public:
    ConnectDevicePage(DeviceList& aDeviceList, QWidget* aParent = nullptr);

    void DeviceListChanged() override;
    bool isComplete() const override;
    bool validatePage() override;
    void setActive(bool aActive) { mActive = aActive; }
    QListWidget* list() const { return mList; }

public slots:
    void selectionChanged();
    void unableToOpenDevice(int aReason);

private:
    DeviceList& mDeviceList;
    QListWidget* mList;
    bool mComplete = false;
    bool mActive = false;
    bool mErrorShown = false;
};
