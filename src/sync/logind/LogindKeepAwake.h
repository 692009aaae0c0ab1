#pragma once

#include "sync/KeepAwake.h"

#include <QDBusUnixFileDescriptor>

// KeepAwake through systemd-logind: an Inhibit("sleep") lock held as a file descriptor on the
// system bus; closing the descriptor (destruction) releases it. Nothing without a bus or logind.
class LogindKeepAwake : public KeepAwake
{
public:
    LogindKeepAwake();

    bool isHeld() const override { return mLock.isValid(); }

private:
    QDBusUnixFileDescriptor mLock;
};
