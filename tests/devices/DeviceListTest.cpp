#include "devices/DeviceList.h"
#include "devices/DeviceParent.h"
#include "devices/MDeviceListObserver.h"
#include "devices/usbms/UsbMSDevice.h"
#include "settings/SyncSettings.h"
#include "support/FakeDriveProber.h"
#include "support/SimulatedPhone.h"
#include "support/TestHome.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct CountingObserver : MDeviceListObserver
{
    void DeviceListChanged() override { ++changes; }
    int changes = 0;
};

class DeviceListTest : public ::testing::Test
{
protected:
    QString drive(const QString& aName)
    {
        const QString root = mHome.path() + "/media/" + aName + "/";
        QDir().mkpath(root);
        return root;
    }
    void configure(const QString& aRoot, const QString& aName)
    {
        UsbMSDevice device(aRoot, aName, true, mProber);
        device.SetConfigured();
        SyncSettings settings;
        settings.load();
        settings.setConfig(device.UniqueDeviceId(), true, 0, {}, {}, aName);
        QTest::qWait(2); // identities are made from the time in milliseconds
    }
    bool waitForMountedAnswer(DeviceList& aList, const QString& aRoot, int aState)
    {
        return QTest::qWaitFor([&] { return aList.mountedState(aRoot) == aState; }, 5000);
    }

    TestHome mHome;
    std::shared_ptr<FakeDriveProber> mProber = std::make_shared<FakeDriveProber>();
    std::shared_ptr<SimulatedPhoneManager> mPhones = std::make_shared<SimulatedPhoneManager>();
};

} // namespace

TEST_F(DeviceListTest, AnInsertedDriveIsListedThenCountedAsMounted)
{
    DeviceList list(mProber, mPhones);
    EXPECT_FALSE(list.RefreshDevices());
    EXPECT_FALSE(list.DeviceIsConnected());

    const QString root = drive("STICK");
    mProber->plugIn(root, "SanDisk Cruzer");
    EXPECT_TRUE(list.RefreshDevices()); // the drive string changed
    ASSERT_EQ(list.GetDevices().size(), 1);
    EXPECT_EQ(list.GetDevices()[0]->FriendlyName(), "SanDisk Cruzer");
    ASSERT_TRUE(waitForMountedAnswer(list, root, 1));
    EXPECT_TRUE(list.RefreshDevices()); // now counted as mounted
    EXPECT_FALSE(list.RefreshDevices());
    EXPECT_FALSE(list.RefreshDevices());

    // Unmounted: the drive itself no longer answers, so it stops counting at once.
    mProber->setMounted(root, false);
    EXPECT_TRUE(list.RefreshDevices());
    ASSERT_TRUE(waitForMountedAnswer(list, root, 2));
    EXPECT_FALSE(list.RefreshDevices());
    mProber->unplugAll();
    EXPECT_TRUE(list.RefreshDevices());
    EXPECT_FALSE(list.DeviceIsConnected());
}

TEST_F(DeviceListTest, TheConnectedDeviceIsTheOneConfiguredLast)
{
    const QString a = drive("A"), b = drive("B"), c = drive("C");
    configure(b, "Second");
    configure(a, "First");
    mProber->plugIn(a, "First");
    mProber->plugIn(b, "Second");
    mProber->plugIn(c, "Unconfigured");
    DeviceList list(mProber, mPhones);
    list.RefreshDevices();
    ASSERT_TRUE(waitForMountedAnswer(list, c, 1));
    list.RefreshDevices();
    ASSERT_EQ(list.GetDevices().size(), 3);
    // "First" was configured last: its entry stands lowest in the settings file.
    EXPECT_EQ(list.ConnectedDevice()->FriendlyName(), "First");
    EXPECT_EQ(list.parentOfDevice(list.ConnectedDevice())->name(), "First");

    DeviceList none(mProber, mPhones);
    mProber->unplugAll();
    mProber->plugIn(c, "Unconfigured");
    none.RefreshDevices();
    EXPECT_EQ(none.ConnectedDevice()->FriendlyName(), "Unconfigured");
    none.SelectDevice(3);
    EXPECT_FALSE(none.DeviceIsSelected());
    none.SelectDevice(0);
    ASSERT_TRUE(none.DeviceIsSelected());
    EXPECT_EQ(none.SelectedDevice()->FriendlyName(), "Unconfigured");
}

TEST_F(DeviceListTest, AutoRefreshNotifiesItsObserverAndNothingWhileOff)
{
    DeviceList list(mProber, mPhones);
    CountingObserver observer;
    list.EnableAutoRefresh(&observer);
    EXPECT_EQ(observer.changes, 1); // forced at once
    list.EnableAutoRefresh(&observer);
    EXPECT_EQ(observer.changes, 1);

    mProber->plugIn(drive("LATE"), "Late");
    ASSERT_TRUE(QTest::qWaitFor([&] { return observer.changes >= 2; }, 6000)); // the 2000 ms timer

    list.DisableAutoRefresh();
    list.DisableAutoRefresh();
    const int changes = observer.changes;
    mProber->unplugAll();
    QTest::qWait(2500);
    EXPECT_EQ(observer.changes, changes); // nothing while off
}
