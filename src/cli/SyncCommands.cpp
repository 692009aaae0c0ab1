#include "cli/SyncCommands.h"

#include "app/InterruptWatcher.h"
#include "app/OwnedThread.h"
#include "app/ProgramOutput.h"
#include "cli/ConsoleFrontEnd.h"
#include "devices/Device.h"
#include "devices/DeviceList.h"
#include "devices/DeviceParentMs.h"
#include "devices/mtp/MtpMacDeviceRefresher.h"
#include "devices/usbms/UsbMSDevice.h"
#include "library/LocalMusicLibrary.h"
#include "library/itunes/ITunesTypeLibrary.h"
#include "settings/SyncSettings.h"
#include "sync/MusicSync.h"
#include "sync/SyncRun.h"
#include "tracks/Track.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace {

// How long a command waits for the phones to be opened.
constexpr int kPhoneWaitMs = 30000;

QString megabytes(qint64 aBytes)
{
    return QString::number(aBytes / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

} // namespace

void SyncCommands::say(const QString& aText)
{
    ProgramOutput::out((aText + '\n').toLocal8Bit());
}

void SyncCommands::complain(const QString& aText)
{
    ProgramOutput::err(("veltrane-sync: " + aText + '\n').toLocal8Bit());
}

SyncCommands::SyncCommands(const Options& aOptions)
    : mOptions(aOptions), mBackends(Backends::forThisComputer(aOptions.libraryFile))
{
}

SyncCommands::~SyncCommands() = default;

LocalMusicLibrary* SyncCommands::openLibrary()
{
    const QString problem = mBackends.library->unavailableReason();
    if (!problem.isEmpty()) {
        complainAboutLibrary(problem);
        return nullptr;
    }
    mLibrary = std::make_unique<LocalMusicLibrary>(mBackends.library);
    return mLibrary.get();
}

void SyncCommands::complainAboutLibrary(const QString& aProblem)
{
    complain(mOptions.libraryFile.isEmpty() ? aProblem + QStringLiteral(": give one with --library FILE")
                                            : QStringLiteral("can't read the iTunes library: ") + aProblem);
}

DeviceList& SyncCommands::connectedDevices()
{
    if (mDeviceList)
        return *mDeviceList;
    mDeviceList = std::make_unique<DeviceList>(mBackends.driveProber, mBackends.phones);
    QObject::connect(mDeviceList.get(), &DeviceList::unableToOpenDevice, [this](int aReason) {
        mPhoneInUse = mPhoneInUse || aReason == MtpMacDeviceRefresher::kInUseByAnotherRun;
        mOpenFailureSaid = true;
        const QString reason = mDeviceList->unableToOpenReason();
        complain(reason.isEmpty() ? QStringLiteral("a phone could not be opened (%1)").arg(aReason) : reason);
    });
    // A phone is opened by a pass of the refresher, which takes a second or more per phone.
    mDeviceList->refreshWithPhones(kPhoneWaitMs);
    return *mDeviceList;
}

Device* SyncCommands::findDevice()
{
    const QFileInfo folder(mOptions.devicePath);
    if (!mOptions.devicePath.isEmpty() && folder.isDir()) {
        const QString name = folder.fileName().isEmpty() ? QStringLiteral("Player") : folder.fileName();
        mOwnParent = std::make_unique<DeviceParentMs>(name);
        mParent = mOwnParent.get();
        return mOwnParent->addChild(
            std::make_unique<UsbMSDevice>(folder.absoluteFilePath(), name, true, mBackends.driveProber));
    }
    DeviceList& list = connectedDevices();
    if (!list.DeviceIsConnected()) {
        // A phone that is there but could not be opened says why (once: the list's report may
        // have said it already).
        const QString unopened = list.unableToOpenReason();
        if (!unopened.isEmpty() && !mOpenFailureSaid)
            complain(unopened);
        else if (unopened.isEmpty())
            complain(
                mOptions.devicePath.isEmpty()
                    ? QStringLiteral("no phone or player is connected (or give a folder with --device PATH)")
                    : QStringLiteral("%1 is neither a folder nor a connected device")
                          .arg(mOptions.devicePath));
        return nullptr;
    }
    Device* device = nullptr;
    if (mOptions.devicePath.isEmpty()) {
        device = list.ConnectedDevice();
    } else {
        // A device named by its identity, else by its name (several phones may share a model).
        for (Device* candidate : list.GetDevices()) {
            if (candidate->UniqueDeviceId() == mOptions.devicePath) {
                device = candidate;
                break;
            }
            if (!device && candidate->FriendlyName().compare(mOptions.devicePath, Qt::CaseInsensitive) == 0)
                device = candidate;
        }
        if (!device) {
            complain(
                QStringLiteral("%1 is neither a folder nor a connected device (see: veltrane-sync devices)")
                    .arg(mOptions.devicePath));
            return nullptr;
        }
    }
    mParent = list.parentOfDevice(device);
    if (!device->IsMounted()) {
        complain(device->FriendlyName() + QStringLiteral(" is not mounted"));
        return nullptr;
    }
    // A phone without the phone application's data can't be synchronised (a drive without its
    // KORDA folder gets one when it is configured).
    if (device->GetDeviceType() == Device::DeviceTypeMtp && device->Disabled()) {
        complain(device->FriendlyName() +
                 QStringLiteral(" has no Tandrel data (KORDA\\android.xml): install and "
                                "open the Tandrel app on the phone first"));
        return nullptr;
    }
    return device;
}

int SyncCommands::sync()
{
    Device* device = findDevice();
    if (!device)
        return mPhoneInUse ? kExitAlreadySyncing : kExitUsage;
    // The library is read while the run reads what the device holds: the run asks for it only
    // afterwards, and waits for this reading then. A library that can't be read ends the run.
    mLibrary = std::make_unique<LocalMusicLibrary>(mBackends.library);
    LocalMusicLibrary* library = mLibrary.get();
    say(QStringLiteral("Synchronizing %1 (%2)").arg(device->FriendlyName(), device->UniqueDeviceId()));

    ConsoleFrontEnd console(mOptions.yes);
    SyncRun run(*library, *device, mParent, console, mBackends.keepAwake);
    QEventLoop untilFinished;
    QObject::connect(&run, &SyncRun::finished, &untilFinished, &QEventLoop::quit);
    QString libraryProblem;
    {
        // Ctrl-C or SIGTERM: the run stops at its next check, closes its cache and finalises the
        // device. A second one ends the program at once.
        InterruptWatcher interrupts;
        QObject::connect(&interrupts, &InterruptWatcher::interrupted, &run, &SyncRun::cancel);
        QObject checked;
        OwnedThread check = makeThread(QStringLiteral("LibraryCheck"), [&, backend = mBackends.library] {
            const QString problem = backend->unavailableReason();
            QMetaObject::invokeMethod(&checked, [&, problem] {
                if (problem.isEmpty())
                    return;
                libraryProblem = problem;
                library->stopRetrying();
                run.cancel();
            });
        });
        check->start();
        run.start(mOptions.force);
        untilFinished.exec();
        check.reset(); // joined: its answer is posted
        QCoreApplication::sendPostedEvents(&checked);
    }
    if (!libraryProblem.isEmpty()) {
        complainAboutLibrary(libraryProblem);
        return kExitUsage;
    }

    const MusicSync& sync = run.sync();
    if (sync.failure() == MusicSync::Failure::DeviceGone)
        return kExitDeviceRemoved;
    if (sync.failure() == MusicSync::Failure::CacheUnwritable)
        return kExitCacheUnwritable;
    if (sync.failure() == MusicSync::Failure::AlreadySyncing)
        return kExitAlreadySyncing;
    if (sync.state() != SyncState::Complete)
        return sync.state();
    if (mOptions.devicePath.isEmpty() && device->GetDeviceType() == Device::DeviceTypeUsbMassStorage)
        say(QStringLiteral("Remember to eject the drive before unplugging it."));
    if (sync.nonCopiedErrors().contains(Device::kDeviceFull))
        return kExitDeviceFull;
    if (!sync.GetNonCopiedTracks().isEmpty() || !sync.notWritten().isEmpty())
        return kExitTracksNotCopied;
    if (!sync.missingPlaylists().isEmpty())
        return kExitPlaylistsMissing;
    return sync.dataTransferFailures().isEmpty() ? kExitComplete : kExitDataNotCopied;
}

int SyncCommands::listDevices()
{
    DeviceList& list = connectedDevices();
    if (!list.DeviceIsConnected()) {
        say(QStringLiteral("No phone or player is connected."));
        return 0;
    }
    for (int i = 0; i < list.GetDevices().size(); ++i) {
        Device* device = list.GetDevices()[i];
        qint64 free = 0;
        device->GetFreeStorageSpace(free);
        const auto* drive = dynamic_cast<UsbMSDevice*>(device);
        QString notes;
        if (device->GetDeviceType() == Device::DeviceTypeMtp && device->Disabled())
            notes += QStringLiteral("  (no Tandrel app data: not usable)");
        if (device->IsConfigured())
            notes += QStringLiteral("  (configured)");
        say(QStringLiteral("%1  %2  %3  %4  %5 free%6")
                .arg(i)
                .arg(device->UniqueDeviceId(), device->FriendlyName(),
                     drive ? drive->root() : QStringLiteral("phone"), megabytes(free), notes));
    }
    return 0;
}

int SyncCommands::listPlaylists()
{
    LocalMusicLibrary* library = openLibrary();
    if (!library)
        return 2;
    library->refreshPlaylists();
    const QStringList standard = library->playlists(false);
    for (const QString& name : library->playlists(true))
        say(name + (standard.contains(name) ? QString() : QStringLiteral("  (smart)")));
    return 0;
}

int SyncCommands::listPodcasts()
{
    LocalMusicLibrary* library = openLibrary();
    if (!library)
        return 2;
    library->refreshPodcasts();
    for (const QString& name : library->podcasts())
        say(name);
    return 0;
}
