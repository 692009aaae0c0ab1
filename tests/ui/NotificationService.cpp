#include "ui/NotificationService.h"

NotificationService::NotificationService()
{
    mDaemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                  QStringLiteral("--print-address")});
    if (!mDaemon.waitForStarted() || !mDaemon.waitForReadyRead(10000))
        return;
    const QString address = QString::fromUtf8(mDaemon.readLine()).trimmed();
    mService = QDBusConnection::connectToBus(address, QStringLiteral("notification-service"));
    mClient = QDBusConnection::connectToBus(address, QStringLiteral("notification-client"));
    mService.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                            QDBusConnection::ExportAllSlots);
    mService.registerService(QStringLiteral("org.freedesktop.Notifications"));
}

NotificationService::~NotificationService()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("notification-client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("notification-service"));
    mDaemon.kill();
    mDaemon.waitForFinished();
}

void NotificationService::leave()
{
    mService.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
}

uint NotificationService::Notify(const QString& aApplication, uint, const QString& aIcon,
                                 const QString& aSummary, const QString& aBody, const QStringList&,
                                 const QVariantMap& aHints, int)
{
    mShown.append({aApplication, aIcon, aSummary, aBody, aHints});
    return static_cast<uint>(mShown.size());
}
