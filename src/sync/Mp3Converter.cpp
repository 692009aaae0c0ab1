#include "sync/Mp3Converter.h"

#include "app/ApplicationPaths.h"
#include "app/LogScope.h"
#include "tracks/Track.h"

#include <QDir>
#include <QFile>
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

void Mp3Converter::convert(const Track& aTrack)
{
    LogScope log("Mp3Converter::convert");
    const QString target = aTrack.uploadSourcePath();
    QDir().mkpath(ApplicationPaths::kordaFolder());
    QFile::remove(target);
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.setStandardOutputFile(QProcess::nullDevice());
    ffmpeg.start(program(), arguments(aTrack.path(), aTrack.bitRate(), target));
    if (!ffmpeg.waitForStarted()) {
        logMessage("! Could not start ffmpeg");
        return;
    }
    ffmpeg.waitForFinished(-1);
    logValue("ffmpeg exit code", ffmpeg.exitCode());
}
