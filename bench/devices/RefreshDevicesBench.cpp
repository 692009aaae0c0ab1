// DeviceList::RefreshDevices with 10 mounted USB volumes, as the 2-second timer runs it for the
// life of the program: the Linux prober on a fixture /proc and /sys, real folders as the drives
// (each configured, with an identity and the phone's android.xml). Target: under 1 ms of CPU
// per refresh, the mounted checker's thread included.
#include "devices/DeviceList.h"
#include "devices/usbms/linux/LinuxDriveProber.h"
#include "support/SimulatedPhone.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

namespace {

void writeFile(const QString& aPath, const QByteArray& aContent)
{
    QDir().mkpath(aPath.left(aPath.lastIndexOf('/')));
    QFile file(aPath);
    if (file.open(QIODevice::WriteOnly))
        file.write(aContent);
}

void refreshDevices(benchmark::State& aState)
{
    QTemporaryDir fixture;
    const QString sys = fixture.path() + "/sys";
    QByteArray mountInfo = "22 1 8:2 / / rw - ext4 /dev/sda2 rw\n30 22 0:23 / /tmp rw - tmpfs tmpfs rw\n";
    QDir().mkpath(sys + "/dev/block");
    for (int i = 0; i < 10; ++i) {
        const QString disk =
            sys + QString("/devices/pci0000:00/usb2/2-%1/host%1/block/sd%2").arg(i).arg(QChar('b' + i));
        writeFile(disk + "/removable", "1\n");
        writeFile(disk + "/device/vendor", "Vendor\n");
        writeFile(disk + "/device/model", QString("Player %1\n").arg(i).toLatin1());
        writeFile(disk + "/part1/partition", "1\n");
        const QString device = QString("8:%1").arg(16 * (i + 1) + 1);
        QFile::link(disk + "/part1", sys + "/dev/block/" + device);
        const QString mount = fixture.path() + QString("/media/drive%1").arg(i);
        writeFile(mount + "/KORDA/uniqueid", QString("12345%1Y").arg(i).toLatin1());
        writeFile(mount + "/KORDA/android.xml", "<info version=\"29\" screen_pixels=\"2073600\"/>");
        mountInfo += QString("%1 22 %2 / %3 rw - vfat /dev/sd%4 rw\n")
                         .arg(50 + i)
                         .arg(device, mount)
                         .arg(QChar('b' + i))
                         .toLatin1();
    }
    writeFile(fixture.path() + "/proc/self/mountinfo", mountInfo);

    DeviceList list(std::make_shared<LinuxDriveProber>(fixture.path() + "/proc", sys),
                    std::make_shared<SimulatedPhoneManager>());
    for (int i = 0; i < 3; ++i) { // let the checker answer, so every drive counts as mounted
        list.RefreshDevices();
        QCoreApplication::processEvents();
        QThread::msleep(20);
        QCoreApplication::processEvents();
    }
    for (auto _ : aState) {
        list.RefreshDevices();
        QCoreApplication::processEvents();
    }
    if (list.GetDevices().size() != 10)
        aState.SkipWithError("the ten drives were not all listed");
}
BENCHMARK(refreshDevices)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
