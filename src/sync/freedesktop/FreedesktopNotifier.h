#pragma once

#include "sync/DesktopNotifier.h"

#include <QDBusConnection>

// DesktopNotifier through the freedesktop notification service (org.freedesktop.Notifications on
// the session bus), as every Linux desktop runs one. The call is sent without waiting for its
// reply: a missing or hung service costs nothing.
class FreedesktopNotifier : public DesktopNotifier
{
public:
    explicit FreedesktopNotifier(const QDBusConnection& aBus = QDBusConnection::sessionBus());

    bool notify(const QString& aSummary, const QString& aBody) override;

private:
    QDBusConnection mBus;
};
