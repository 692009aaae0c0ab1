// The logind keep-awake: one Inhibit call when made, the lock released with the descriptor.
#include "sync/logind/LogindKeepAwake.h"

#include "app/DiagnosticLog.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

LogindKeepAwake::LogindKeepAwake()
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return;
    QDBusInterface manager(QStringLiteral("org.freedesktop.login1"),
                           QStringLiteral("/org/freedesktop/login1"),
                           QStringLiteral("org.freedesktop.login1.Manager"), bus);
    if (!manager.isValid())
        return;
    const QDBusReply<QDBusUnixFileDescriptor> reply =
        manager.call(QStringLiteral("Inhibit"), QStringLiteral("sleep"), QStringLiteral("Veltrane"),
                     QStringLiteral("Synchronizing music to the phone"), QStringLiteral("block"));
    if (!reply.isValid()) {
        logValue("! Could not keep the computer awake", reply.error().message());
        return;
    }
    mLock = reply.value();
}
