#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

class QNetworkReply;

// Fetches, once per start, the text file on the vendor's site that may announce a new version:
// line 1 the dialog's title, line 2 the announcement's identifier, the rest its text (Latin-1).
// Says updateInfoFound() when a reply with status 200 has been read. No retry; a site that
// doesn't answer within the time-out, an error or another status say nothing.
class SoftwareUpdateWatcher : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* kVersion = "124";
    // The biggest reply read: an announcement is a few lines.
    static constexpr qint64 kMaxReplyBytes = 64 * 1024;

    explicit SoftwareUpdateWatcher(QObject* aParent = nullptr);

    // The address of the update file on a site: ADDRESS/update/update124.txt.
    static QString updateAddress(const QString& aSiteAddress);
    void getUpdateInfo(const QString& aAddress);
    void setTimeout(int aMilliseconds) { mTimeoutMs = aMilliseconds; }

    const QString& title() const { return mTitle; }
    const QString& text() const { return mText; }
    const QString& messageId() const { return mMessageId; }

    // Splits a reply as the file's format says: missing parts are empty.
    void parse(const QByteArray& aReply);

signals:
    void updateInfoFound();

private slots:
    void updateInfoComplete();

private:
    QNetworkAccessManager mClient;
    QNetworkReply* mReply = nullptr;
    bool mRequested = false;
    QString mTitle;
    QString mText;
    QString mMessageId;
    int mTimeoutMs = 30000;
};
