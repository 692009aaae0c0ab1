#include "ui/wizard/ConnectDevicePage.h"

#include "app/LogScope.h"
#include "devices/Device.h"
#include "devices/DeviceList.h"
#include "ui/SiteLink.h"
#include "ui/SyncUiTexts.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QVBoxLayout>

ConnectDevicePage::ConnectDevicePage(DeviceList& aDeviceList, QWidget* aParent)
    : QWizardPage(aParent), mDeviceList(aDeviceList)
{
    setTitle(tr("Phone Setup"));
    setPixmap(QWizard::WatermarkPixmap, QPixmap(QStringLiteral(":/images/wizard1.png")));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr(
        "<p>Connect your phone to the PC using the USB cable and then select it from the list "
        "below.</p><p>If "
        "your phone requests that you select an option after connecting the cable then select the \"MTP\" or "
        "\"Media\" option (if available).</p>"));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    mList = new QListWidget;
    mList->setMaximumHeight(150);
    layout->addWidget(mList);
    auto* help = new QLabel(tr("<p>Click ") +
                            SiteLink::to(QStringLiteral("/blog/files/phone_not_detected.html"), tr("here")) +
                            tr(" if your phone is connected but is not displayed above.</p>"));
    help->setWordWrap(true);
    help->setOpenExternalLinks(true);
    layout->addWidget(help);
    connect(mList, &QListWidget::itemSelectionChanged, this, &ConnectDevicePage::selectionChanged);
    connect(&mDeviceList, &DeviceList::unableToOpenDevice, this, &ConnectDevicePage::unableToOpenDevice);
}

void ConnectDevicePage::DeviceListChanged()
{
    LogScope log("ConnectDevicePage::DeviceListChanged");
    mComplete = false;
    emit completeChanged();
    mList->clear();
    const QList<Device*>& devices = mDeviceList.GetDevices();
    for (int i = 0; i < devices.size(); ++i) {
        logValue("device index", i);
        logValue("friendlyName", devices[i]->FriendlyName());
        mList->addItem(devices[i]->FriendlyName());
    }
}

void ConnectDevicePage::selectionChanged()
{
    const int row = mList->currentRow();
    mDeviceList.SelectDevice(row);
    mComplete = row != -1;
    emit completeChanged();
}

bool ConnectDevicePage::isComplete() const
{
    return mComplete;
}

bool ConnectDevicePage::validatePage()
{
    LogScope log("ConnectDevicePage::validatePage");
    bool result = true;
    if (mDeviceList.DeviceIsSelected()) {
        Device* device = mDeviceList.SelectedDevice();
        if (!device->IsMounted()) {
            logMessage("Device not mounted");
            result = false;
            QMessageBox::warning(this, SyncUiTexts::product(), SyncUiTexts::enableUsb());
        }
        if (device->Disabled()) {
            logMessage("Device is disabled");
            result = false;
            QMessageBox::warning(
                this, SyncUiTexts::product(),
                tr("<p>The USB connection on the selected device is not responding correctly. Note that the "
                   "Veltrane application must be installed and run on the Android device before connecting "
                   "it. "
                   "Click ") +
                    SiteLink::to(QStringLiteral("/blog/files/usb_connection_problem.html"), tr("here")) +
                    tr(" for details on how to fix this issue.<p>"));
        }
    }
    return log.ret(result);
}

void ConnectDevicePage::unableToOpenDevice(int)
{
    if (!mActive || mErrorShown)
        return;
    mErrorShown = true;
    QString text =
        tr("It has not been possible to connect to the device. Try restarting the device and your PC then "
           "try again.");
    // Why, when it is known (another program holds the phone, say).
    const QString reason = mDeviceList.unableToOpenReason();
    if (!reason.isEmpty())
        text += QStringLiteral("\n\n") + reason;
    QMessageBox::warning(this, tr("Unable to Connect to The Device"), text, QMessageBox::Ok);
}
