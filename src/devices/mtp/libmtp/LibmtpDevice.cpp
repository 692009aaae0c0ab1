#include "devices/mtp/libmtp/LibmtpDevice.h"

#include "app/LogScope.h"
#include "app/UniqueFd.h"
#include "devices/mtp/MtpDevice.h"
#include "devices/mtp/MtpResult.h"
#include "devices/mtp/libmtp/LibmtpLock.h"
#include "devices/mtp/libmtp/UsbProbe.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint32_t kRootHandle = 0xFFFFFFFFu;
constexpr unsigned long kGoneWaitMs = 300;

// PTP response codes that the object layer reports as its own results.
constexpr unsigned kPtpInvalidObjectHandle = 0x2009;
constexpr unsigned kPtpStoreFull = 0x200C;
constexpr unsigned kPtpStoreNotAvailable = 0x2013;
constexpr unsigned kPtpInvalidParentObject = 0x201A;

struct ProgressContext
{
    const PortableDevice::Progress* progress;
    qint64 size;
    bool cancelled = false;
};

// libmtp's progress callback: non-zero cancels the transfer.
int onProgress(uint64_t aSent, uint64_t, void const* aData)
{
    auto* context = static_cast<ProgressContext*>(const_cast<void*>(aData));
    if (!*context->progress)
        return 0;
    // libmtp counts the bytes of its container headers too.
    const qint64 done = std::min<qint64>(static_cast<qint64>(aSent), context->size);
    if (!(*context->progress)(done, context->size))
        context->cancelled = true;
    return context->cancelled ? 1 : 0;
}

} // namespace

LibmtpDevice::LibmtpDevice(LIBMTP_mtpdevice_t* aDevice, const LIBMTP_raw_device_t& aRawDevice,
                           std::unique_ptr<DeviceLock> aLock)
    : mDevice(aDevice), mRawDevice(aRawDevice), mLock(std::move(aLock))
{
}

LibmtpDevice::~LibmtpDevice()
{
    if (!mDevice)
        return;
    LibmtpLock lock;
    LIBMTP_Release_Device(mDevice);
}

uint32_t LibmtpDevice::folderHandle(const QString& aFolderId)
{
    return aFolderId == MtpDevice::kRootFolder ? kRootHandle : aFolderId.toUInt();
}

bool LibmtpDevice::present() const
{
    return UsbProbe::present(mRawDevice.bus_location, mRawDevice.devnum);
}

qint32 LibmtpDevice::failure(const char* aOperation)
{
    qint32 result = MtpResult::kFailed;
    QStringList texts;
    for (LIBMTP_error_t* error = mDevice ? LIBMTP_Get_Errorstack(mDevice) : nullptr; error;
         error = error->next) {
        const QString text = QString::fromUtf8(error->error_text ? error->error_text : "");
        texts.append(text);
        if (error->errornumber == LIBMTP_ERROR_CANCELLED)
            result = MtpResult::kCancelled;
        else if (error->errornumber == LIBMTP_ERROR_STORAGE_FULL)
            result = MtpResult::kFull;
        else if (error->errornumber == LIBMTP_ERROR_PTP_LAYER &&
                 text.startsWith(QLatin1String("PTP Layer error ")) && result == MtpResult::kFailed) {
            const unsigned code = text.mid(16, 4).toUInt(nullptr, 16);
            if (code == kPtpInvalidObjectHandle || code == kPtpInvalidParentObject)
                result = MtpResult::kNotFound;
            else if (code == kPtpStoreFull)
                result = MtpResult::kFull;
            else if (code == kPtpStoreNotAvailable)
                result = MtpResult::kLocked;
        }
    }
    if (mDevice)
        LIBMTP_Clear_Errorstack(mDevice);
    // A failed transfer may be the cable: the phone's node goes a moment after its transfers
    // fail, so a failure of the USB link is looked at again after a short wait.
    const bool linkFailed = texts.join(QLatin1Char(' ')).contains(QLatin1String("PTP Layer error 02ff"));
    if (result != MtpResult::kCancelled && linkFailed && present())
        QThread::msleep(kGoneWaitMs);
    // A link that answers "no such device" is a phone gone, whatever its node still says.
    if (result != MtpResult::kCancelled &&
        (!present() || (linkFailed && !UsbProbe::answers(mRawDevice.bus_location, mRawDevice.devnum))))
        result = MtpResult::kGone;
    mLastError = QString::fromUtf8(aOperation) + QStringLiteral(": ") + texts.join(QStringLiteral("; "));
    logValue("! libmtp", mLastError);
    return result;
}

qint32 LibmtpDevice::reopen()
{
    LibmtpLock lock;
    if (mDevice)
        LIBMTP_Release_Device(mDevice);
    mDevice = LIBMTP_Open_Raw_Device_Uncached(&mRawDevice);
    if (!mDevice) {
        mLastError = QStringLiteral("the phone could not be opened again");
        return present() ? MtpResult::kFailed : MtpResult::kGone;
    }
    return MtpResult::kOk;
}

