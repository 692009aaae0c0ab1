// Copies from this computer onto a drive, whole or absent, and comparisons with local files.
#include "devices/usbms/DriveFiles.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool DriveFiles::copyIn(const QString& aSource, const QStringList& aPath, qint64* aBytes)
{
    qint64 bytes = 0;
    if (aPath.isEmpty() || !copyUnnamed(aSource, aPath, true, bytes))
        return false;
    if (aBytes)
        *aBytes = bytes;
    return giveName(folder(aPath.mid(0, aPath.size() - 1), false), encoded(partialName(aPath.last())),
                    encoded(aPath.last()), aPath.join(QLatin1Char('/')));
}

bool DriveFiles::copyUnnamed(const QString& aSource, const QStringList& aPath, bool aFlush, qint64& aBytes)
{
    if (!present())
        return false;
    // Only a regular file is copied: a FIFO would block the copy, /dev/zero would never end it.
    // (Opened non-blocking for that; on a regular file the flag changes nothing.)
    UniqueFd from(::open(encoded(aSource).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (!from.valid() || ::fstat(from.get(), &info) != 0)
        return fail(Missing, aSource + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(info.st_mode))
        return fail(Refused, aSource + QStringLiteral(": not a regular file"));
    const QStringList folderParts = aPath.mid(0, aPath.size() - 1);
    const QByteArray partial = encoded(partialName(aPath.last()));
    UniqueFd to = createIn(folderParts, partial, O_WRONLY | O_EXCL);
    const int parent = folder(folderParts, false);
    aBytes = 0;
    // The data is on the drive before the name is: a drive pulled or a power cut must never leave
    // a short file under a real name (FAT keeps no journal).
    if (!to.valid() || parent < 0 || !copyData(from.get(), to.get(), aBytes) ||
        (aFlush && ::fsync(to.get()) != 0) || !to.close()) {
        const bool failed = failErrno(QStringLiteral("copying to ") + aPath.join(QLatin1Char('/')));
        ::unlinkat(parent, partial.constData(), 0);
        return failed;
    }
    return true;
}

bool DriveFiles::giveName(int aParent, const QByteArray& aPartial, const QByteArray& aName,
                          const QString& aWhat, bool aFlushName)
{
    // A rename replaces a link under the name itself, never what it points to.
    if (::renameat(aParent, aPartial.constData(), aParent, aName.constData()) != 0) {
        const bool failed = failErrno(QStringLiteral("naming ") + aWhat);
        ::unlinkat(aParent, aPartial.constData(), 0);
        return failed;
    }
    if (aFlushName)
        ::fsync(aParent);
    return true;
}

bool DriveFiles::flushDrive()
{
    if (!present())
        return false;
    return ::syncfs(mRootFd.get()) == 0 || failErrno(QStringLiteral("flushing the drive"));
}
