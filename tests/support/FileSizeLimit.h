#pragma once

// A disk that fills up, for tests: while the object lives, the process may write no more than
// aBytes to any file (writes past that fail with EFBIG instead of raising SIGXFSZ).
#include <csignal>
#include <sys/resource.h>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t aBytes)
    {
        getrlimit(RLIMIT_FSIZE, &mOld);
        mOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = mOld;
        limit.rlim_cur = aBytes;
        mActive = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &mOld);
        std::signal(SIGXFSZ, mOldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return mActive; }

private:
    struct rlimit mOld
    {
    };
    void (*mOldHandler)(int) = SIG_DFL;
    bool mActive = false;
};
