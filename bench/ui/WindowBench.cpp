// The window's two targets, on the real backends with a library of this bench's making:
//   1. time from creating the window to its first state shown (state 0 or 1) with a library of
//      100,000 tracks: under 1 s (the pause before the library is read included);
//   2. the GUI thread's longest stall while a 2,000-track synchronisation runs from the
//      Synchronize button onto a folder player (a timer ticks every 5 ms; the longest gap between
//      ticks, less the tick): under 50 ms.
//
//   bench_window [TRACKS_FOR_START [TRACKS_FOR_SYNC]]
#include "devices/Device.h"
#include "devices/DeviceList.h"
#include "settings/SyncSettings.h"
#include "support/LibraryXmlWriter.h"
#include "ui/SyncUi.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// A library of aTracks tracks in one playlist; with aFiles, each track's file (64 KB) is made too.
void makeLibrary(const QString& aHome, int aTracks, bool aFiles)
{
    const QString media = aHome + "/Music/iTunes/iTunes Media/Music/";
    QDir().mkpath(media);
    LibraryXmlWriter writer;
    writer.musicFolder = LibraryXmlWriter::fileUrl(aHome + "/Music/iTunes/iTunes Media/");
    XmlPlaylistEntry all{"All", false, -1, false, false, false, {}};
    const QByteArray content(64 * 1024, 'm');
    for (int i = 0; i < aTracks; ++i) {
        const QString folder = media + QString("Artist %1/Album %2/").arg(i / 120).arg(i / 12);
        const QString path = folder + QString("%1 Track %2.mp3").arg(i % 12 + 1).arg(i);
        if (aFiles) {
            if (i % 12 == 0)
                QDir().mkpath(folder);
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(content);
        }
        XmlTrackEntry track{1000 + i, QString("Track %1").arg(i), QString("Artist %1").arg(i / 120),
                            QString("Album %1").arg(i / 12), LibraryXmlWriter::fileUrl(path)};
        track.size = content.size();
        track.trackNumber = i % 12 + 1;
        writer.tracks.append(track);
        all.trackIds.append(1000 + i);
    }
    writer.playlists = {{"Library", true, -1, false, false, false, all.trackIds},
                        {"Music", false, 4, false, false, false, all.trackIds},
                        all};
    writer.writeTo(aHome + "/Music/iTunes/iTunes Music Library.xml");
}

bool waitFor(const std::function<bool()>& aCondition, int aTimeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!aCondition() && clock.elapsed() < aTimeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return aCondition();
}

} // namespace

int main(int argc, char** argv)
{
    const int startTracks = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int syncTracks = argc > 2 ? std::atoi(argv[2]) : 2000;
    QTemporaryDir home;
    setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit().constData(), 1);
    if (!getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const QString player = home.path() + "/player/";
    QDir().mkpath(player);
    setenv("VELTRANE_PLAYER_FOLDERS", player.toLocal8Bit().constData(), 1);
    QApplication application(argc, argv);
    SyncSettings settings; // a settings file exists: no first-run wizard
    settings.load();
    settings.save();

    makeLibrary(home.path(), startTracks, false);
    {
        QElapsedTimer clock;
        clock.start();
        SyncUi window(Backends::forThisComputer(QString()));
        window.show();
        const bool shown = waitFor([&] { return window.state() == 0 || window.state() == 1; }, 60000);
        std::printf("start to first state, %d tracks: %lld ms%s (target under 1000 ms)\n", startTracks,
                    static_cast<long long>(clock.elapsed()), shown ? "" : " (not reached)");
    }

    makeLibrary(home.path(), syncTracks, true);
    SyncUi window(Backends::forThisComputer(QString()));
    window.show();
    if (!waitFor([&] { return window.state() == 1; }, 60000)) {
        std::printf("the player never showed as ready\n");
        return 1;
    }
    // The player is configured as the wizard would, for all music.
    window.deviceList().RefreshDevices();
    Device* device = window.deviceList().ConnectedDevice();
    device->SetConfigured();
    SyncSettings choice;
    choice.load();
    choice.setConfig(device->UniqueDeviceId(), true, 0, {}, {}, device->FriendlyName());
    choice.setSkipUsbEjectWarning(device->UniqueDeviceId());
    choice.save();
    waitFor([&] { return device->IsMounted(); }, 10000);

    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer ticker;
    QElapsedTimer* runClock = nullptr;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 gap = sinceTick.restart();
        if (gap > 50 && getenv("BENCH_VERBOSE"))
            std::printf("  stall of %lld ms ending %lld ms into the run (state %d)\n",
                        static_cast<long long>(gap), static_cast<long long>(runClock->elapsed()),
                        window.state());
        longest = qMax(longest, gap);
    });
    QElapsedTimer run;
    run.start();
    runClock = &run;
    window.syncButton()->click();
    sinceTick.start();
    ticker.start(5);
    waitFor([&] { return window.lastRunState() != -1 && !window.runInProgress(); }, 600000);
    ticker.stop();
    std::printf(
        "sync of %d tracks: %lld ms, ended in state %d; longest GUI stall: %lld ms (target under 50 ms)\n",
        syncTracks, static_cast<long long>(run.elapsed()), window.lastRunState(),
        static_cast<long long>(longest - 5));
    return window.lastRunState() == 2 ? 0 : 1;
}
