#include "devices/usbms/UsbMSDevice.h"

#include "app/LogScope.h"
#include "tracks/Track.h"

#include <QFile>
#include <QXmlStreamWriter>

namespace {

const QStringList kKorda{QStringLiteral("KORDA")};
const QStringList kIdentityFile{QStringLiteral("KORDA"), QStringLiteral("uniqueid")};
const QStringList kAndroidFile{QStringLiteral("KORDA"), QStringLiteral("android.xml")};

} // namespace

UsbMSDevice::UsbMSDevice(const QString& aRoot, const QString& aFriendlyName, bool aMounted,
                         std::shared_ptr<DriveProber> aProber)
    : mFriendlyName(aFriendlyName), mDrive(aRoot), mProber(std::move(aProber))
{
    if (aMounted) {
        ReadOrGenerateUniqueDeviceId();
        mIdRead = true;
        readAndroidInfo();
    }
}

UsbMSDevice::~UsbMSDevice()
{
    // Copies not yet named when a run ends without finalising (a fault) are named now.
    commitCopies();
}

void UsbMSDevice::ReadOrGenerateUniqueDeviceId()
{
    LogScope log("UsbMSDevice::ReadOrGenerateUniqueDeviceId");
    mIdentityDamaged = false;
    QByteArray identity;
    if (!mDrive.readFile(kIdentityFile, kMaxIdentityBytes, identity)) {
        mUniqueDeviceId = kTemporaryDeviceId;
        mIdentityDamaged = mDrive.lastStatus() == DriveFiles::Refused;
        return;
    }
    if (!isValidIdentity(identity)) {
        // A control character or markup would make a settings file the reader refuses.
        logMessage("! The drive's identity file is damaged");
        mUniqueDeviceId = kTemporaryDeviceId;
        mIdentityDamaged = true;
        return;
    }
    mUniqueDeviceId = QString::fromLatin1(identity);
}

void UsbMSDevice::readAndroidInfo()
{
    QByteArray content;
    if (!mDrive.readFile(kAndroidFile, kMaxAndroidInfoBytes, content)) {
        logValue("Could not open device info", root() + QStringLiteral("KORDA/android.xml"));
        return;
    }
    parseAndroidInfo(content);
}

bool UsbMSDevice::namesOf(const QString& aDevicePath, QStringList& aNames)
{
    QString path = aDevicePath;
    if (!path.isEmpty() && !path.startsWith(QLatin1Char('\\')))
        path = QStringLiteral("KORDA\\") + path;
    return DriveFiles::split(path, aNames);
}

int UsbMSDevice::CopyFile(const QString& aSourcePath, const QString& aDestinationPath, bool aReplace)
{
    LogScope log("UsbMSDevice::CopyFile");
    QStringList destination;
    if (!DriveFiles::split(aDestinationPath, destination)) {
        logValue("! Refused a destination outside the drive", aDestinationPath);
        return log.ret(kCopyFailed);
    }
    commitCopies();
    if (!aReplace && mDrive.exists(destination))
        return log.ret(kCopyKeptExisting);
    if (mDrive.copyIn(aSourcePath, destination))
        return log.ret(0);
    logValue("! Copy failed", mDrive.lastError());
    return log.ret(mDrive.lastStatus() == DriveFiles::Missing ? kSourceFileMissing
                                                              : failureCode(kCopyFailed));
}

bool UsbMSDevice::Disabled()
{
    logValue("Checking for KORDA folder", root() + QStringLiteral("KORDA/"));
    const bool found = mDrive.isFolder(kKorda);
    logMessage(found ? "Found" : "Not found");
    return !found;
}

void UsbMSDevice::PrepareForSync()
{
    LogScope log("UsbMSDevice::PrepareForSync");
    mPlaylistsThisRun.clear();
    mPlaylistOwners.clear();
    forgetListings();
    mMetadataTried = false;
}

