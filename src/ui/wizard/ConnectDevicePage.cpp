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
    setPixmap(QWizard::WatermarkPixmap, SyncUiTexts::watermark(devicePixelRatioF()));
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
    auto* help = new QLabel(SiteLink::sentence(
        tr("<p>Click %1here%2 if your phone is connected but is not displayed above.</p>"),
        QStringLiteral("/blog/files/phone_not_detected.html"), QStringLiteral("not-detected")));
    help->setWordWrap(true);
    help->setOpenExternalLinks(true);
    help->setTextInteractionFlags(Qt::TextBrowserInteraction);
    layout->addWidget(help);
    connect(mList, &QListWidget::itemSelectionChanged, this, &ConnectDevicePage::selectionChanged);
    connect(&mDeviceList, &DeviceList::unableToOpenDevice, this, &ConnectDevicePage::unableToOpenDevice);
}

void ConnectDevicePage::DeviceListChanged()
{
    LogScope log("ConnectDevicePage::DeviceListChanged");
    const QString chosen = mList->currentItem() ? mList->currentItem()->text() : QString();
    mComplete = false;
    emit completeChanged();
    mList->clear();
    const QList<Device*>& devices = mDeviceList.GetDevices();
    for (int i = 0; i < devices.size(); ++i) {
        logValue("device index", i);
        logValue("friendlyName", devices[i]->FriendlyName());
        mList->addItem(devices[i]->FriendlyName());
    }
    // The device chosen stays chosen; the only one connected is chosen without a click.
    const QList<QListWidgetItem*> same =
        chosen.isEmpty() ? QList<QListWidgetItem*>() : mList->findItems(chosen, Qt::MatchExactly);
    if (!same.isEmpty())
        mList->setCurrentItem(same.first());
    else if (mList->count() == 1)
        mList->setCurrentRow(0);
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
                   "Tandrel application must be installed and run on the Android device before connecting "
                   "it.</p>") +
                    SiteLink::sentence(tr("<p>Click %1here%2 for details on how to fix this issue.</p>"),
                                       QStringLiteral("/blog/files/usb_connection_problem.html"),
                                       QStringLiteral("phone-app")));
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
