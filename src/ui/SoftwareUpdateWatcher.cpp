#include "ui/SoftwareUpdateWatcher.h"

#include "app/LogScope.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

SoftwareUpdateWatcher::SoftwareUpdateWatcher(QObject* aParent) : QObject(aParent)
{
    LogScope log("SoftwareUpdateWatcher::SoftwareUpdateWatcher");
}

QString SoftwareUpdateWatcher::updateAddress(const QString& aSiteAddress)
{
    return aSiteAddress + QStringLiteral("/update/update") + QLatin1String(kVersion) + QStringLiteral(".txt");
}

void SoftwareUpdateWatcher::getUpdateInfo(const QString& aAddress)
{
    LogScope log("SoftwareUpdateWatcher::getUpdateInfo");
    if (mRequested)
        return; // one request per start
    mRequested = true;
    QNetworkRequest request{QUrl(aAddress)};
    request.setTransferTimeout(mTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    mReply = mClient.get(request);
    connect(mReply, &QNetworkReply::finished, this, &SoftwareUpdateWatcher::updateInfoComplete);
    // An announcement is small: a reply that grows past the limit is not read further.
    connect(mReply, &QNetworkReply::downloadProgress, this, [this](qint64 aReceived, qint64) {
        if (aReceived > kMaxReplyBytes)
            mReply->abort();
    });
}

void SoftwareUpdateWatcher::parse(const QByteArray& aReply)
{
    const qsizetype first = aReply.indexOf('\n');
    const qsizetype second = first < 0 ? -1 : aReply.indexOf('\n', first + 1);
    if (second < 0) {
        mTitle.clear();
        mMessageId.clear();
        mText.clear();
        return;
    }
    mTitle = QString::fromLatin1(aReply.left(first));
    mMessageId = QString::fromLatin1(aReply.mid(first + 1, second - first - 1));
    mText = QString::fromLatin1(aReply.mid(second + 1));
}

void SoftwareUpdateWatcher::updateInfoComplete()
{
    LogScope log("SoftwareUpdateWatcher::updateInfoComplete");
    QNetworkReply* reply = std::exchange(mReply, nullptr);
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status != 200)
        return;
    logMessage("We have data");
    parse(reply->read(kMaxReplyBytes));
    emit updateInfoFound();
    logMessage("Update info found - emitted signal");
}
