// A drive's folders and files, each reached from the descriptor of its root without following a link.
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

} // namespace

DriveFiles::DriveFiles(const QString& aRoot) : mRoot(aRoot)
{
    if (!mRoot.endsWith(QLatin1Char('/')))
        mRoot += QLatin1Char('/');
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
    if (mRootFd.valid())
        return true;
    UniqueFd root(::open(encoded(mRoot).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat info;
    if (!root.valid() || ::fstat(root.get(), &info) != 0)
        return false;
    mDevice = info.st_dev;
    mInode = info.st_ino;
    mRootFd = std::move(root);
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
    mFolderFds.clear();
    mFolderParts.clear();
}

int DriveFiles::folder(const QStringList& aFolder, bool aCreate)
{
    if (!openRoot()) {
        fail(Gone, mRoot + QStringLiteral(": the drive is not there"));
        return -1;
    }
    if (aFolder.isEmpty())
        return mRootFd.get();
    // The folders above the last one are kept open too: the next album's folder is one step
    // from its artist's, not a walk from the drive's root.
    qsizetype kept = 0;
    while (kept < mFolderParts.size() && kept < aFolder.size() && mFolderParts.at(kept) == aFolder.at(kept))
        ++kept;
    if (kept == aFolder.size() && kept == mFolderParts.size())
        return mFolderFds.back().get();
    mFolderFds.resize(static_cast<std::size_t>(kept));
    mFolderParts.resize(kept);
    // Each step opens one name below the last, refusing a link: nothing is followed off the drive.
    for (qsizetype step = kept; step < aFolder.size(); ++step) {
        const QString& part = aFolder.at(step);
        const int parent = mFolderFds.empty() ? mRootFd.get() : mFolderFds.back().get();
        if (!isPlainName(part)) {
            forgetFolder();
            fail(Refused, QStringLiteral("not a name: ") + part);
            return -1;
        }
        const QByteArray name = encoded(part);
        UniqueFd next(::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.valid() && errno == ENOENT && aCreate) {
            if (!present())
                return -1;
            if (::mkdirat(parent, name.constData(), 0755) != 0 && errno != EEXIST) {
                failErrno(QStringLiteral("making the folder ") + aFolder.join(QLatin1Char('/')));
                forgetFolder();
                return -1;
            }
            next =
                UniqueFd(::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        }
        if (!next.valid()) {
            failErrno(QStringLiteral("opening the folder ") + aFolder.join(QLatin1Char('/')));
            forgetFolder();
            return -1;
        }
        mFolderFds.push_back(std::move(next));
        mFolderParts.append(part);
    }
    return mFolderFds.back().get();
}

UniqueFd DriveFiles::createIn(const QStringList& aFolder, const QByteArray& aName, int aFlags)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int parent = folder(aFolder, true);
        if (parent < 0)
            return UniqueFd();
        UniqueFd file(::openat(parent, aName.constData(), aFlags | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (!file.valid() && errno == EEXIST && (aFlags & O_EXCL)) {
            // A leftover (or a link) under a temporary name: it goes, the name is ours.
            ::unlinkat(parent, aName.constData(), 0);
            file = UniqueFd(
                ::openat(parent, aName.constData(), aFlags | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644));
        }
        // The folder kept open was removed meanwhile (nothing can be made in it): open it again.
        if (!file.valid() && errno == ENOENT && attempt == 0 && !aFolder.isEmpty()) {
            forgetFolder();
            continue;
        }
        return file;
    }
    return UniqueFd();
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

UniqueFd DriveFiles::openToRead(const QStringList& aPath, qint64 aMaxBytes, qint64& aSize)
{
    if (aPath.isEmpty()) {
        fail(Refused, QStringLiteral("no file named"));
        return UniqueFd();
    }
    const int parent = folder(aPath.mid(0, aPath.size() - 1), false);
    if (parent < 0)
        return UniqueFd();
    // Non-blocking: a FIFO placed under the file's name must not hold the program.
    UniqueFd file(
        ::openat(parent, encoded(aPath.last()).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0) {
        failErrno(QStringLiteral("reading ") + aPath.join(QLatin1Char('/')));
        return UniqueFd();
    }
    if (!S_ISREG(info.st_mode)) {
        fail(Refused, aPath.join(QLatin1Char('/')) + QStringLiteral(": not a regular file"));
        return UniqueFd();
    }
    if (info.st_size > aMaxBytes) {
        fail(Refused, aPath.join(QLatin1Char('/')) + QStringLiteral(": larger than %1 bytes").arg(aMaxBytes));
        return UniqueFd();
    }
    aSize = info.st_size;
    return file;
}

qint64 DriveFiles::readSome(int aFd, char* aData, qint64 aLength, const QStringList& aPath)
{
    qint64 done = 0;
    while (done < aLength) {
        const ssize_t got = ::read(aFd, aData + done, static_cast<size_t>(aLength - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            failErrno(QStringLiteral("reading ") + aPath.join(QLatin1Char('/')));
            return -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

bool DriveFiles::readFile(const QStringList& aPath, qint64 aMaxBytes, QByteArray& aContent)
{
    aContent.clear();
    qint64 size = 0;
    const UniqueFd file = openToRead(aPath, aMaxBytes, size);
    if (!file.valid())
        return false;
    QByteArray content(static_cast<qsizetype>(size), Qt::Uninitialized);
    const qint64 done = readSome(file.get(), content.data(), content.size(), aPath);
    if (done < 0)
        return false;
    content.truncate(static_cast<qsizetype>(done));
    aContent = content;
    return true;
}

bool DriveFiles::holds(const QStringList& aPath, const QByteArray& aContent)
{
    qint64 size = 0;
    const UniqueFd file = openToRead(aPath, aContent.size(), size);
    if (!file.valid() || size != aContent.size())
        return false;
    // Compared a block at a time: a playlist of the whole library is megabytes.
    constexpr qint64 kBlock = 64 * 1024;
    QByteArray block(static_cast<qsizetype>(qMin(kBlock, size)), Qt::Uninitialized);
    for (qint64 done = 0; done < size;) {
        const qint64 got = readSome(file.get(), block.data(), qMin(kBlock, size - done), aPath);
        if (got <= 0 ||
            std::memcmp(block.constData(), aContent.constData() + done, static_cast<size_t>(got)) != 0)
            return false;
        done += got;
    }
    // Nothing more than it was when it was measured.
    char more = 0;
    return readSome(file.get(), &more, 1, aPath) == 0;
}

bool DriveFiles::writeFile(const QStringList& aPath, const QByteArray& aContent)
{
    if (aPath.isEmpty() || !present())
        return false;
    const QStringList folderParts = aPath.mid(0, aPath.size() - 1);
    const QByteArray name = encoded(aPath.last());
    const QByteArray partial = encoded(partialName(aPath.last()));
    UniqueFd file = createIn(folderParts, partial, O_WRONLY | O_EXCL);
    const int parent = folder(folderParts, false);
    if (!file.valid() || parent < 0 ||
        !UniqueFd::writeAll(file.get(), aContent.constData(), aContent.size()) || ::fsync(file.get()) != 0 ||
        !file.close()) {
        const bool failed = failErrno(QStringLiteral("writing ") + aPath.join(QLatin1Char('/')));
        ::unlinkat(parent, partial.constData(), 0);
        return failed;
    }
    return giveName(parent, partial, name, aPath.join(QLatin1Char('/')));
}

bool DriveFiles::appendToFile(const QStringList& aPath, const QByteArray& aContent)
{
    if (aPath.isEmpty() || !present())
        return false;
    UniqueFd file =
        createIn(aPath.mid(0, aPath.size() - 1), encoded(aPath.last()), O_WRONLY | O_APPEND | O_NONBLOCK);
    struct stat info;
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0)
        return failErrno(QStringLiteral("appending to ") + aPath.join(QLatin1Char('/')));
    if (!S_ISREG(info.st_mode))
        return fail(Refused, aPath.join(QLatin1Char('/')) + QStringLiteral(": not a regular file"));
    if (!UniqueFd::writeAll(file.get(), aContent.constData(), aContent.size()) || !file.close())
        return failErrno(QStringLiteral("appending to ") + aPath.join(QLatin1Char('/')));
    return true;
}

UniqueFd DriveFiles::createFile(const QStringList& aPath)
{
    if (aPath.isEmpty() || !present())
        return UniqueFd();
    // Never over what is there: no O_EXCL retry that removes it.
    const QStringList folderParts = aPath.mid(0, aPath.size() - 1);
    const QByteArray name = encoded(aPath.last());
    UniqueFd file;
    for (int attempt = 0; attempt < 2 && !file.valid(); ++attempt) {
        const int parent = folder(folderParts, true);
        if (parent < 0)
            break;
        file = UniqueFd(
            ::openat(parent, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        // The folder kept open was removed meanwhile: open it again.
        if (file.valid() || errno != ENOENT || folderParts.isEmpty())
            break;
        forgetFolder();
    }
    if (!file.valid())
        failErrno(QStringLiteral("creating ") + aPath.join(QLatin1Char('/')));
    return file;
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

QStringList DriveFiles::fileNames(const QStringList& aFolder)
{
    FolderListing listing;
    listFileNames(aFolder, listing);
    return listing.names();
}

void DriveFiles::listFileNames(const QStringList& aFolder, FolderListing& aListing)
{
    if (aFolder.isEmpty()) {
        const int root = folder(aFolder, false);
        if (root < 0 || !aListing.read(root))
            aListing = FolderListing();
        return;
    }
    // The folder is opened for the listing alone, from its parent (kept open for the next
    // album's folder), and read from its start: no second description of it is needed.
    const int parent = folder(aFolder.mid(0, aFolder.size() - 1), false);
    if (parent < 0)
        return void(aListing = FolderListing());
    if (!isPlainName(aFolder.last())) {
        fail(Refused, QStringLiteral("not a name: ") + aFolder.last());
        return void(aListing = FolderListing());
    }
    UniqueFd listed(::openat(parent, encoded(aFolder.last()).constData(),
                             O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!listed.valid())
        failErrno(QStringLiteral("opening the folder ") + aFolder.join(QLatin1Char('/')));
    if (!listed.valid() || !aListing.read(std::move(listed)))
        aListing = FolderListing();
}
