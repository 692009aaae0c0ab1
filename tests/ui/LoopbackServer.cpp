#include "ui/LoopbackServer.h"

#include <QTcpSocket>

LoopbackServer::LoopbackServer()
{
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                mLastRequest += socket->readAll();
                if (!mLastRequest.contains("\r\n\r\n"))
                    return;
                ++mRequests;
                if (mSilent)
                    return;
                socket->write("HTTP/1.1 " + QByteArray::number(mStatus) + " Status\r\nContent-Length: " +
                              QByteArray::number(mBody.size()) + "\r\nConnection: close\r\n\r\n" + mBody);
                socket->disconnectFromHost();
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString LoopbackServer::address(const QString& aPath) const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()) + aPath;
}

void LoopbackServer::answer(int aStatus, const QByteArray& aBody)
{
    mStatus = aStatus;
    mBody = aBody;
}
