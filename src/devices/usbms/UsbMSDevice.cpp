#include "devices/usbms/UsbMSDevice.h"

#include "app/LogScope.h"
#include "devices/usbms/CompleteFileCopy.h"
#include "devices/usbms/DrivePath.h"
#include "tracks/Track.h"
#include "tracks/TrackCache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamWriter>

UsbMSDevice::UsbMSDevice(const QString& aRoot, const QString& aFriendlyName, bool aMounted,
                         std::shared_ptr<DriveProber> aProber)
    : mFriendlyName(aFriendlyName), mRoot(aRoot), mProber(std::move(aProber))
{
    if (!mRoot.endsWith(QLatin1Char('/')))
        mRoot += QLatin1Char('/');
    if (aMounted) {
        ReadOrGenerateUniqueDeviceId();
        mIdRead = true;
        readAndroidInfo();
    }
}

UsbMSDevice::~UsbMSDevice() = default;

QString UsbMSDevice::localPathOf(const QString& aDevicePath) const
{
    return DrivePath::localPath(mRoot, aDevicePath);
}

void UsbMSDevice::ReadOrGenerateUniqueDeviceId()
{
    LogScope log("UsbMSDevice::ReadOrGenerateUniqueDeviceId");
    QFile file(mRoot + QStringLiteral("KORDA/uniqueid"));
    if (file.open(QIODevice::ReadOnly))
        mUniqueDeviceId = QString::fromLatin1(file.readAll());
    else
        mUniqueDeviceId = kTemporaryDeviceId;
}

void UsbMSDevice::readAndroidInfo()
{
    QFile file(mRoot + QStringLiteral("KORDA/android.xml"));
    if (!file.open(QIODevice::ReadOnly)) {
        logValue("Could not open device info", file.fileName());
        return;
    }
    parseAndroidInfo(file.readAll());
}

void UsbMSDevice::CopyFile(const QString& aSourcePath, const QString& aDestinationPath, bool aReplace)
{
    LogScope log("UsbMSDevice::CopyFile");
    const QString destination = localPathOf(aDestinationPath);
    if (destination.isEmpty()) {
        logValue("! Refused a destination outside the drive", aDestinationPath);
        return;
    }
    QDir().mkpath(QFileInfo(destination).absolutePath());
    if (aReplace)
        QFile::remove(destination);
    if (!QFileInfo::exists(destination))
        CompleteFileCopy::copy(aSourcePath, destination);
}

bool UsbMSDevice::Disabled()
{
    const QString folder = mRoot + QStringLiteral("KORDA/");
    logValue("Checking for KORDA folder", folder);
    const bool found = QFileInfo(folder).isDir();
    logMessage(found ? "Found" : "Not found");
    return !found;
}

void UsbMSDevice::PrepareForSync()
{
    LogScope log("UsbMSDevice::PrepareForSync");
    mPlaylistsThisRun.clear();
    mFoldersMade.clear();
    mMetadataTried = false;
}

void UsbMSDevice::openMetadataFile()
{
    // Opened with the run's first copied track, so that a run that copies nothing leaves no
    // empty metadata file behind.
    if (mMetadataFile || mMetadataTried)
        return;
    mMetadataTried = true;
    int n = 0;
    while (QFileInfo::exists(mRoot + QStringLiteral("KORDA/metadata%1.xml").arg(n)))
        ++n;
    auto file = std::make_unique<QFile>(mRoot + QStringLiteral("KORDA/metadata%1.xml").arg(n));
    if (!file->open(QIODevice::ReadWrite | QIODevice::Truncate))
        return;
    mMetadataFile = std::move(file);
    mMetadataWriter = std::make_unique<QXmlStreamWriter>(mMetadataFile.get());
    mMetadataWriter->setAutoFormatting(false);
    mMetadataWriter->writeStartDocument();
    mMetadataWriter->writeStartElement(QStringLiteral("metadata"));
}

void UsbMSDevice::FinalizeSync()
{
    LogScope log("UsbMSDevice::FinalizeSync");
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
    const bool mounted = mProber->volumeSize(mRoot, total, free);
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
    if (!mProber->volumeSize(mRoot, aBytes, free))
        aBytes = 0;
    return 0;
}

int UsbMSDevice::GetFreeStorageSpace(qint64& aBytes)
{
    qint64 total = 0;
    if (!mProber->volumeSize(mRoot, total, aBytes))
        aBytes = 0;
    return 0;
}

void UsbMSDevice::SetConfigured()
{
    LogScope log("UsbMSDevice::SetConfigured");
    if (QFileInfo::exists(mRoot + QStringLiteral("KORDA/uniqueid")))
        return;
    logMessage("UID file doesn't exist - creating one");
    mUniqueDeviceId = newUniqueDeviceId();
    logValue("mkpath result", QDir().mkpath(mRoot + QStringLiteral("KORDA")));
    QFile file(mRoot + QStringLiteral("KORDA/uniqueid"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(mUniqueDeviceId.toLatin1());
}

bool UsbMSDevice::IsConfigured()
{
    ReadOrGenerateUniqueDeviceId();
    return Device::IsConfigured();
}

bool UsbMSDevice::makeFolder(const QString& aFolder)
{
    if (mFoldersMade.contains(aFolder))
        return true;
    if (!QDir().mkpath(aFolder))
        return false;
    mFoldersMade.insert(aFolder);
    return true;
}

void UsbMSDevice::appendLine(const QString& aKordaFile, const QByteArray& aLine)
{
    QFile file(mRoot + QStringLiteral("KORDA/") + aKordaFile);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(aLine);
}
