#pragma once

#include <QByteArray>

#include <mutex>

// libmtp is not thread-safe (its error stacks, its USB context and its per-device state are
// shared without locks), and a process talks to phones from several threads: the refresher's
// pass, the sync thread and the GUI thread. Every libmtp call of the process is made while
// holding this one lock; holding it also means libmtp has been initialised.
//
// libmtp and libusb print on the standard output and error ("Device 0 (VID=...) is a ...",
// "Android device detected..."), which would break what scripts read of veltrane-sync: while the
// lock is held the process's standard output and error go into a buffer of their own, and what
// was printed there goes into the diagnostics log when the lock is released (the program's own
// lines keep the terminal through ProgramOutput).
class LibmtpLock
{
public:
    LibmtpLock();
    ~LibmtpLock();
    LibmtpLock(const LibmtpLock&) = delete;
    LibmtpLock& operator=(const LibmtpLock&) = delete;

    // What libmtp and libusb have printed since the lock was taken.
    QByteArray printed() const;

private:
    std::lock_guard<std::mutex> mGuard;
};
