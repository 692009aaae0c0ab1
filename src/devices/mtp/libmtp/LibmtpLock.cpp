#include "devices/mtp/libmtp/LibmtpLock.h"

#include <libmtp.h>

namespace {

std::mutex& libmtpMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

LibmtpLock::LibmtpLock() : mGuard(libmtpMutex())
{
    static bool initialised = false;
    if (!initialised) {
        LIBMTP_Init();
        initialised = true;
    }
}