void UsbMSDevice::openMetadataFile()
{
    // Opened with the run's first copied track, so that a run that copies nothing leaves no
    // empty metadata file behind.
    if (mMetadataFile || mMetadataTried)
        return;
    mMetadataTried = true;
    for (int n = 0; n < 100000; ++n) {
        const QStringList path{QStringLiteral("KORDA"), QStringLiteral("metadata%1.xml").arg(n)};
        if (mDrive.exists(path))
            continue;
        UniqueFd fd = mDrive.createFile(path);
        auto file = std::make_unique<QFile>();
        if (!fd.valid() || !file->open(fd.get(), QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
            return;
        fd.release(); // the file closes it
        mMetadataFile = std::move(file);
        mMetadataWriter = std::make_unique<QXmlStreamWriter>(mMetadataFile.get());
        mMetadataWriter->setAutoFormatting(false);
        mMetadataWriter->writeStartDocument();
        mMetadataWriter->writeStartElement(QStringLiteral("metadata"));
        return;
    }
}

void UsbMSDevice::FinalizeSync()
{
    LogScope log("UsbMSDevice::FinalizeSync");
    commitCopies();
    if (!mMetadataFile)
        return;
    mMetadataWriter->writeEndElement();
    mMetadataWriter->writeEndDocument();
    mMetadataWriter.reset();
    mMetadataFile->close();
    mMetadataFile.reset();
}

void UsbMSDevice::writeMetadataEntry(const Track& aTrack)
{
    openMetadataFile();
    if (!mMetadataWriter)
        return;
    const auto nfc = [](const QString& aText) { return aText.normalized(QString::NormalizationForm_C); };
    mMetadataWriter->writeEmptyElement(QStringLiteral("track"));
    mMetadataWriter->writeAttribute(QStringLiteral("path"),
                                    nfc(aTrack.deviceId()).replace(QLatin1Char('\\'), QLatin1Char('/')));
    mMetadataWriter->writeAttribute(QStringLiteral("artist"), nfc(aTrack.artistName()));
    mMetadataWriter->writeAttribute(QStringLiteral("album"), nfc(aTrack.albumName()));
    mMetadataWriter->writeAttribute(QStringLiteral("track_name"), nfc(aTrack.trackName()));
    mMetadataWriter->writeAttribute(QStringLiteral("track_number"),
                                    QString::number(aTrack.trackNumberOnAlbum()));
}

bool UsbMSDevice::IsMounted()
{
    LogScope log("UsbMSDevice::IsMounted");
    qint64 total = 0, free = 0;
    const bool mounted = mProber->volumeSize(root(), total, free);
    if (mounted && !mIdRead) {
        ReadOrGenerateUniqueDeviceId();
        mIdRead = true;
    }
    return log.ret(mounted);
}

const QString& UsbMSDevice::UniqueDeviceId()
{
    LogScope log("UsbMSDevice::UniqueDeviceId");
    return mUniqueDeviceId;
}

const QString& UsbMSDevice::FriendlyName()
{
    logValue("mFriendlyName", mFriendlyName);
    return mFriendlyName;
}

int UsbMSDevice::GetStorageCapacity(qint64& aBytes)
{
    qint64 free = 0;
    if (!mProber->volumeSize(root(), aBytes, free))
        aBytes = 0;
    return 0;
}

int UsbMSDevice::GetFreeStorageSpace(qint64& aBytes)
{
    qint64 total = 0;
    if (!mProber->volumeSize(root(), total, aBytes))
        aBytes = 0;
    return 0;
}

void UsbMSDevice::SetConfigured()
{
    LogScope log("UsbMSDevice::SetConfigured");
    // A damaged identity file is replaced: no configuration could have been stored under it.
    if (mDrive.exists(kIdentityFile) && !mIdentityDamaged)
        return;
    logMessage("UID file doesn't exist - creating one");
    const QString identity = newUniqueDeviceId();
    logValue("mkpath result", mDrive.makeFolder(kKorda));
    if (!mDrive.removeFile(kIdentityFile) || !mDrive.writeFile(kIdentityFile, identity.toLatin1())) {
        logValue("! Could not write the identity", mDrive.lastError());
        return;
    }
    mUniqueDeviceId = identity;
    mIdentityDamaged = false;
}

bool UsbMSDevice::IsConfigured()
{
    ReadOrGenerateUniqueDeviceId();
    return Device::IsConfigured();
}

QString UsbMSDevice::unusableReason()
{
    return mDrive.lastStatus() == DriveFiles::Gone ? mDrive.lastError() : QString();
}

QString UsbMSDevice::describeFailure(int aCode) const
{
    switch (aCode) {
    case kCopyFailed:
        return QStringLiteral("copying it to the device failed");
    case kDeleteFailed:
        return QStringLiteral("deleting it from the device failed");
    case kFolderFailed:
        return QStringLiteral("its folder could not be made on the device");
    default:
        return Device::describeFailure(aCode);
    }
}

int UsbMSDevice::failureCode(int aDefault) const
{
    switch (mDrive.lastStatus()) {
    case DriveFiles::Gone:
        return kDeviceGone;
    case DriveFiles::Full:
        return kDeviceFull;
    default:
        return aDefault;
    }
}

void UsbMSDevice::appendLine(const QString& aKordaFile, const QByteArray& aLine)
{
    mDrive.appendToFile({QStringLiteral("KORDA"), aKordaFile}, aLine);
}
