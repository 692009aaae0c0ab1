#include "app/ProgramOutput.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

int gOut = STDOUT_FILENO;
int gErr = STDERR_FILENO;

void writeAll(int aFd, const QByteArray& aText)
{
    const char* at = aText.constData();
    qsizetype left = aText.size();
    while (left > 0) {
        const ssize_t written = ::write(aFd, at, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        at += written;
        left -= written;
    }
}

} // namespace

namespace ProgramOutput {

void keep()
{
    const int out = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    const int err = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (out >= 0)
        gOut = out;
    if (err >= 0)
        gErr = err;
}

void out(const QByteArray& aText)
{
    writeAll(gOut, aText);
}

void err(const QByteArray& aText)
{
    writeAll(gErr, aText);
}

int outFd()
{
    return gOut;
}

int errFd()
{
    return gErr;
}

} // namespace ProgramOutput