qint32 LibmtpDevice::storages(QList<QMtpDeviceStorage>& aStorages)
{
    aStorages.clear();
    LibmtpLock lock;
    if (!mDevice)
        return MtpResult::kNoDevice;
    if (LIBMTP_Get_Storage(mDevice, LIBMTP_STORAGE_SORTBY_NOTSORTED) != 0)
        return failure("Getting the storages");
    for (LIBMTP_devicestorage_t* storage = mDevice->storage; storage; storage = storage->next) {
        QString description =
            QString::fromUtf8(storage->StorageDescription ? storage->StorageDescription : "");
        if (description.isEmpty()) {
            logMessage("Failed, so setting value as \"Storage\"");
            description = QStringLiteral("Storage");
        }
        aStorages.append(QMtpDeviceStorage(QString::number(storage->id), description,
                                           static_cast<qint64>(storage->MaxCapacity),
                                           static_cast<qint64>(storage->FreeSpaceInBytes)));
    }
    return MtpResult::kOk;
}

qint32 LibmtpDevice::refreshStorage(QMtpDeviceStorage& aStorage)
{
    LibmtpLock lock;
    if (!mDevice)
        return MtpResult::kNoDevice;
    if (LIBMTP_Get_Storage(mDevice, LIBMTP_STORAGE_SORTBY_NOTSORTED) != 0)
        return failure("Reading the free space");
    const uint32_t id = aStorage.Id().toUInt();
    for (LIBMTP_devicestorage_t* storage = mDevice->storage; storage; storage = storage->next) {
        if (storage->id == id) {
            aStorage.setSpace(static_cast<qint64>(storage->MaxCapacity),
                              static_cast<qint64>(storage->FreeSpaceInBytes));
            return MtpResult::kOk;
        }
    }
    return MtpResult::kNotFound;
}

LIBMTP_filetype_t LibmtpDevice::fileTypeOf(const QString& aName)
{
    const QString suffix = QFileInfo(aName).suffix().toLower();
    if (suffix == QLatin1String("mp3"))
        return LIBMTP_FILETYPE_MP3;
    if (suffix == QLatin1String("m4a") || suffix == QLatin1String("m4b") || suffix == QLatin1String("m4p"))
        return LIBMTP_FILETYPE_M4A;
    if (suffix == QLatin1String("aac"))
        return LIBMTP_FILETYPE_AAC;
    if (suffix == QLatin1String("wav"))
        return LIBMTP_FILETYPE_WAV;
    if (suffix == QLatin1String("ogg"))
        return LIBMTP_FILETYPE_OGG;
    if (suffix == QLatin1String("flac"))
        return LIBMTP_FILETYPE_FLAC;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return LIBMTP_FILETYPE_JPEG;
    if (suffix == QLatin1String("mp4") || suffix == QLatin1String("m4v"))
        return LIBMTP_FILETYPE_MP4;
    return LIBMTP_FILETYPE_UNKNOWN;
}

qint32 LibmtpDevice::listFolder(const QString& aStorageId, const QString& aFolderId,
                                QList<QMtpFile>& aObjects)
{
    aObjects.clear();
    LibmtpLock lock;
    if (!mDevice)
        return MtpResult::kNoDevice;
    LIBMTP_Clear_Errorstack(mDevice);
    LIBMTP_file_t* files =
        LIBMTP_Get_Files_And_Folders(mDevice, aStorageId.toUInt(), folderHandle(aFolderId));
    // NULL is an empty folder, or an error: only the error stack tells.
    if (!files && LIBMTP_Get_Errorstack(mDevice))
        return failure("Listing a folder");
    while (files) {
        LIBMTP_file_t* file = files;
        files = files->next;
        aObjects.append(objectOf(*file, aFolderId, aStorageId));
        LIBMTP_destroy_file_t(file);
    }
    return MtpResult::kOk;
}

QMtpFile LibmtpDevice::objectOf(const LIBMTP_file_t& aFile, const QString& aFolderId,
                                const QString& aStorageId)
{
    const QString name = aFile.filename ? QString::fromUtf8(aFile.filename) : QStringLiteral("Unknown");
    int type = QMtpFile::TypeOther;
    if (aFile.filetype == LIBMTP_FILETYPE_FOLDER)
        type = QMtpFile::TypeFolder;
    else if (aFile.filetype == LIBMTP_FILETYPE_PLAYLIST ||
             name.endsWith(QLatin1String(".m3u"), Qt::CaseInsensitive))
        type = QMtpFile::TypePlaylist; // phones report M3U files in a format libmtp has no name for
    return QMtpFile(QString::number(aFile.item_id), aFolderId, aStorageId, name,
                    static_cast<qint64>(aFile.filesize), type);
}

