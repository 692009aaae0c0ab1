#include "devices/mtp/DeviceMtpMac.h"

#include "app/ApplicationPaths.h"
#include "app/LogScope.h"
#include "devices/mtp/DeviceParentMtpMac.h"
#include "devices/mtp/MtpDevice.h"
#include "devices/mtp/MtpFile.h"
#include "devices/mtp/MtpResult.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

const QString kIdentityFile = QStringLiteral("\\KORDA\\uniqueid");
const QString kAndroidFile = QStringLiteral("\\KORDA\\android.xml");
const QString kSyncCompleteFile = QStringLiteral("\\KORDA\\synccomplete");

} // namespace

DeviceMtpMac::DeviceMtpMac(DeviceParentMtpMac& aParent, const QMtpDeviceStorage& aStorage)
    : mParent(aParent), mStorage(aStorage)
{
    LogScope log("DeviceMtpMac::DeviceMtpMac");
    if (!aParent.friendlyName().isEmpty()) {
        mFriendlyName = aParent.friendlyName() + QLatin1Char(' ');
    } else {
        logMessage("Device: (NULL) or empty");
        for (const QString& name : {aParent.description(), aParent.manufacturer()}) {
            if (!name.isEmpty())
                mFriendlyName += name + QLatin1Char(' ');
        }
    }
    mFriendlyName += aStorage.description();
    CacheAndroidVersion();
    ReadOrGenerateUniqueDeviceId();
}

DeviceMtpMac::~DeviceMtpMac() = default;

MtpDevice& DeviceMtpMac::handle()
{
    return mParent.MtpDevice();
}

qint32 DeviceMtpMac::sendFile(const QString& aLocalPath, QMtpFile& aObject)
{
    return handle().sendFile(aLocalPath, aObject,
                             [this](qint64 aDone, qint64 aTotal) { return transferProgress(aDone, aTotal); });
}

void DeviceMtpMac::CacheAndroidVersion()
{
    MtpFile file(*this, kAndroidFile);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray content = file.readAll();
        file.close();
        parseAndroidInfo(content);
        return;
    }
    logValue("Could not open android file", kAndroidFile);
    if (file.exists(kAndroidFile)) {
        logMessage("However, the file does exist, so continue");
        mAndroidInfo.androidVersion = 10;
        mAndroidInfo.screenPixels = 400000;
    } else {
        mAndroidInfo.androidVersion = -1;
    }
}

void DeviceMtpMac::ReadOrGenerateUniqueDeviceId()
{
    LogScope log("DeviceMtpMac::ReadOrGenerateUniqueDeviceId");
    logValue("Looking for file", kIdentityFile);
    mUniqueDeviceId = kTemporaryDeviceId;
    mIdentityProblem.clear();
    mIdentityAbsent = false;
    QMtpFile object;
    const int found = findObject(kIdentityFile, false, object);
    if (found == MtpResult::kNotFound) {
        // No identity file; a folder of its name leaves no room for one either.
        QString korda, folder;
        if (GetOrCreateFromNameAndParent(MtpDevice::kRootFolder, QStringLiteral("KORDA"), true, false,
                                         korda) == MtpResult::kOk &&
            GetOrCreateFromNameAndParent(korda, QStringLiteral("uniqueid"), true, false, folder) ==
                MtpResult::kOk) {
            mIdentityProblem =
                QStringLiteral("KORDA\\uniqueid on the phone is a folder, not the phone's identity "
                               "file: move or rename that folder");
        } else {
            logMessage("Can't find ID file, use temporary value");
            mIdentityAbsent = true;
        }
        return;
    }
    if (found != MtpResult::kOk) {
        mIdentityProblem = QStringLiteral("the phone's identity (KORDA\\uniqueid) could not be read: %1")
                               .arg(describeFailure(found));
        return;
    }
    QByteArray identity;
    MtpFile file(*this, kIdentityFile);
    const bool read = object.size() <= kMaxIdentityBytes && file.open(QIODevice::ReadOnly);
    if (read) {
        identity = file.readAll();
        file.close();
    }
    // A damaged identity (markup, control characters, a huge file) can't be used, nor replaced:
    // the phone's settings and track cache may be stored under what it was.
    if (!read || !isValidIdentity(identity)) {
        logMessage("Error getting ID file - assigning temp value");
        mIdentityProblem =
            QStringLiteral("the phone's identity file KORDA\\uniqueid can't be read or is damaged; "
                           "Veltrane doesn't replace it (the phone's settings may be stored under "
                           "it)");
        return;
    }
    mUniqueDeviceId = QString::fromLatin1(identity);
    logValue("Got ID file, mUniqueDeviceId", mUniqueDeviceId);
}

int DeviceMtpMac::CopyFile(const QString& aSourcePath, const QString& aDestinationPath, bool aReplace)
{
    LogScope log("DeviceMtpMac::CopyFile");
    logValue("aSourceFilePath", aSourcePath);
    logValue("aDestinationFilePath", aDestinationPath);
    if (aReplace)
        logMessage("Replace file if it exists");
    MtpFile file(*this, aDestinationPath);
    const bool exists = file.exists(aDestinationPath);
    if (aReplace && exists) {
        logMessage("File exists so removing");
        file.remove(aDestinationPath);
    }
    if (exists && !aReplace)
        return log.ret(kCopyKeptExisting);
    const bool copied = file.copy(aSourcePath, aDestinationPath, MtpFile::kCopyAttempts, QMtpFile::TypeOther);
    logMessage(copied ? "Copied okay" : "Copy error");
    return log.ret(copied ? 0 : copyFailure(file.lastResult()));
}

