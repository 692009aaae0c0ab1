// The device list's refresh with the MTP refresher running and no phone connected, as the
// 2-second timer runs it for the life of the program: the real drive prober and the real libmtp
// backend on this machine's USB devices. Each cycle is a refresh, the refresher's pass it starts
// and the mounted checker's answers. Target: under 2 ms of CPU per cycle, every thread counted.
#include "backends/Backends.h"
#include "devices/DeviceList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const Backends backends = Backends::forThisComputer(QString());
    DeviceList list(backends.driveProber, backends.phones);
    // The first pass starts libmtp and libusb and looks at every device once.
    list.refreshWithPhones(30000);
    list.EnableAutoRefresh(nullptr);
    list.DisableAutoRefresh();
    list.EnableAutoRefresh(nullptr); // refreshes from here on, as the window does

    constexpr int kCycles = 200;
    const double start = cpuMilliseconds();
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < kCycles; ++i) {
        list.update();
        // The pass and the checker finish on their threads within the cycle.
        QThread::msleep(10);
        QCoreApplication::processEvents();
    }
    const double used = cpuMilliseconds() - start;
    std::printf("devices listed: %lld\n", static_cast<long long>(list.GetDevices().size()));
    std::printf("CPU per 2-second cycle: %.3f ms over %d cycles (target under 2 ms)\n", used / kCycles,
                kCycles);
    list.DisableAutoRefresh();
    return 0;
}
