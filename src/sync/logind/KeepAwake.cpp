// KeepAwake through systemd-logind: an Inhibit("sleep") lock held as a file descriptor on the
// system bus; closing the descriptor releases it. Nothing without a bus or logind.
#include "sync/KeepAwake.h"

#include "app/DiagnosticLog.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>

struct KeepAwake::Inhibitor
{
    QDBusUnixFileDescriptor lock;
};

KeepAwake::KeepAwake()
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
    mInhibitor = std::make_unique<Inhibitor>();
    mInhibitor->lock = reply.value();
}

KeepAwake::~KeepAwake() = default;

bool KeepAwake::isHeld() const
{
    return mInhibitor && mInhibitor->lock.isValid();
}
