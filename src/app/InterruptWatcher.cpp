#include "app/InterruptWatcher.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int sWriteEnd = -1;

void onSignal(int)
{
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    const char byte = 1;
    if (sWriteEnd >= 0) [[maybe_unused]]
        const ssize_t written = ::write(sWriteEnd, &byte, 1);
}

} // namespace

InterruptWatcher::InterruptWatcher(QObject* aParent) : QObject(aParent)
{
    if (::pipe2(mPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    sWriteEnd = mPipe[1];
    mNotifier = std::make_unique<QSocketNotifier>(mPipe[0], QSocketNotifier::Read);
    connect(mNotifier.get(), &QSocketNotifier::activated, this, &InterruptWatcher::readPipe);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}

InterruptWatcher::~InterruptWatcher()
{
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    sWriteEnd = -1;
    mNotifier.reset();
    for (int fd : mPipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

void InterruptWatcher::readPipe()
{
    char bytes[16];
    while (::read(mPipe[0], bytes, sizeof bytes) > 0) {
    }
    emit interrupted();
}
