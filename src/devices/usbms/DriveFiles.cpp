#include "devices/usbms/DriveFiles.h"

#include "app/DiagnosticLog.h"
#include "app/UniqueFd.h"

#include <QFile>
#include <QHash>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>
#include <vector>

namespace {

QByteArray encoded(const QString& aName)
{
    return QFile::encodeName(aName);
}

bool copyData(int aFrom, int aTo, qint64& aBytes)
{
    // The kernel copies without a round trip through this process where it can.
    for (;;) {
        const ssize_t copied = copy_file_range(aFrom, nullptr, aTo, nullptr, 1 << 30, 0);
        if (copied > 0)
            aBytes += copied;
        if (copied == 0)
            return true;
        if (copied < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)
                break;
            return false;
        }
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(aFrom, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (!UniqueFd::writeAll(aTo, buffer, got))
            return false;
        aBytes += got;
    }
}

} // namespace

DriveFiles::DriveFiles(const QString& aRoot) : mRoot(aRoot)
{
    if (!mRoot.endsWith(QLatin1Char('/')))
        mRoot += QLatin1Char('/');
}

DriveFiles::~DriveFiles()
{
    for (int fd : mDeferredFolders)
        ::close(fd);
    forgetFolder();
    if (mRootFd >= 0)
        ::close(mRootFd);
}

bool DriveFiles::isPlainName(const QString& aName)
{
    return !aName.isEmpty() && aName != QLatin1String(".") && aName != QLatin1String("..") &&
           !aName.contains(QLatin1Char('/')) && !aName.contains(QChar(0));
}

bool DriveFiles::split(const QString& aPath, QStringList& aParts)
{
    QString path = aPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    aParts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : aParts) {
        if (!isPlainName(part))
            return false;
    }
    return !aParts.isEmpty();
}

QString DriveFiles::partialName(const QString& aName)
{
    // Short whatever the name: a name near 255 bytes must still have a temporary one. The same
    // destination always gets the same one, so a copy cut short is replaced by the next.
    return QStringLiteral(".vlt%1.part").arg(qHash(aName, 0), 16, 16, QLatin1Char('0'));
}

bool DriveFiles::fail(Status aStatus, const QString& aWhat)
{
    mStatus = aStatus;
    mError = aWhat;
    logValue("! Drive", aWhat);
    return false;
}

bool DriveFiles::failErrno(const QString& aWhat)
{
    const int error = errno;
    const QString text = aWhat + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
    if (error == ENOSPC || error == EDQUOT || error == EFBIG)
        return fail(Full, text);
    if (error == ELOOP || error == ENOTDIR || error == EISDIR)
        return fail(Refused, text);
    if (!present())
        return fail(Gone, text);
    return fail(error == ENOENT ? Missing : Failed, text);
}

