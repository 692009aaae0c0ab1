#include "extract/RestoreFolder.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxNameBytes = 255;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Opens aParts (folders only) below aRoot, making the missing ones when aCreate.
UniqueFd openFolders(int aRoot, const QStringList& aParts, bool aCreate)
{
    UniqueFd current(::fcntl(aRoot, F_DUPFD_CLOEXEC, 0));
    for (const QString& part : aParts) {
        const QByteArray name = QFile::encodeName(part);
        if (aCreate && ::mkdirat(current.get(), name.constData(), 0755) != 0 && errno != EEXIST)
            return UniqueFd();
        UniqueFd next(
            ::openat(current.get(), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.valid())
            return UniqueFd();
        current = std::move(next);
    }
    return current;
}

} // namespace

RestoreFolder::RestoreFolder(const QString& aBackupPath, const QString& aExtractDir)
    : mBackup(::open(QFile::encodeName(aBackupPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      mExtract(::open(QFile::encodeName(aExtractDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      mExtractDir(aExtractDir)
{
    while (mExtractDir.size() > 1 && mExtractDir.endsWith(QLatin1Char('/')))
        mExtractDir.chop(1);
}

bool RestoreFolder::isOpen() const
{
    return mBackup.valid() && mExtract.valid();
}

QStringList RestoreFolder::safeComponents(const QString& aPath)
{
    if (aPath.isEmpty() || aPath.startsWith(QLatin1Char('/')))
        return {};
    QStringList parts = aPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == QLatin1String(".") || part == QLatin1String("..") ||
            QFile::encodeName(part).size() > kMaxNameBytes || part.contains(QLatin1Char('\n')) ||
            part.contains(QLatin1Char('\r')) || part.contains(QChar(0)))
            return {};
    }
    return parts;
}

bool RestoreFolder::restore(const QString& aStoredName, const QString& aDomain, const QString& aRelativePath,
                            QString& aRestoredPath, QString& aError)
{
    const QStringList stored = safeComponents(aStoredName);
    QStringList target = safeComponents(aRelativePath);
    if (stored.isEmpty() || target.isEmpty() || safeComponents(aDomain).size() != 1) {
        aError = QStringLiteral("refused path");
        return false;
    }
    target.prepend(aDomain);

    UniqueFd sourceFolder = openFolders(mBackup.get(), stored.mid(0, stored.size() - 1), false);
    UniqueFd source(sourceFolder.valid()
                        ? ::openat(sourceFolder.get(), QFile::encodeName(stored.last()).constData(),
                                   O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)
                        : -1);
    struct stat status
    {
    };
    if (!source.valid() || ::fstat(source.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        aError = source.valid() ? QStringLiteral("not a regular file") : systemError();
        return false;
    }

    UniqueFd folder = openFolders(mExtract.get(), target.mid(0, target.size() - 1), true);
    const QByteArray name = QFile::encodeName(target.last());
    UniqueFd out(folder.valid() ? ::openat(folder.get(), name.constData(),
                                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644)
                                : -1);
    if (!out.valid()) {
        aError = systemError();
        return false;
    }
    static constexpr size_t kBufferBytes = 1 << 20;
    std::unique_ptr<char[]> buffer(new char[kBufferBytes]);
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(source.get(), buffer.get(), kBufferBytes);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        if (!UniqueFd::writeAll(out.get(), buffer.get(), got)) {
            ok = false;
            break;
        }
        mBytesRestored += got;
    }
    if (!ok) {
        aError = systemError();
        ::unlinkat(folder.get(), name.constData(), 0);
        return false;
    }
    aRestoredPath = mExtractDir + QLatin1Char('/') + target.join(QLatin1Char('/'));
    return true;
}
