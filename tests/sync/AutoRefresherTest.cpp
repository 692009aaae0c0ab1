// The auto-refresher: connection state and free space from device-list changes and library events.
#include "sync/AutoRefresher.h"

#include "devices/DeviceList.h"
#include "library/LocalMusicLibrary.h"
#include "support/FakeDriveProber.h"
#include "support/FakeITunes.h"
#include "support/SimulatedPhone.h"
#include "support/TestHome.h"

#include <QDir>
#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(AutoRefresher, ReportsStateAndSpace)
{
    TestHome home;
    auto prober = std::make_shared<FakeDriveProber>();
    auto itunes = std::make_shared<FakeITunes>();
    LocalMusicLibrary library(itunes);
    DeviceList list(prober, std::make_shared<SimulatedPhoneManager>());
    AutoRefresher refresher(library, list);
    QSignalSpy states(&refresher, &AutoRefresher::connectedDeviceStateChanged);
    QSignalSpy space(&refresher, &AutoRefresher::freeSpaceUpdate);
    refresher.start();
    ASSERT_EQ(states.count(), 1);
    EXPECT_EQ(states[0][0].toInt(), 0);
    EXPECT_EQ(space.count(), 0);
    refresher.stop();

    const QString phone = home.path() + "/media/PHONE/";
    QDir().mkpath(phone);
    prober->plugIn(phone, "Phone");
    refresher.start();
    ASSERT_EQ(states.count(), 2);
    EXPECT_EQ(states[1][0].toInt(), 1);
    ASSERT_EQ(space.count(), 1);
    EXPECT_GT(space[0][0].toLongLong() + space[0][1].toLongLong(), 0);

    // A library event asks for the space again, queued.
    itunes->raiseEvent();
    ASSERT_TRUE(space.wait(2000));
}
