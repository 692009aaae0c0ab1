#pragma once

// A device for tests, of either kind users have: a folder standing for a USB drive (listed by a
// fake prober), or a simulated Android phone with the phone application on one storage. What is
// on it is looked at and changed by paths from its root ("Music/A/b.mp3"), so that one test runs
// on both. It owns the test's home folder.
#include "devices/Device.h"
#include "devices/DeviceParent.h"
#include "support/FakeDriveProber.h"
#include "support/SimulatedPhone.h"
#include "support/TestHome.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class UsbMSDevice;

class TestTarget
{
public:
    enum class Kind
    {
        Drive,
        Phone,
    };
    explicit TestTarget(Kind aKind = Kind::Drive);
    bool onPhone() const { return phone != nullptr; }

    // The files under aFolder, as paths from the root, sorted.
    QStringList files(const QString& aFolder) const;
    // A file by its path from the root; empty when absent.
    QByteArray read(const QString& aPath) const;
    bool exists(const QString& aPath) const;
    // Puts aContent at aPath in place of what is there, as another program would.
    void write(const QString& aPath, const QByteArray& aContent);
    // A local file holding the target's file (the file itself on a drive).
    QString localCopyOf(const QString& aPath) const;
    // The free space the target reports (and, on a phone, has).
    void setFreeSpace(qint64 aBytes);
    // The device made again, as the next connection sees it (a phone is opened again).
    void reconnect();
    // A device of a test's own making replaces the drive (one that fails on purpose).
    void replaceDrive(std::unique_ptr<UsbMSDevice> aDevice);

    // The album art file of each album folder: AlbumArt.jpg on drives, folder.jpg on phones.
    QString artFile() const
    {
        return onPhone() ? QStringLiteral("folder.jpg") : QStringLiteral("AlbumArt.jpg");
    }
    // What stands before a track's device path in a playlist: ".." on phones.
    QByteArray playlistPathPrefix() const { return onPhone() ? QByteArray("..") : QByteArray(); }

    TestHome home;
    QString root; // the drive's folder, ending in '/'
    std::shared_ptr<FakeDriveProber> prober = std::make_shared<FakeDriveProber>();
    std::shared_ptr<SimulatedPhone> phone;
    QString phoneStorage;
    std::unique_ptr<DeviceParent> parent;
    Device* device = nullptr;
    UsbMSDevice* drive = nullptr; // the drive, when the target is one
};
