#include "devices/usbms/linux/LinuxDriveProber.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// A /proc and /sys of a machine with a USB stick (mounted twice and once more as a folder bind
// mount), a card reader, an internal disk, a loop device, a CD drive, a nameless stick and a
// memory file system.
class LinuxDriveProberTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mProc = mHome.path() + "/proc";
        mSys = mHome.path() + "/sys";
        QDir().mkpath(mSys + "/dev/block");
        const QString usb =
            "devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/";
        addDisk("8:17", usb + "sdb", "sdb1", "1", "SanDisk ", "Cruzer Blade    ");
        addDisk("8:33", "devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/host7/block/sdc", "sdc1", "0",
                "Generic-", "SD/MMC");
        addDisk("8:2", "devices/pci0000:00/0000:00:17.0/ata1/host0/block/sda", "sda2", "0", "ATA",
                "Samsung SSD");
        addDisk("7:0", "devices/virtual/block/loop0", "", "0", "", "");
        addDisk("11:0", "devices/pci0000:00/0000:00:14.0/usb2/2-2/block/sr0", "", "1", "HL-DT-ST", "DVDRAM");
        addDisk("8:49", "devices/pci0000:00/0000:00:14.0/usb2/2-3/block/sdd", "sdd1", "1", "", "");
        mHome.writeFile("proc/self/mountinfo",
                        "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
                        "30 22 0:23 / /tmp rw shared:5 - tmpfs tmpfs rw\n"
                        "40 22 7:0 / /snap/core/1 ro shared:9 - squashfs /dev/loop0 ro\n"
                        "51 22 8:17 / /media/u/MY\\040STICK rw,nosuid shared:20 - vfat /dev/sdb1 rw\n"
                        "52 22 8:33 / /media/u/CARD rw shared:21 - exfat /dev/sdc1 rw\n"
                        "53 22 11:0 / /media/u/CDROM ro shared:22 - iso9660 /dev/sr0 ro\n"
                        "54 22 8:17 / /mnt/stick2 rw shared:20 - vfat /dev/sdb1 rw\n"
                        "55 22 8:17 /Music /mnt/bind rw shared:20 - vfat /dev/sdb1 rw\n"
                        "56 22 8:49 / /media/u/NONAME rw shared:23 - vfat /dev/sdd1 rw\n");
    }

    // A disk (and a partition of it, when named) in the fixture sysfs, linked from /sys/dev/block.
    void addDisk(const QString& aDevice, const QString& aDiskPath, const QString& aPartition,
                 const QByteArray& aRemovable, const QByteArray& aVendor, const QByteArray& aModel)
    {
        const QString disk = mSys + "/" + aDiskPath;
        QDir().mkpath(disk + "/device");
        writeFile(disk + "/removable", aRemovable + "\n");
        if (!aVendor.isEmpty())
            writeFile(disk + "/device/vendor", aVendor + "\n");
        if (!aModel.isEmpty())
            writeFile(disk + "/device/model", aModel + "\n");
        QString target = disk;
        if (!aPartition.isEmpty()) {
            target = disk + "/" + aPartition;
            QDir().mkpath(target);
            writeFile(target + "/partition", "1\n");
        }
        ASSERT_TRUE(
            QFile::link(QDir(mSys + "/dev/block").relativeFilePath(target), mSys + "/dev/block/" + aDevice));
    }
    static void writeFile(const QString& aPath, const QByteArray& aContent)
    {
        QFile file(aPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(aContent);
    }

    TestHome mHome;
    QString mProc;
    QString mSys;
};

} // namespace

TEST_F(LinuxDriveProberTest, ListsRemovableUsbVolumesOnly)
{
    LinuxDriveProber prober(mProc, mSys);
    const QList<DriveProber::Volume> volumes = prober.removableVolumes();
    ASSERT_EQ(volumes.size(), 3);
    EXPECT_EQ(volumes[0].root, "/media/u/MY STICK/");
    EXPECT_EQ(volumes[0].name, "SanDisk Cruzer Blade");
    EXPECT_EQ(volumes[1].root, "/media/u/CARD/"); // fixed media behind a USB card reader
    EXPECT_EQ(volumes[1].name, "Generic- SD/MMC");
    EXPECT_EQ(volumes[2].root, "/media/u/NONAME/");
    EXPECT_EQ(volumes[2].name, "Unknown Device");
    // The same answer again, from the remembered mounts.
    EXPECT_EQ(prober.removableVolumes().size(), 3);
}

TEST_F(LinuxDriveProberTest, FollowsTheMountsAsTheyChange)
{
    LinuxDriveProber prober(mProc, mSys);
    ASSERT_EQ(prober.removableVolumes().size(), 3);
    mHome.writeFile("proc/self/mountinfo", "22 1 8:2 / / rw - ext4 /dev/sda2 rw\n");
    EXPECT_TRUE(prober.removableVolumes().isEmpty());
    mHome.writeFile("proc/self/mountinfo",
                    "garbage\n\n 1 2 3\n99 1 8:17 / /run/media/x rw - vfat /dev/sdb1 rw\n");
    const auto volumes = prober.removableVolumes();
    ASSERT_EQ(volumes.size(), 1);
    EXPECT_EQ(volumes[0].root, "/run/media/x/");
    QFile::remove(mProc + "/self/mountinfo");
    EXPECT_TRUE(prober.removableVolumes().isEmpty());
}

TEST(LinuxDriveProber, DecodesMountPointsAndMeasuresVolumes)
{
    EXPECT_EQ(LinuxDriveProber::decodeMountField("/media/u/MY\\040STICK"), "/media/u/MY STICK");
    EXPECT_EQ(LinuxDriveProber::decodeMountField("/a\\011b\\012c\\134d"), "/a\tb\nc\\d");
    EXPECT_EQ(LinuxDriveProber::decodeMountField("/plain\\9"), "/plain\\9");
    TestHome home;
    LinuxDriveProber prober;
    qint64 total = 0, free = 0;
    EXPECT_TRUE(prober.volumeSize(home.path(), total, free));
    EXPECT_GT(total, 0);
    EXPECT_LE(free, total);
    EXPECT_FALSE(prober.volumeSize(home.path() + "/not/there", total, free));
}
