#pragma once

// A desktop's notification service (org.freedesktop.Notifications) on a session bus of its own:
// a dbus-daemon started for the test, the service registered on one connection and a client
// connection for the program under test. Records what it is asked to show.
#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class NotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Shown
    {
        QString application, icon, summary, body;
        QVariantMap hints;
    };

    NotificationService();
    ~NotificationService() override;

    bool isRunning() const { return mService.isConnected(); }
    // A connection to the bus for the program under test.
    QDBusConnection client() const { return mClient; }
    // The service leaves the bus (the bus stays).
    void leave();
    const QList<Shown>& shown() const { return mShown; }

public slots:
    uint Notify(const QString& aApplication, uint aReplacesId, const QString& aIcon, const QString& aSummary,
                const QString& aBody, const QStringList& aActions, const QVariantMap& aHints, int aTimeout);
    QStringList GetCapabilities() const { return {QStringLiteral("body")}; }

private:
    QProcess mDaemon;
    QDBusConnection mService{QString()};
    QDBusConnection mClient{QString()};
    QList<Shown> mShown;
};
