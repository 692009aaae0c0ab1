#include "devices/usbms/CompleteFileCopy.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int aFd) : mFd(aFd) {}
    ~Descriptor()
    {
        if (mFd >= 0)
            ::close(mFd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return mFd; }
    bool close()
    {
        const int fd = mFd;
        mFd = -1;
        return ::close(fd) == 0;
    }

private:
    int mFd;
};

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
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(aTo, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return false;
            done += put;
            aBytes += put;
        }
    }
}

// Makes a rename in a folder durable.
void syncFolderOf(const QByteArray& aPath)
{
    const qsizetype slash = aPath.lastIndexOf('/');
    const QByteArray folder = slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : aPath.left(slash);
    Descriptor directory(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0)
        ::fsync(directory.get());
}

} // namespace

QString CompleteFileCopy::partialName(const QString& aDestination)
{
    return aDestination + QStringLiteral(".vltpart");
}

bool CompleteFileCopy::copy(const QString& aSource, const QString& aDestination, QString* aError,
                            qint64* aBytes)
{
    const QByteArray source = QFile::encodeName(aSource);
    const QByteArray partial = QFile::encodeName(partialName(aDestination));
    auto fail = [&](const char* aWhat) {
        if (aError)
            *aError = QString::fromLatin1(aWhat) + QStringLiteral(": ") +
                      QString::fromLocal8Bit(std::strerror(errno));
        ::unlink(partial.constData());
        return false;
    };
    Descriptor from(::open(source.constData(), O_RDONLY | O_CLOEXEC));
    if (from.get() < 0)
        return fail("open source");
    Descriptor to(::open(partial.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (to.get() < 0)
        return fail("create");
    qint64 bytes = 0;
    if (!copyData(from.get(), to.get(), bytes))
        return fail("copy");
    // The data reaches the drive before the name does: a stick pulled or a power cut after the
    // rename must not leave a short file under a real name (FAT keeps no journal).
    if (::fsync(to.get()) != 0)
        return fail("flush");
    // A full disk may only show at close on some file systems.
    if (!to.close())
        return fail("close");
    const QByteArray destination = QFile::encodeName(aDestination);
    if (::rename(partial.constData(), destination.constData()) != 0)
        return fail("rename");
    syncFolderOf(destination);
    if (aBytes)
        *aBytes = bytes;
    return true;
}
