#pragma once

// A web server on the loopback interface for the update watcher's tests: it answers every
// request with one status and body, or never answers at all.
#include <QByteArray>
#include <QTcpServer>

class LoopbackServer : public QTcpServer
{
public:
    LoopbackServer();
    // The address of aPath on this server.
    QString address(const QString& aPath = QString()) const;
    void answer(int aStatus, const QByteArray& aBody);
    void neverAnswer() { mSilent = true; }
    int requests() const { return mRequests; }
    const QByteArray& lastRequest() const { return mLastRequest; }

private:
    int mStatus = 200;
    QByteArray mBody;
    bool mSilent = false;
    int mRequests = 0;
    QByteArray mLastRequest;
};
