#include "support/TestTarget.h"

#include "devices/DeviceParentMs.h"
#include "devices/usbms/UsbMSDevice.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

TestTarget::TestTarget(Kind aKind)
{
    if (aKind == Kind::Drive) {
        root = home.path() + "/drive/";
        QDir().mkpath(root + "KORDA"); // a drive set up as a target
        prober->plugIn(root, "Player");
    } else {
        // A phone with the phone application, which takes M3U playlists.
        phone = std::make_shared<SimulatedPhone>();
        phoneStorage = phone->addStorage("Internal shared storage", 8LL * 1024 * 1024 * 1024);
        phone->installTandrel(phoneStorage, false);
    }
    reconnect();
    device->SetConfigured(); // it has its identity, as a device set up once has
}

void TestTarget::reconnect()
{
    device = drive = nullptr;
    if (!onPhone()) {
        replaceDrive(std::make_unique<UsbMSDevice>(root, "Player", true, prober));
        return;
    }
    phone->plugIn();
    auto phoneParent = phone->openParent();
    device = phoneParent->children().first();
    parent = std::move(phoneParent);
}

void TestTarget::replaceDrive(std::unique_ptr<UsbMSDevice> aDevice)
{
    parent = std::make_unique<DeviceParentMs>("Player");
    drive = static_cast<UsbMSDevice*>(parent->addChild(std::move(aDevice)));
    device = drive;
}

QStringList TestTarget::files(const QString& aFolder) const
{
    if (onPhone())
        return phone->files(phoneStorage, aFolder);
    QStringList found;
    QDirIterator it(root + aFolder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(it.next().mid(root.size()));
    found.sort();
    return found;
}

QByteArray TestTarget::read(const QString& aPath) const
{
    return onPhone() ? phone->file(phoneStorage, aPath) : readWholeFile(root + aPath);
}

bool TestTarget::exists(const QString& aPath) const
{
    return onPhone() ? phone->exists(phoneStorage, aPath) : QFileInfo::exists(root + aPath);
}

void TestTarget::write(const QString& aPath, const QByteArray& aContent)
{
    if (onPhone())
        phone->putFile(phoneStorage, aPath, aContent);
    else
        home.writeFile(root.mid(home.path().size() + 1) + aPath, aContent);
}

QString TestTarget::localCopyOf(const QString& aPath) const
{
    return onPhone() ? home.writeFile("from-phone/" + aPath, read(aPath)) : root + aPath;
}

void TestTarget::setFreeSpace(qint64 aBytes)
{
    if (onPhone())
        phone->setFreeBytes(phoneStorage, aBytes);
    else
        prober->setFreeSpace(root, aBytes);
}