bool DriveFiles::openRoot()
{
    if (mRootFd >= 0)
        return true;
    mRootFd = ::open(encoded(mRoot).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat info;
    if (mRootFd < 0 || ::fstat(mRootFd, &info) != 0) {
        if (mRootFd >= 0)
            ::close(mRootFd);
        mRootFd = -1;
        return false;
    }
    mDevice = info.st_dev;
    mInode = info.st_ino;
    return true;
}

bool DriveFiles::present()
{
    if (mGone)
        return false;
    if (!openRoot()) {
        mStatus = Gone;
        mError = mRoot + QStringLiteral(": the drive is not there");
        return false;
    }
    // Unplugged, the volume leaves the bare mount-point folder behind (another device), or no
    // folder at all.
    struct stat info;
    if (::stat(encoded(mRoot).constData(), &info) != 0 || info.st_dev != mDevice || info.st_ino != mInode) {
        mGone = true;
        forgetFolder();
        mStatus = Gone;
        mError = mRoot + QStringLiteral(": the drive was removed");
        logValue("! Drive removed", mRoot);
        return false;
    }
    return true;
}

void DriveFiles::forgetFolder()
{
    if (mFolderFd >= 0)
        ::close(mFolderFd);
    mFolderFd = -1;
    mFolderParts.clear();
}

int DriveFiles::folder(const QStringList& aFolder, bool aCreate)
{
    if (!openRoot()) {
        fail(Gone, mRoot + QStringLiteral(": the drive is not there"));
        return -1;
    }
    if (aFolder.isEmpty())
        return mRootFd;
    if (mFolderFd >= 0 && aFolder == mFolderParts)
        return mFolderFd;
    forgetFolder();
    // Each step opens one name below the last, refusing a link: nothing is followed off the drive.
    int current = mRootFd;
    const auto leave = [&current, this] {
        if (current != mRootFd)
            ::close(current);
        return -1;
    };
    for (const QString& part : aFolder) {
        if (!isPlainName(part)) {
            fail(Refused, QStringLiteral("not a name: ") + part);
            return leave();
        }
        const QByteArray name = encoded(part);
        int next = ::openat(current, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0 && errno == ENOENT && aCreate) {
            if (!present())
                return leave();
            if (::mkdirat(current, name.constData(), 0755) != 0 && errno != EEXIST) {
                failErrno(QStringLiteral("making the folder ") + aFolder.join(QLatin1Char('/')));
                return leave();
            }
            next = ::openat(current, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        }
        if (next < 0) {
            failErrno(QStringLiteral("opening the folder ") + aFolder.join(QLatin1Char('/')));
            return leave();
        }
        leave();
        current = next;
    }
    mFolderFd = current;
    mFolderParts = aFolder;
    return mFolderFd;
}

int DriveFiles::createIn(const QStringList& aFolder, const QByteArray& aName, int aFlags)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int parent = folder(aFolder, true);
        if (parent < 0)
            return -1;
        int fd = ::openat(parent, aName.constData(), aFlags | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST && (aFlags & O_EXCL)) {
            // A leftover (or a link) under a temporary name: it goes, the name is ours.
            ::unlinkat(parent, aName.constData(), 0);
            fd = ::openat(parent, aName.constData(), aFlags | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        }
        // The folder kept open was removed meanwhile (nothing can be made in it): open it again.
        if (fd < 0 && errno == ENOENT && attempt == 0 && !aFolder.isEmpty()) {
            forgetFolder();
            continue;
        }
        return fd;
    }
    return -1;
}

bool DriveFiles::isFolder(const QStringList& aPath)
{
    if (aPath.isEmpty())
        return openRoot();
    const int parent = folder(aPath.mid(0, aPath.size() - 1), false);
    struct stat info;
    return parent >= 0 &&
           ::fstatat(parent, encoded(aPath.last()).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(info.st_mode);
}

bool DriveFiles::isFile(const QStringList& aPath, qint64* aSize)
{
    if (aPath.isEmpty())
        return false;
    const int parent = folder(aPath.mid(0, aPath.size() - 1), false);
    struct stat info;
    if (parent < 0 || ::fstatat(parent, encoded(aPath.last()).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode))
        return false;
    if (aSize)
        *aSize = info.st_size;
    return true;
}

bool DriveFiles::exists(const QStringList& aPath)
{
    if (aPath.isEmpty())
        return openRoot();
    const int parent = folder(aPath.mid(0, aPath.size() - 1), false);
    struct stat info;
    return parent >= 0 &&
           ::fstatat(parent, encoded(aPath.last()).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

bool DriveFiles::makeFolder(const QStringList& aPath)
{
    // A folder that is there is only opened; making one first checks that the drive is.
    return folder(aPath, true) >= 0;
}

bool DriveFiles::readFile(const QStringList& aPath, qint64 aMaxBytes, QByteArray& aContent)
{
    aContent.clear();
    if (aPath.isEmpty())
        return fail(Refused, QStringLiteral("no file named"));
    const int parent = folder(aPath.mid(0, aPath.size() - 1), false);
    if (parent < 0)
        return false;
    // Non-blocking: a FIFO placed under the file's name must not hold the program.
    UniqueFd file(
        ::openat(parent, encoded(aPath.last()).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0)
        return failErrno(QStringLiteral("reading ") + aPath.join(QLatin1Char('/')));
    if (!S_ISREG(info.st_mode))
        return fail(Refused, aPath.join(QLatin1Char('/')) + QStringLiteral(": not a regular file"));
    if (info.st_size > aMaxBytes)
        return fail(Refused,
                    aPath.join(QLatin1Char('/')) + QStringLiteral(": larger than %1 bytes").arg(aMaxBytes));
    QByteArray content(static_cast<qsizetype>(info.st_size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < content.size()) {
        const ssize_t got =
            ::read(file.get(), content.data() + done, static_cast<size_t>(content.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failErrno(QStringLiteral("reading ") + aPath.join(QLatin1Char('/')));
        if (got == 0)
            break;
        done += got;
    }
    content.truncate(done);
    aContent = content;
    return true;
}

bool DriveFiles::writeFile(const QStringList& aPath, const QByteArray& aContent)
{
    if (aPath.isEmpty() || !present())
        return false;
    const QStringList folderParts = aPath.mid(0, aPath.size() - 1);
    const QByteArray name = encoded(aPath.last());
    const QByteArray partial = encoded(partialName(aPath.last()));
    UniqueFd file(createIn(folderParts, partial, O_WRONLY | O_EXCL));
    const int parent = folder(folderParts, false);
    if (file.get() < 0 || parent < 0 ||
        !UniqueFd::writeAll(file.get(), aContent.constData(), aContent.size()) || ::fsync(file.get()) != 0 ||
        !file.close()) {
        const bool failed = failErrno(QStringLiteral("writing ") + aPath.join(QLatin1Char('/')));
        ::unlinkat(parent, partial.constData(), 0);
        return failed;
    }
    return giveName(parent, partial, name, aPath);
}

bool DriveFiles::appendToFile(const QStringList& aPath, const QByteArray& aContent)
{
    if (aPath.isEmpty() || !present())
        return false;
    UniqueFd file(
        createIn(aPath.mid(0, aPath.size() - 1), encoded(aPath.last()), O_WRONLY | O_APPEND | O_NONBLOCK));
    struct stat info;
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0)
        return failErrno(QStringLiteral("appending to ") + aPath.join(QLatin1Char('/')));
    if (!S_ISREG(info.st_mode))
        return fail(Refused, aPath.join(QLatin1Char('/')) + QStringLiteral(": not a regular file"));
    if (!UniqueFd::writeAll(file.get(), aContent.constData(), aContent.size()) || !file.close())
        return failErrno(QStringLiteral("appending to ") + aPath.join(QLatin1Char('/')));
    return true;
}

int DriveFiles::createFile(const QStringList& aPath)
{
    if (aPath.isEmpty() || !present())
        return -1;
    const QStringList folderParts = aPath.mid(0, aPath.size() - 1);
    const QByteArray name = encoded(aPath.last());
    int parent = folder(folderParts, true);
    int fd = parent < 0 ? -1
                        : ::openat(parent, name.constData(),
                                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0 && errno == ENOENT && !folderParts.isEmpty()) {
        forgetFolder();
        parent = folder(folderParts, true);
        fd = parent < 0 ? -1
                        : ::openat(parent, name.constData(),
                                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    }
    if (fd < 0)
        failErrno(QStringLiteral("creating ") + aPath.join(QLatin1Char('/')));
    return fd;
}

bool DriveFiles::removeFile(const QStringList& aPath)
{
    if (aPath.isEmpty())
        return fail(Refused, QStringLiteral("no file named"));
    if (!present())
        return false;
    const int parent = folder(aPath.mid(0, aPath.size() - 1), false);
    if (parent < 0)
        return mStatus == Missing; // no folder, no file
    const QByteArray name = encoded(aPath.last());
    struct stat info;
    if (::fstatat(parent, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? true : failErrno(QStringLiteral("removing ") + aPath.join(QLatin1Char('/')));
    if (S_ISDIR(info.st_mode))
        return fail(Refused, aPath.join(QLatin1Char('/')) + QStringLiteral(": a folder, not a file"));
    // A read-only file goes too, as on the phone; only a regular file's mode is touched.
    if (S_ISREG(info.st_mode) && !(info.st_mode & S_IWUSR))
        ::fchmodat(parent, name.constData(), info.st_mode | S_IWUSR, 0);
    if (::unlinkat(parent, name.constData(), 0) != 0 && errno != ENOENT)
        return failErrno(QStringLiteral("removing ") + aPath.join(QLatin1Char('/')));
    return true;
}

bool DriveFiles::sameContent(const QStringList& aPath, const QString& aLocal)
{
    if (aPath.isEmpty())
        return false;
    const int parent = folder(aPath.mid(0, aPath.size() - 1), false);
    if (parent < 0)
        return false;
    UniqueFd onDrive(
        ::openat(parent, encoded(aPath.last()).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    UniqueFd local(::open(encoded(aLocal).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat driveInfo, localInfo;
    if (onDrive.get() < 0 || local.get() < 0 || ::fstat(onDrive.get(), &driveInfo) != 0 ||
        ::fstat(local.get(), &localInfo) != 0 || !S_ISREG(driveInfo.st_mode) || !S_ISREG(localInfo.st_mode) ||
        driveInfo.st_size != localInfo.st_size)
        return false;
    constexpr std::size_t kBlock = 1 << 16;
    std::vector<char> a(kBlock), b(kBlock);
    for (;;) {
        const ssize_t got = ::read(local.get(), a.data(), kBlock);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        for (ssize_t done = 0; done < got;) {
            const ssize_t other =
                ::read(onDrive.get(), b.data() + done, static_cast<std::size_t>(got - done));
            if (other < 0 && errno == EINTR)
                continue;
            if (other <= 0)
                return false;
            done += other;
        }
        if (std::memcmp(a.data(), b.data(), static_cast<std::size_t>(got)) != 0)
            return false;
    }
}

QStringList DriveFiles::fileNames(const QStringList& aFolder)
{
    QStringList names;
    const int parent = folder(aFolder, false);
    if (parent < 0)
        return names;
    const int listed = ::openat(parent, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* directory = listed < 0 ? nullptr : ::fdopendir(listed);
    if (!directory) {
        if (listed >= 0)
            ::close(listed);
        return names;
    }
    while (const dirent* entry = ::readdir(directory)) {
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat info;
            regular =
                ::fstatat(parent, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
        }
        if (regular)
            names.append(QFile::decodeName(entry->d_name));
    }
    ::closedir(directory);
    return names;
}

bool DriveFiles::copyIn(const QString& aSource, const QStringList& aPath, bool aDeferred, qint64* aBytes)
{
    if (aPath.isEmpty() || !present())
        return false;
    // Only a regular file is copied: a FIFO would block the copy, /dev/zero would never end it.
    // (Opened non-blocking for that; on a regular file the flag changes nothing.)
    UniqueFd from(::open(encoded(aSource).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (from.get() < 0 || ::fstat(from.get(), &info) != 0)
        return fail(Missing, aSource + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(info.st_mode))
        return fail(Refused, aSource + QStringLiteral(": not a regular file"));
    const QStringList folderParts = aPath.mid(0, aPath.size() - 1);
    const QByteArray name = encoded(aPath.last());
    const QByteArray partial = encoded(partialName(aPath.last()));
    UniqueFd to(createIn(folderParts, partial, O_WRONLY | O_EXCL));
    const int parent = folder(folderParts, false);
    qint64 bytes = 0;
    // The data is on the drive before the name is: a drive pulled or a power cut must never leave
    // a short file under a real name (FAT keeps no journal).
    if (to.get() < 0 || parent < 0 || !copyData(from.get(), to.get(), bytes) ||
        (!aDeferred && ::fsync(to.get()) != 0) || !to.close()) {
        const bool failed = failErrno(QStringLiteral("copying to ") + aPath.join(QLatin1Char('/')));
        ::unlinkat(parent, partial.constData(), 0);
        return failed;
    }
    if (aBytes)
        *aBytes = bytes;
    if (aDeferred) {
        if (mDeferredFolders.empty() || folderParts != mLastDeferredFolder) {
            mDeferredFolders.push_back(::fcntl(parent, F_DUPFD_CLOEXEC, 0));
            mLastDeferredFolder = folderParts;
        }
        mDeferred.push_back({mDeferredFolders.size() - 1, partial, name});
        mDeferredBytes += bytes;
        return true;
    }
    return giveName(parent, partial, name, aPath);
}

bool DriveFiles::giveName(int aParent, const QByteArray& aPartial, const QByteArray& aName,
                          const QStringList& aPath)
{
    // A rename replaces a link under the name itself, never what it points to.
    if (::renameat(aParent, aPartial.constData(), aParent, aName.constData()) != 0) {
        const bool failed = failErrno(QStringLiteral("naming ") + aPath.join(QLatin1Char('/')));
        ::unlinkat(aParent, aPartial.constData(), 0);
        return failed;
    }
    ::fsync(aParent);
    return true;
}

bool DriveFiles::commit()
{
    if (mDeferred.empty())
        return true;
    std::vector<Deferred> deferred;
    deferred.swap(mDeferred);
    std::vector<int> folders;
    folders.swap(mDeferredFolders);
    mLastDeferredFolder.clear();
    mDeferredBytes = 0;
    const auto closeFolders = [&folders] {
        for (int fd : folders)
            ::close(fd);
    };
    // One flush for all the copies' data, then their names, then a flush for the names.
    if (!present() || ::syncfs(mRootFd) != 0) {
        const bool failed = mStatus == Gone ? false : failErrno(QStringLiteral("flushing the drive"));
        closeFolders();
        return failed;
    }
    bool named = true;
    for (const Deferred& copy : deferred) {
        const int parent = folders[copy.folder];
        if (parent < 0 || ::renameat(parent, copy.partial.constData(), parent, copy.name.constData()) != 0) {
            named = failErrno(QStringLiteral("naming ") + QFile::decodeName(copy.name));
            ::unlinkat(parent, copy.partial.constData(), 0);
        }
    }
    closeFolders();
    if (::syncfs(mRootFd) != 0)
        return failErrno(QStringLiteral("flushing the drive"));
    return named;
}
