#include "devices/mtp/MtpFile.h"

#include "app/ApplicationPaths.h"
#include "app/LogScope.h"
#include "devices/mtp/DeviceMtpMac.h"
#include "devices/mtp/MtpDevice.h"
#include "devices/mtp/MtpResult.h"
#include "devices/mtp/QMtpFile.h"

#include <QDir>
#include <QFileInfo>

MtpFile::MtpFile(DeviceMtpMac& aDevice, const QString& aPath) : mDevice(aDevice), mPath(aPath) {}

MtpFile::~MtpFile()
{
    if (mTemporary)
        close();
}

bool MtpFile::exists(const QString& aPath)
{
    QString id;
    return mDevice.GetOrCreateFromPath(aPath, id, false) == MtpResult::kOk;
}

bool MtpFile::remove(const QString& aPath)
{
    QMtpFile object;
    const int found = mDevice.findObject(aPath, false, object);
    if (found != MtpResult::kOk) {
        logValue("Error getting ID from path: ", found);
        return false;
    }
    const qint32 deleted = mDevice.handle().deleteObject(object);
    if (deleted != MtpResult::kOk) {
        logValue("Error deleting file", deleted);
        return false;
    }
    return true;
}

bool MtpFile::mkpath(const QString& aPath)
{
    QString id;
    const int result = mDevice.GetOrCreateFromPath(aPath, id, true);
    if (result != MtpResult::kOk) {
        logValue("Error creating directories", result);
        return false;
    }
    logValue("Directory created: id", id);
    return true;
}

bool MtpFile::copy(const QString& aSource, const QString& aTarget, int aAttempts, int aType)
{
    LogScope log("MtpFile::copy");
    logValue("aSourcePath", aSource);
    logValue("aTargetPath", aTarget);
    logMessage("Remove the file if it's already there");
    remove(aTarget);
    mLastResult = MtpResult::kFailed;
    const QStringList components = DeviceMtpMac::splitDevicePath(aTarget);
    if (components.isEmpty())
        return log.ret(false);
    QString folderPath;
    for (qsizetype i = 0; i + 1 < components.size(); ++i)
        folderPath += QLatin1Char('\\') + components.at(i);
    QString folderId;
    mLastResult = mDevice.GetOrCreateFromPath(folderPath, folderId, true);
    if (mLastResult != MtpResult::kOk)
        return log.ret(false);
    // A folder under the file's name is someone's folder, never a leftover: it stays, and the
    // file can't be written (the phone would delete the folder with all it holds).
    QString folder;
    if (mDevice.GetOrCreateFromNameAndParent(folderId, components.last(), true, false, folder) ==
        MtpResult::kOk) {
        logValue("! A folder has the file's name", aTarget);
        mLastResult = MtpResult::kFolderInTheWay;
        return log.ret(false);
    }
    QMtpFile object(QString(), folderId, mDevice.storageId(), components.last(), QFileInfo(aSource).size(),
                    aType);
    bool sent = false;
    while (aAttempts-- > 0) {
        logValue("Track does not exists on device, so sending track, retries", aAttempts);
        mLastResult = mDevice.sendFile(aSource, object);
        if (mLastResult == MtpResult::kOk) {
            logValue("Sent track, New track ID", object.objectId());
            sent = true;
            break;
        }
        logValue("*** Error sending file", mLastResult);
        // A send the run stopped, one to a phone that is gone or full, or one of a file this
        // computer can't read: trying again can't help.
        if (mLastResult == MtpResult::kCancelled || mLastResult == MtpResult::kGone ||
            mLastResult == MtpResult::kFull || mLastResult == MtpResult::kSourceUnreadable)
            break;
        logMessage(
            "Checking again to see if the track is there, sometimes we get a failure but the track was "
            "copied anyway...");
        QMtpFile left;
        const int tempErr = mDevice.findObject(aTarget, false, left);
        logValue("tempErr", tempErr);
        if (tempErr == MtpResult::kOk) {
            logValue("Track was copied even though we got an error: TrackId", left.objectId());
            logMessage("However... there could be problems with it, so delete then retry");
            if (mDevice.handle().deleteObject(left) != MtpResult::kOk)
                logMessage("Could not delete track.");
        }
    }
    return log.ret(sent);
}

std::unique_ptr<QFile> MtpFile::createTemporary(const QString& aFolder)
{
    QDir().mkpath(aFolder);
    for (int n = 0; n < 100000; ++n) {
        auto file = std::make_unique<QFile>(aFolder + QStringLiteral("/temp%1").arg(n));
        if (file->exists())
            continue;
        // Created here and now: another file taking the same number meanwhile fails this open.
        if (file->open(QIODevice::ReadWrite | QIODevice::NewOnly))
            return file;
    }
    return nullptr;
}

bool MtpFile::open(QIODevice::OpenMode aMode)
{
    LogScope log("MtpFile::open");
    if (mTemporary) {
        logMessage("File is already open");
        return log.ret(false);
    }
    std::unique_ptr<QFile> temporary = createTemporary(ApplicationPaths::kordaFolder());
    if (!temporary)
        return log.ret(false);
    temporary->close();
    if (aMode == QIODevice::ReadOnly) {
        QMtpFile object;
        const int result = mDevice.findObject(mPath, false, object);
        logValue("Result when getting file", result);
        if (result == MtpResult::kOk && object.type() != QMtpFile::TypeFolder &&
            object.size() <= kMaxReadBytes) {
            logMessage("Reading data into local file");
            const qint32 read = mDevice.handle().readObject(object.objectId(), temporary->fileName());
            if (read != MtpResult::kOk) {
                logValue("! Could not read the object", read);
                temporary->remove();
                return log.ret(false);
            }
        } else if (result == MtpResult::kOk) {
            logValue("! Not read: a folder or more bytes than a small file has", object.size());
            temporary->remove();
            return log.ret(false);
        } else {
            logMessage("Clearing error");
        }
    }
    if (!temporary->open(aMode)) {
        temporary->remove();
        return log.ret(false);
    }
    mTemporary = std::move(temporary);
    return log.ret(true);
}

QByteArray MtpFile::readAll()
{
    if (!mTemporary)
        return QByteArray();
    return mTemporary->read(kMaxReadBytes);
}

bool MtpFile::write(const QByteArray& aBytes)
{
    if (!mTemporary)
        return false;
    return mTemporary->write(aBytes) > 0;
}

bool MtpFile::close()
{
    LogScope log("MtpFile::close");
    if (!mTemporary)
        return log.ret(false);
    const bool written = mTemporary->openMode() & QIODevice::WriteOnly;
    const bool flushed = !written || mTemporary->flush();
    mTemporary->close();
    bool result = flushed;
    if (written && flushed) {
        result = copy(mTemporary->fileName(), mPath, kCopyAttempts, QMtpFile::TypeOther);
        if (!result)
            logValue("MtpFile::close Error copying file", DeviceMtpMac::kCopyFailed);
    }
    mTemporary->remove();
    mTemporary.reset();
    return log.ret(result);
}
