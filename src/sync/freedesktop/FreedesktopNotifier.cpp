#include "sync/freedesktop/FreedesktopNotifier.h"

#include "app/LogScope.h"

#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

FreedesktopNotifier::FreedesktopNotifier(const QDBusConnection& aBus) : mBus(aBus) {}

bool FreedesktopNotifier::notify(const QString& aSummary, const QString& aBody)
{
    if (!mBus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // Notify(app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout)
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("veltrane")}};
    call << QStringLiteral("Veltrane") << 0U << QStringLiteral("veltrane") << aSummary << aBody
         << QStringList() << hints << -1;
    const bool sent = mBus.send(call);
    logValue("Desktop notification", aSummary);
    return sent;
}