void DeviceMtpMac::PrepareForSync()
{
    LogScope log("DeviceMtpMac::PrepareForSync");
    mPlaylistsThisRun.clear();
    mPlaylistOwners.clear();
    handle().reopen();
    removeInterruptedSend();
    MtpFile(*this, kSyncCompleteFile).remove(kSyncCompleteFile);
}

void DeviceMtpMac::FinalizeSync()
{
    LogScope log("DeviceMtpMac::FinalizeSync");
    mFinalizeFailure.clear();
    MtpFile file(*this, kSyncCompleteFile);
    if (!file.open(QIODevice::WriteOnly)) {
        logValue("Could not open / create the sync-complete-file", kSyncCompleteFile);
        mFinalizeFailure = QStringLiteral("KORDA\\synccomplete: it could not be written");
        return;
    }
    file.write(QByteArrayLiteral("sync-complete"));
    if (!file.close())
        mFinalizeFailure = QStringLiteral("KORDA\\synccomplete, the mark of a complete run for the phone "
                                          "application: %1")
                               .arg(describeFailure(copyFailure(file.lastResult())));
}

int DeviceMtpMac::GetStorageCapacity(qint64& aBytes)
{
    LogScope log("DeviceMtpMac::GetStorageCapacity");
    aBytes = mStorage.capacity();
    logValue("aCapacity", aBytes);
    return log.ret(0);
}

int DeviceMtpMac::GetFreeStorageSpace(qint64& aBytes)
{
    LogScope log("DeviceMtpMac::GetFreeStorageSpace");
    handle().refreshStorage(mStorage);
    aBytes = mStorage.freeBytes();
    return log.ret(0);
}

void DeviceMtpMac::SetConfigured()
{
    LogScope log("DeviceMtpMac::SetConfigured");
    if (mStorage.Id().isEmpty())
        return;
    handle().reopen();
    // Only a phone that certainly has no identity file gets one: an identity that couldn't be
    // read this time is still the phone's.
    ReadOrGenerateUniqueDeviceId();
    if (!mIdentityAbsent)
        return;
    logMessage("UID file doesn't exist - creating one");
    const QString identity = newUniqueDeviceId();
    MtpFile file(*this, kIdentityFile);
    logValue("mkpath result", file.mkpath(QStringLiteral("\\KORDA\\")));
    if (!file.open(QIODevice::WriteOnly)) {
        logMessage("! Could not write the identity");
        mIdentityProblem = QStringLiteral("the phone's identity file KORDA\\uniqueid could not be written");
        return;
    }
    file.write(identity.toLatin1());
    if (file.close()) {
        mUniqueDeviceId = identity;
        mIdentityAbsent = false;
    } else {
        mIdentityProblem =
            QStringLiteral("the phone's identity file KORDA\\uniqueid could not be written: %1")
                .arg(describeFailure(copyFailure(file.lastResult())));
    }
}

bool DeviceMtpMac::IsConfigured()
{
    LogScope log("DeviceMtpMac::IsConfigured");
    return log.ret(Device::IsConfigured());
}

QString DeviceMtpMac::unusableReason()
{
    if (handle().gone())
        return QStringLiteral("%1 was disconnected").arg(mFriendlyName);
    return QString();
}

int DeviceMtpMac::deviceResult(qint32 aResult)
{
    switch (aResult) {
    case MtpResult::kGone:
        return kDeviceGone;
    case MtpResult::kFull:
        return kDeviceFull;
    case MtpResult::kSourceUnreadable:
        return kSourceFileMissing;
    default:
        return aResult;
    }
}

int DeviceMtpMac::copyFailure(qint32 aResult)
{
    const int result = deviceResult(aResult);
    return result == aResult && aResult != MtpResult::kFolderInTheWay ? kCopyFailed : result;
}

QString DeviceMtpMac::describeFailure(int aCode) const
{
    switch (aCode) {
    case kCopyFailed:
        return QStringLiteral("copying it to the phone failed");
    case MtpResult::kNotFound:
        return QStringLiteral("the phone no longer finds it");
    case MtpResult::kBusy:
        return QStringLiteral("another program is using the phone");
    case MtpResult::kLocked:
        return QStringLiteral("the phone's storage can't be reached (unlock its screen)");
    case MtpResult::kFailed:
        return QStringLiteral("the phone refused the operation");
    case MtpResult::kFolderInTheWay:
        return QStringLiteral("a folder on the phone has its name (the folder is left as it is)");
    default:
        return Device::describeFailure(aCode);
    }
}

QString DeviceMtpMac::journalPath() const
{
    // One journal per storage of a configured phone (only those are synchronised).
    const QByteArray key = (mUniqueDeviceId + QLatin1Char('\n') + mStorage.description()).toUtf8();
    return ApplicationPaths::kordaFolder() + QStringLiteral("/mtp-sending-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

void DeviceMtpMac::noteSending(const QString& aDevicePath)
{
    QSaveFile journal(journalPath());
    QDir().mkpath(ApplicationPaths::kordaFolder());
    if (!journal.open(QIODevice::WriteOnly))
        return;
    if (!aDevicePath.isEmpty())
        journal.write(aDevicePath.toUtf8());
    journal.commit();
}

void DeviceMtpMac::removeInterruptedSend()
{
    QFile journal(journalPath());
    if (!journal.open(QIODevice::ReadOnly))
        return;
    const QString interrupted = QString::fromUtf8(journal.read(64 * 1024));
    journal.close();
    if (!interrupted.isEmpty()) {
        // The copy that was on its way when the phone went: whatever arrived of it is no track.
        logValue("Removing what an interrupted copy left", interrupted);
        MtpFile file(*this, interrupted);
        if (file.exists(interrupted) && !file.remove(interrupted))
            return;
    }
    journal.remove();
}
