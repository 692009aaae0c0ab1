#include "tracks/RecordFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool RecordFile::open(const QString& aPath)
{
    close();
    // Never through a link: a cache file replaced by a link would have its target overwritten.
    const int fd =
        ::open(QFile::encodeName(aPath).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    // Unbuffered: the window below is the only read buffer, and each write reaches the file.
    if (!mFile.open(fd, QIODevice::ReadWrite | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    mSize = info.st_size;
    return true;
}

void RecordFile::close()
{
    if (mFile.isOpen())
        mFile.close();
    mWindow.clear();
    mWindowStart = 0;
    mSize = 0;
}

RecordFile::ReadResult RecordFile::readAt(qint64 aPosition, char* aData, qint64 aLength)
{
    const char* data = nullptr;
    const ReadResult result = viewAt(aPosition, aLength, data);
    if (result == ReadOk && aLength > 0)
        std::memcpy(aData, data, static_cast<std::size_t>(aLength));
    return result;
}

RecordFile::ReadResult RecordFile::viewAt(qint64 aPosition, qint64 aLength, const char*& aData)
{
    if (aPosition < 0 || aLength < 0)
        return ReadFailed;
    if (aLength == 0)
        return ReadOk;
    if (aPosition >= mSize)
        return ReadAtEnd;
    if (aLength > mSize - aPosition)
        return ReadShort;
    const qint64 windowEnd = mWindowStart + mWindow.size();
    if (aPosition < mWindowStart || aPosition + aLength > windowEnd) {
        // Reading backwards (identifiers of tracks copied again are appended in the opposite
        // order to their records), the window ends at the value; else it starts there.
        const bool backwards = !mWindow.isEmpty() && aPosition < mWindowStart;
        // A value longer than the window starts it at the value all the same.
        const qint64 start = backwards
                                 ? std::min(aPosition, std::max<qint64>(0, aPosition + aLength - kWindowSize))
                                 : aPosition;
        if (!mFile.seek(start))
            return ReadFailed;
        mWindow.resize(
            static_cast<int>(std::max(aPosition + aLength - start, std::min(kWindowSize, mSize - start))));
        const qint64 got = mFile.read(mWindow.data(), mWindow.size());
        if (got < aPosition + aLength - start) {
            mWindow.clear();
            return ReadFailed;
        }
        mWindow.truncate(static_cast<int>(got));
        mWindowStart = start;
    }
    aData = mWindow.constData() + (aPosition - mWindowStart);
    return ReadOk;
}

bool RecordFile::writeAt(qint64 aPosition, const QByteArray& aData)
{
    if (aPosition < 0)
        return false;
    // One positional write: no seek, and nothing buffered on the way.
    qint64 written = 0;
    while (written < aData.size()) {
        const ssize_t put = ::pwrite(mFile.handle(), aData.constData() + written,
                                     static_cast<size_t>(aData.size() - written), aPosition + written);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            // Part of the data may have landed (a full disk): the window and size follow the file.
            mWindow.clear();
            mWindowStart = 0;
            mSize = mFile.size();
            return false;
        }
        written += put;
    }
    mSize = std::max(mSize, aPosition + aData.size());
    // Keep the bytes of the window that the write covered.
    const qint64 windowEnd = mWindowStart + mWindow.size();
    const qint64 from = std::max(aPosition, mWindowStart);
    const qint64 to = std::min(aPosition + aData.size(), windowEnd);
    if (from < to)
        std::memcpy(mWindow.data() + (from - mWindowStart), aData.constData() + (from - aPosition),
                    static_cast<std::size_t>(to - from));
    return true;
}

bool RecordFile::append(const QByteArray& aData, qint64& aStart)
{
    aStart = mSize;
    return writeAt(mSize, aData);
}

bool RecordFile::truncate()
{
    mWindow.clear();
    mWindowStart = 0;
    if (!mFile.resize(0))
        return false;
    mSize = 0;
    return true;
}

bool RecordFile::flush()
{
    return mFile.flush();
}
