#include "support/LoopMount.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <unistd.h>

namespace {

bool runTool(const QString& aProgram, const QStringList& aArguments, QString& aError)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(aProgram, aArguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        aError = aProgram + ": " + QString::fromLocal8Bit(process.readAll()).trimmed();
        return false;
    }
    return true;
}

} // namespace

LoopMount::LoopMount(const QString& aImage, const QString& aMountPoint, int aMegabytes)
    : mImage(aImage), mMountPoint(aMountPoint)
{
    if (::geteuid() != 0) {
        mWhyNot = "mounting a loop device needs root";
        return;
    }
    QFile image(mImage);
    if (!image.open(QIODevice::WriteOnly | QIODevice::Truncate) || !image.resize(qint64(aMegabytes) << 20)) {
        mWhyNot = "can't make the image " + mImage;
        return;
    }
    image.close();
    QDir().mkpath(mMountPoint);
    if (!runTool("mkfs.ext4", {"-q", "-F", "-m", "0", mImage}, mWhyNot))
        return;
    mMounted = plugIn();
}

LoopMount::~LoopMount()
{
    if (mMounted) {
        QString ignored;
        runTool("umount", {"-l", mMountPoint}, ignored);
    }
    QFile::remove(mImage);
}

bool LoopMount::plugIn()
{
    mMounted = runTool("mount", {"-o", "loop", mImage, mMountPoint}, mWhyNot);
    return mMounted;
}

bool LoopMount::unplug()
{
    QString error;
    const bool done = runTool("umount", {"-l", mMountPoint}, error);
    if (done)
        mMounted = false;
    return done;
}