qint32 LibmtpDevice::createFolder(const QString& aStorageId, const QString& aParentId, QString& aName,
                                  QString& aNewId)
{
    LibmtpLock lock;
    if (!mDevice)
        return MtpResult::kNoDevice;
    // libmtp may change the name it is given (devices that take 7-bit names only).
    QByteArray name = aName.toUtf8();
    name.append('\0');
    const uint32_t id =
        LIBMTP_Create_Folder(mDevice, name.data(), folderHandle(aParentId), aStorageId.toUInt());
    if (id == 0)
        return failure("Creating a folder");
    aName = QString::fromUtf8(name.constData());
    aNewId = QString::number(id);
    return MtpResult::kOk;
}

qint32 LibmtpDevice::sendFile(const QString& aLocalPath, QMtpFile& aObject, const Progress& aProgress)
{
    // The file goes from its descriptor through libmtp's own buffer to the phone: no other copy.
    const UniqueFd source(::open(QFile::encodeName(aLocalPath).constData(), O_RDONLY | O_CLOEXEC));
    struct stat status
    {
    };
    if (source.get() < 0 || ::fstat(source.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        mLastError = QStringLiteral("%1 can't be read").arg(aLocalPath);
        return MtpResult::kSourceUnreadable;
    }
    LibmtpLock lock;
    if (!mDevice)
        return MtpResult::kNoDevice;
    LIBMTP_Clear_Errorstack(mDevice);
    LIBMTP_file_t* file = LIBMTP_new_file_t();
    file->filename = strdup(aObject.name().toUtf8().constData());
    file->filesize = static_cast<uint64_t>(status.st_size);
    file->filetype = fileTypeOf(aObject.name());
    file->parent_id = folderHandle(aObject.parentId());
    file->storage_id = aObject.storageId().toUInt();
    ProgressContext context{&aProgress, static_cast<qint64>(status.st_size)};
    const int sent = LIBMTP_Send_File_From_File_Descriptor(mDevice, source.get(), file, onProgress, &context);
    qint32 result = MtpResult::kOk;
    if (sent != 0) {
        result = context.cancelled ? MtpResult::kCancelled : failure("Sending a file");
        if (context.cancelled)
            LIBMTP_Clear_Errorstack(mDevice);
        // The object was made before its data went: what arrived of it is no file.
        if (file->item_id != 0 && result != MtpResult::kGone) {
            if (LIBMTP_Delete_Object(mDevice, file->item_id) != 0)
                failure("Deleting what a failed send left");
        }
    } else {
        aObject.setObjectId(QString::number(file->item_id));
        aObject.setSize(static_cast<qint64>(status.st_size));
    }
    LIBMTP_destroy_file_t(file);
    return result;
}

qint32 LibmtpDevice::readObject(const QString& aObjectId, const QString& aLocalPath)
{
    const UniqueFd target(
        ::open(QFile::encodeName(aLocalPath).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (target.get() < 0) {
        mLastError = QStringLiteral("%1 can't be written").arg(aLocalPath);
        return MtpResult::kFailed;
    }
    LibmtpLock lock;
    if (!mDevice)
        return MtpResult::kNoDevice;
    LIBMTP_Clear_Errorstack(mDevice);
    if (LIBMTP_Get_File_To_File_Descriptor(mDevice, aObjectId.toUInt(), target.get(), nullptr, nullptr) != 0)
        return failure("Reading a file");
    logMessage("* Transferred object");
    return MtpResult::kOk;
}

qint32 LibmtpDevice::deleteObject(const QString& aObjectId)
{
    LibmtpLock lock;
    if (!mDevice)
        return MtpResult::kNoDevice;
    LIBMTP_Clear_Errorstack(mDevice);
    if (LIBMTP_Delete_Object(mDevice, aObjectId.toUInt()) != 0)
        return failure("Deleting an object");
    logMessage("The object was deleted from the device.");
    return MtpResult::kOk;
}

qint32 LibmtpDevice::setReferences(const QString& aObjectId, const QStringList& aReferences)
{
    std::vector<uint32_t> tracks;
    tracks.reserve(static_cast<size_t>(aReferences.size()));
    for (const QString& reference : aReferences)
        tracks.push_back(reference.toUInt());
    LibmtpLock lock;
    if (!mDevice)
        return MtpResult::kNoDevice;
    LIBMTP_Clear_Errorstack(mDevice);
    // libmtp sets an object's references through its playlist update, which also writes the
    // playlist's name: the name a playlist shows is its file name without the extension.
    LIBMTP_file_t* file = LIBMTP_Get_Filemetadata(mDevice, aObjectId.toUInt());
    if (!file)
        return failure("Reading a playlist's name");
    QByteArray name =
        QFileInfo(QString::fromUtf8(file->filename ? file->filename : "")).completeBaseName().toUtf8();
    LIBMTP_destroy_file_t(file);
    LIBMTP_playlist_t playlist{};
    playlist.playlist_id = aObjectId.toUInt();
    playlist.name = name.data();
    playlist.tracks = tracks.data();
    playlist.no_tracks = static_cast<uint32_t>(tracks.size());
    if (LIBMTP_Update_Playlist(mDevice, &playlist) != 0)
        return failure("Setting a playlist's tracks");
    return MtpResult::kOk;
}
