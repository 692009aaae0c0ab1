#pragma once

#include <QtGlobal>

#include <cerrno>
#include <utility>

#include <sys/types.h>
#include <unistd.h>

// A file descriptor owned by one object and closed when it goes out of scope; movable, never
// copied. close() closes it early and tells whether the data reached the file system.
class UniqueFd
{
public:
    explicit UniqueFd(int aFd = -1) : mFd(aFd) {}
    ~UniqueFd()
    {
        if (mFd >= 0)
            ::close(mFd);
    }
    UniqueFd(UniqueFd&& aOther) noexcept : mFd(std::exchange(aOther.mFd, -1)) {}
    UniqueFd& operator=(UniqueFd&& aOther) noexcept
    {
        std::swap(mFd, aOther.mFd);
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return mFd; }
    bool valid() const { return mFd >= 0; }
    bool close() { return ::close(std::exchange(mFd, -1)) == 0; }
    // Gives up ownership: the caller (or what it hands the descriptor to) closes it.
    int release() { return std::exchange(mFd, -1); }

    // Writes all of aData, again after interruptions; false with errno set (ENOSPC when the
    // system took nothing).
    static bool writeAll(int aFd, const char* aData, qint64 aLength)
    {
        for (qint64 done = 0; done < aLength;) {
            const ssize_t put = ::write(aFd, aData + done, static_cast<size_t>(aLength - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                if (put == 0)
                    errno = ENOSPC;
                return false;
            }
            done += put;
        }
        return true;
    }

private:
    int mFd;
};
