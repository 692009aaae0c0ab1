// Finding phones: the refresher's passes through a device list, on simulated phones.
#include "devices/mtp/MtpMacDeviceRefresher.h"
#include "devices/DeviceList.h"
#include "devices/mtp/DeviceMtpMac.h"
#include "devices/mtp/MtpResult.h"
#include "support/FakeDriveProber.h"
#include "support/SimulatedPhone.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class MtpMacDeviceRefresherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mList = std::make_unique<DeviceList>(mProber, mManager);
        mRefresher = &mList->refresher();
        mRefresher->setOpenPause(0);
        mManager->add(mPhone);
        mInternal = mPhone->addStorage("Internal shared storage");
        mCard = mPhone->addStorage("SD card");
        mPhone->installTandrel(mInternal);
    }

    // One refresh of the list: it takes what the last pass found and starts the next pass,
    // which is waited for.
    void cycle()
    {
        mList->RefreshDevices();
        QElapsedTimer waited;
        waited.start();
        while (mRefresher->isActive() && waited.elapsed() < 10000)
            QThread::msleep(5);
        QCoreApplication::processEvents();
    }
    QStringList names() const
    {
        QStringList names;
        for (Device* device : mList->GetDevices())
            names.append(device->FriendlyName());
        return names;
    }

    TestHome mHome;
    std::shared_ptr<SimulatedPhoneManager> mManager = std::make_shared<SimulatedPhoneManager>();
    std::shared_ptr<SimulatedPhone> mPhone = std::make_shared<SimulatedPhone>();
    std::shared_ptr<FakeDriveProber> mProber = std::make_shared<FakeDriveProber>();
    MtpMacDeviceRefresher* mRefresher = nullptr;
    std::unique_ptr<DeviceList> mList;
    QString mInternal;
    QString mCard;
};

} // namespace

TEST_F(MtpMacDeviceRefresherTest, APhoneIsOpenedOnceAndListedBesideTheDrives)
{
    mProber->plugIn(mHome.path(), "Player");
    cycle();
    cycle();
    EXPECT_EQ(names(), (QStringList{"Pixel 7 Internal shared storage", "Pixel 7 SD card", "Player"}));
    for (Device* device : mList->GetDevices())
        EXPECT_FALSE(device->Disabled()) << device->FriendlyName().toStdString();
    for (int i = 0; i < 4; ++i)
        cycle();
    EXPECT_EQ(mPhone->opens(), 1);
    EXPECT_EQ(mList->GetDevices().size(), 3);
    EXPECT_EQ(mList->GetParentDevices().first()->GetDeviceType(), Device::DeviceTypeMtp);
}

TEST_F(MtpMacDeviceRefresherTest, APhoneWithoutTheAppIsListedButDisabled)
{
    auto bare = std::make_shared<SimulatedPhone>("Galaxy", "usb 2:3");
    bare->addStorage("Phone");
    bare->addStorage("Card");
    mManager->add(bare);
    cycle();
    cycle();
    ASSERT_EQ(names(), (QStringList{"Pixel 7 Internal shared storage", "Pixel 7 SD card", "Galaxy Phone",
                                    "Galaxy Card"}));
    EXPECT_FALSE(mList->GetDevices()[1]->Disabled());
    EXPECT_TRUE(mList->GetDevices()[2]->Disabled());
    EXPECT_TRUE(mList->GetDevices()[3]->Disabled());
}

TEST_F(MtpMacDeviceRefresherTest, ALockedPhoneIsReportedOnceUntilItIsUnplugged)
{
    QSignalSpy reports(mList.get(), &DeviceList::unableToOpenDevice);
    mPhone->setLocked(true);
    for (int i = 0; i < 4; ++i)
        cycle();
    QCoreApplication::processEvents();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports.first().first().toInt(), MtpMacDeviceRefresher::kNoStorage);
    EXPECT_TRUE(mList->unableToOpenReason().contains("unlock"));
    EXPECT_TRUE(names().isEmpty());
    // Unplugged (no phone at all), then plugged in still locked: told again.
    mPhone->unplug();
    cycle();
    mPhone->plugIn();
    cycle();
    QCoreApplication::processEvents();
    EXPECT_EQ(reports.size(), 2);
    // Unlocked: listed.
    mPhone->setLocked(false);
    cycle();
    cycle();
    EXPECT_EQ(names().size(), 2);
}

TEST_F(MtpMacDeviceRefresherTest, FailedOpensAreReportedAfterTheSixthAndABusyPhoneAtOnce)
{
    QSignalSpy reports(mList.get(), &DeviceList::unableToOpenDevice);
    mPhone->setOpenResult(MtpResult::kFailed);
    for (int i = 0; i < 5; ++i)
        cycle();
    QCoreApplication::processEvents();
    EXPECT_EQ(reports.size(), 0);
    cycle();
    cycle();
    QCoreApplication::processEvents();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports.first().first().toInt(), MtpMacDeviceRefresher::kUnableToOpen);

    // Another program holding a phone won't let go by itself: said at the first pass.
    auto manager = std::make_shared<SimulatedPhoneManager>();
    auto held = std::make_shared<SimulatedPhone>();
    held->addStorage("Internal shared storage");
    held->setOpenResult(MtpResult::kBusy);
    manager->add(held);
    DeviceList list(mProber, manager);
    list.refresher().setOpenPause(0);
    QSignalSpy busy(&list, &DeviceList::unableToOpenDevice);
    list.refreshWithPhones(10000);
    ASSERT_EQ(busy.size(), 1);
    EXPECT_EQ(busy.first().first().toInt(), MtpMacDeviceRefresher::kUnableToOpen);
    EXPECT_TRUE(list.unableToOpenReason().contains("another program"));
}

TEST_F(MtpMacDeviceRefresherTest, AnUnpluggedPhoneLeavesTheList)
{
    cycle();
    cycle();
    ASSERT_EQ(names().size(), 2);
    mPhone->unplug();
    cycle();
    cycle();
    EXPECT_TRUE(names().isEmpty());
    EXPECT_TRUE(mList->GetParentDevices().isEmpty());
    // Plugged in again (at a new address, as phones are): opened again.
    mPhone->plugIn();
    cycle();
    cycle();
    EXPECT_EQ(names().size(), 2);
    EXPECT_EQ(mPhone->opens(), 2);
}

TEST_F(MtpMacDeviceRefresherTest, AHeldRefresherDoesNotTouchThePhones)
{
    mList->refreshWithPhones(10000);
    ASSERT_EQ(names().size(), 2);
    const int enumerations = mManager->enumerations();
    for (int i = 0; i < 3; ++i)
        cycle();
    EXPECT_EQ(mManager->enumerations(), enumerations);
    EXPECT_EQ(names().size(), 2);
    // Auto refresh on releases it.
    mList->EnableAutoRefresh(nullptr);
    cycle();
    EXPECT_GT(mManager->enumerations(), enumerations);
    mList->DisableAutoRefresh();
}

TEST_F(MtpMacDeviceRefresherTest, DestroyingTheListStopsAPassWithoutWaitingForIt)
{
    mRefresher->setOpenPause(20000);
    mList->RefreshDevices();
    QThread::msleep(100); // the pass is opening the phone now
    QElapsedTimer destroying;
    destroying.start();
    mList.reset();
    EXPECT_LT(destroying.elapsed(), 5000);
}
