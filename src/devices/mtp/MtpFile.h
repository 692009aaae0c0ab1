#pragma once

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QString>

#include <memory>

class DeviceMtpMac;

// A path on one storage of a phone, used as a file (exists, remove, make its folders, open, read,
// write, close, and copy a local file there): reading copies the object into a local
// temporary file (KORDA/temp<N>), writing fills one that close() sends. An MtpFile lives for one
// operation; destroying an open one closes it, so written data is sent.
class MtpFile
{
public:
    static constexpr int kCopyAttempts = 5;
    // The largest object read into memory: identities, android.xml and playlists are small, and
    // a phone that claims more is not believed.
    static constexpr qint64 kMaxReadBytes = 16 * 1024 * 1024;

    MtpFile(DeviceMtpMac& aDevice, const QString& aPath);
    ~MtpFile();
    MtpFile(const MtpFile&) = delete;
    MtpFile& operator=(const MtpFile&) = delete;

    bool exists(const QString& aPath);
    bool remove(const QString& aPath);
    bool copy(const QString& aSource, const QString& aTarget, int aAttempts, int aType);
    bool mkpath(const QString& aPath);
    bool open(QIODevice::OpenMode aMode);
    bool close();
    QByteArray readAll();
    bool write(const QByteArray& aBytes);

    // The result of the last copy: 0, or the object layer's code (cancelled, full, gone, ...).
    qint32 lastResult() const { return mLastResult; }

    // The temporary file names in aFolder: "temp" and the first free number, created at once so
    // that two files never share one.
    static std::unique_ptr<QFile> createTemporary(const QString& aFolder);

private:
    DeviceMtpMac& mDevice;
    QString mPath;
    std::unique_ptr<QFile> mTemporary;
    qint32 mLastResult = 0;
};
