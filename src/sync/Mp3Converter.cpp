#include "sync/Mp3Converter.h"

#include "app/ApplicationPaths.h"
#include "app/LogScope.h"
#include "tracks/Track.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

QStringList Mp3Converter::arguments(const QString& aSource, int aBitRate, const QString& aTarget)
{
    // -map_metadata 0 copies the tags of the input into the MP3.
    return {QStringLiteral("-i"),
            aSource,
            QStringLiteral("-y"),
            QStringLiteral("-ab"),
            QString::number(aBitRate) + QLatin1Char('k'),
            QStringLiteral("-map_metadata"),
            QStringLiteral("0"),
            aTarget};
}

bool Mp3Converter::convert(const Track& aTrack)
{
    LogScope log("Mp3Converter::convert");
    const QString target = aTrack.uploadSourcePath();
    QDir().mkpath(ApplicationPaths::kordaFolder());
    QFile::remove(target);
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.setStandardOutputFile(QProcess::nullDevice());
    ffmpeg.start(program(), arguments(aTrack.path(), aTrack.bitRate(), target));
    ffmpeg.setStandardInputFile(QProcess::nullDevice());
    if (!ffmpeg.waitForStarted()) {
        logMessage("! Could not start ffmpeg");
        return log.ret(false);
    }
    ffmpeg.waitForFinished(-1);
    logValue("ffmpeg exit code", ffmpeg.exitCode());
    const bool converted =
        ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0 && QFileInfo(target).size() > 0;
    if (!converted)
        QFile::remove(target);
    return log.ret(converted);
}
