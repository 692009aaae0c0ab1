#include "devices/DeviceList.h"
#include "devices/DeviceParent.h"
#include "devices/FakeDriveProber.h"
#include "devices/MDeviceListObserver.h"
#include "devices/MtpDeviceRefresher.h"
#include "devices/NoMtpDeviceRefresher.h"
#include "devices/usbms/UsbMSDevice.h"
#include "settings/SyncSettings.h"
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

// A phone's parent as the MTP refresher hands it over (type 1), with one storage.
class FakeMtpParent : public DeviceParent
{
public:
    FakeMtpParent(const QString& aName, const QString& aRoot, std::shared_ptr<DriveProber> aProber)
        : DeviceParent(aName)
    {
        addChild(std::make_unique<UsbMSDevice>(aRoot, aName, false, std::move(aProber)));
    }
    int GetDeviceType() override { return Device::DeviceTypeMtp; }
};

// The refresher seen from the list: scripted passes, and a record of the list's locking.
class FakeRefresher : public MtpDeviceRefresher
{
public:
    bool isActive() override { return active; }
    void start(DeviceList&) override { ++starts; }
    std::vector<std::unique_ptr<DeviceParent>> takeFoundParents() override { return std::move(found); }
    QList<DeviceParent*> takeGoneParents() override { return std::exchange(gone, {}); }
    void lock(int aTimeout) override
    {
        ++locks;
        lastTimeout = aTimeout;
    }
    void unlock() override { ++unlocks; }

    bool active = false;
    int starts = 0, locks = 0, unlocks = 0, lastTimeout = 0;
    std::vector<std::unique_ptr<DeviceParent>> found;
    QList<DeviceParent*> gone;
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
};

} // namespace

TEST_F(DeviceListTest, AnInsertedDriveIsListedThenCountedAsMounted)
{
    DeviceList list(mProber, std::make_unique<NoMtpDeviceRefresher>());
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
    DeviceList list(mProber, std::make_unique<NoMtpDeviceRefresher>());
    list.RefreshDevices();
    ASSERT_TRUE(waitForMountedAnswer(list, c, 1));
    list.RefreshDevices();
    ASSERT_EQ(list.GetDevices().size(), 3);
    // "First" was configured last: its entry stands lowest in the settings file.
    EXPECT_EQ(list.ConnectedDevice()->FriendlyName(), "First");
    EXPECT_EQ(list.parentOfDevice(list.ConnectedDevice())->name(), "First");

    DeviceList none(mProber, std::make_unique<NoMtpDeviceRefresher>());
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

TEST_F(DeviceListTest, AutoRefreshNotifiesAndHoldsTheRefresherWhileOff)
{
    auto refresher = std::make_unique<FakeRefresher>();
    FakeRefresher& fake = *refresher;
    DeviceList list(mProber, std::move(refresher));
    CountingObserver observer;
    list.EnableAutoRefresh(&observer);
    EXPECT_EQ(observer.changes, 1); // forced at once
    list.EnableAutoRefresh(&observer);
    EXPECT_EQ(observer.changes, 1);
    EXPECT_EQ(fake.unlocks, 0);

    mProber->plugIn(drive("LATE"), "Late");
    ASSERT_TRUE(QTest::qWaitFor([&] { return observer.changes >= 2; }, 6000)); // the 2000 ms timer

    list.DisableAutoRefresh();
    list.DisableAutoRefresh();
    EXPECT_EQ(fake.locks, 1);
    EXPECT_EQ(fake.lastTimeout, 5000);
    const int changes = observer.changes;
    mProber->unplugAll();
    QTest::qWait(2500);
    EXPECT_EQ(observer.changes, changes); // nothing while off
    list.EnableAutoRefresh(&observer);
    EXPECT_EQ(fake.unlocks, 1);
}

TEST_F(DeviceListTest, PhonesComeAndGoThroughFinishedRefresherPasses)
{
    auto refresher = std::make_unique<FakeRefresher>();
    FakeRefresher& fake = *refresher;
    DeviceList list(mProber, std::move(refresher));
    fake.found.push_back(std::make_unique<FakeMtpParent>("Pixel", drive("pixel"), mProber));
    fake.active = true;
    list.RefreshDevices();
    EXPECT_EQ(list.GetDevices().size(), 0); // a pass is running: nothing taken, none started
    EXPECT_EQ(fake.starts, 0);

    fake.active = false;
    EXPECT_TRUE(list.RefreshDevices());
    ASSERT_EQ(list.GetDevices().size(), 1);
    EXPECT_EQ(fake.starts, 1);
    mProber->plugIn(drive("usb"), "Stick");
    list.RefreshDevices();
    list.RefreshDevices();
    EXPECT_EQ(list.GetDevices().size(), 2); // the phone stays while USB drives are rebuilt

    fake.gone.append(list.GetParentDevices().first());
    EXPECT_TRUE(list.RefreshDevices());
    ASSERT_EQ(list.GetDevices().size(), 1);
    EXPECT_EQ(list.GetDevices()[0]->FriendlyName(), "Stick");
}
