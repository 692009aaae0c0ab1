#include "sync/VideoRemuxer.h"
#include "app/LogScope.h"
#include "sync/Mp3Converter.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QStringList VideoRemuxer::arguments(const QString& aSource, const QString& aTarget)
{
    return {QStringLiteral("-i"),
            aSource,
            QStringLiteral("-f"),
            QStringLiteral("mp4"),
            QStringLiteral("-vcodec"),
            QStringLiteral("copy"),
            QStringLiteral("-acodec"),
            QStringLiteral("copy"),
            aTarget};
}

bool VideoRemuxer::remux(const QString& aSource, const QString& aTarget)
{
    LogScope log("VideoRemuxer::remux");
    QFile::remove(aTarget);
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.setStandardOutputFile(QProcess::nullDevice());
    ffmpeg.setStandardInputFile(QProcess::nullDevice());
    ffmpeg.start(Mp3Converter::program(), arguments(aSource, aTarget));
    if (!ffmpeg.waitForStarted()) {
        logMessage("! Could not start ffmpeg");
        return log.ret(false);
    }
    ffmpeg.waitForFinished(-1);
    logValue("ffmpeg exit code", ffmpeg.exitCode());
    return log.ret(ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0 &&
                   QFileInfo(aTarget).size() > 0);
}

bool VideoRemuxer::available()
{
    return !QStandardPaths::findExecutable(Mp3Converter::program()).isEmpty();
}
