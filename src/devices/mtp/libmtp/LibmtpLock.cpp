#include "devices/mtp/libmtp/LibmtpLock.h"

#include "app/LogScope.h"

#include <QList>

#include <libmtp.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

std::mutex& libmtpMutex()
{
    static std::mutex mutex;
    return mutex;
}

// The buffer libmtp's lines go into, and where the standard output and error were before.
struct Capture
{
    int buffer = -1;
    int savedOut = -1;
    int savedErr = -1;
};

Capture& capture()
{
    static Capture state = [] {
        Capture made;
        made.buffer = ::memfd_create("libmtp-output", MFD_CLOEXEC);
        made.savedOut = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
        made.savedErr = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
        return made;
    }();
    return state;
}

bool capturing()
{
    const Capture& state = capture();
    return state.buffer >= 0 && state.savedOut >= 0 && state.savedErr >= 0;
}

} // namespace

LibmtpLock::LibmtpLock() : mGuard(libmtpMutex())
{
    if (capturing()) {
        std::fflush(stdout);
        std::fflush(stderr);
        ::dup2(capture().buffer, STDOUT_FILENO);
        ::dup2(capture().buffer, STDERR_FILENO);
    }
    static bool initialised = false;
    if (!initialised) {
        LIBMTP_Init();
        initialised = true;
    }
}

LibmtpLock::~LibmtpLock()
{
    if (!capturing())
        return;
    const QByteArray text = printed();
    ::dup2(capture().savedOut, STDOUT_FILENO);
    ::dup2(capture().savedErr, STDERR_FILENO);
    ::ftruncate(capture().buffer, 0);
    ::lseek(capture().buffer, 0, SEEK_SET);
    for (const QByteArray& line : text.split('\n')) {
        if (!line.trimmed().isEmpty())
            logValue("libmtp", QString::fromLocal8Bit(line.trimmed()));
    }
}

QByteArray LibmtpLock::printed() const
{
    if (!capturing())
        return QByteArray();
    std::fflush(stdout);
    std::fflush(stderr);
    const off_t size = ::lseek(capture().buffer, 0, SEEK_END);
    QByteArray text(static_cast<qsizetype>(qMin<off_t>(size, 1024 * 1024)), Qt::Uninitialized);
    const ssize_t read = ::pread(capture().buffer, text.data(), static_cast<size_t>(text.size()), 0);
    text.resize(read > 0 ? static_cast<qsizetype>(read) : 0);
    return text;
}
