// What a run asks of a phone: 1,000 tracks into 100 albums (10 artists of 10 albums), each
// album with its art, on the simulated phone, counted at the object layer. Each folder must be
// listed at most once per connection. Target: at most 2.2 phone operations per uploaded track.
#include "devices/mtp/DeviceMtpMac.h"
#include "devices/mtp/MtpDevice.h"
#include "support/SimulatedPhone.h"
#include "support/TestHome.h"
#include "tracks/Track.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    TestHome home;
    auto phone = std::make_shared<SimulatedPhone>();
    const QString storage = phone->addStorage("Internal shared storage");
    phone->installTandrel(storage);
    auto parent = phone->openParent();
    auto* device = static_cast<DeviceMtpMac*>(parent->children().first());
    device->PrepareForSync();

    const QString art = home.writeFile("cover.jpg", QByteArray(20000, 'c'));
    const int before = phone->operations();
    const int listingsBefore = phone->listings();
    int uploaded = 0;
    for (int artist = 0; artist < 10; ++artist) {
        for (int album = 0; album < 10; ++album) {
            for (int number = 1; number <= 10; ++number) {
                const QString file = QString("library/%1/%2/%3 Song.mp3").arg(artist).arg(album).arg(number);
                Track track(QString("Song %1").arg(number), QString("Album %1").arg(album),
                            QString("Artist %1").arg(artist), number, home.writeFile(file, "mp3 data"), true,
                            false, false);
                // The engine sends the album's art with its first new track.
                if (number == 1)
                    device->uploadAlbumArt(track, art);
                if (device->UploadTrack(track) == 0)
                    ++uploaded;
            }
        }
    }
    const int operations = phone->operations() - before;
    const int folders = 1 + 1 + 10 + 100; // the root, Music, the artists, the albums
    std::printf("tracks uploaded: %d\n", uploaded);
    std::printf("phone operations: %d (%.2f per track; target at most 2.2)\n", operations,
                static_cast<double>(operations) / uploaded);
    std::printf("folder listings: %d for %d folders (target: each at most once)\n",
                phone->listings() - listingsBefore, folders);
    std::printf("sends: %d (tracks and art)\n", phone->sends());
    return uploaded == 1000 ? 0 : 1;
}
