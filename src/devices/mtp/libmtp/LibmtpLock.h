#pragma once

#include <mutex>

// libmtp is not thread-safe (its error stacks, its USB context and its per-device state are
// shared without locks), and a process talks to phones from several threads: the refresher's
// pass, the sync thread and the GUI thread. Every libmtp call of the process is made while
// holding this one lock; holding it also means libmtp has been initialised.
class LibmtpLock
{
public:
    LibmtpLock();
    ~LibmtpLock() = default;
    LibmtpLock(const LibmtpLock&) = delete;
    LibmtpLock& operator=(const LibmtpLock&) = delete;

private:
    std::lock_guard<std::mutex> mGuard;
};
