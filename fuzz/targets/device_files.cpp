// A drive's or phone's own files: KORDA/uniqueid, KORDA/android.xml, and a playlist read back
// to compare with the one to be written.
#include "devices/usbms/DriveProber.h"
#include "devices/usbms/UsbMSDevice.h"
#include "fuzz/FuzzSupport.h"
#include "tracks/LocalPlaylist.h"
#include "tracks/TrackList.h"

namespace {

class NoDrives : public DriveProber
{
public:
    QList<Volume> removableVolumes() override { return {}; }
    bool volumeSize(const QString&, qint64&, qint64&) override { return false; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    const QString home = fuzz::home();
    const QByteArray bytes = fuzz::bytes(aData, aSize);
    Device::isValidIdentity(bytes);
    UsbMSDevice drive(home + QStringLiteral("/drive"), QStringLiteral("Drive"), true, std::make_shared<NoDrives>());
    drive.parseAndroidInfo(bytes);
    const QString playlist = fuzz::file(QStringLiteral("drive/Playlists/Mix.m3u"), bytes);
    TrackList tracks;
    LocalPlaylist mix(QStringLiteral("Mix"));
    drive.identicalPlaylistAlreadyExists(playlist, mix, tracks);
    return 0;
}
