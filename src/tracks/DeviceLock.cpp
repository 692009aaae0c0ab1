#include "tracks/DeviceLock.h"

#include "app/ApplicationPaths.h"
#include "app/DiagnosticLog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

DeviceLock::~DeviceLock()
{
    release();
}

QString DeviceLock::lockPath(const QString& aDeviceId)
{
    const QByteArray hash =
        QCryptographicHash::hash(aDeviceId.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return ApplicationPaths::kordaFolder() + QStringLiteral("/sync-") + QString::fromLatin1(hash) +
           QStringLiteral(".lock");
}

DeviceLock::Result DeviceLock::acquire(const QString& aDeviceId)
{
    release();
    QDir().mkpath(ApplicationPaths::kordaFolder());
    const QByteArray path = QFile::encodeName(lockPath(aDeviceId));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        logValue("! Can't make the device's lock file", QFile::decodeName(path));
        return Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        logMessage(held ? "! Another synchronization of this device is running" : "! Can't lock the device");
        return held ? HeldElsewhere : Failed;
    }
    mFd = fd;
    return Locked;
}

void DeviceLock::release()
{
    if (mFd < 0)
        return;
    ::flock(mFd, LOCK_UN);
    ::close(mFd);
    mFd = -1;
}
